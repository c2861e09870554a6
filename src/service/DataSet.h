#pragma once
// The walk over the rows of a data set returned by the route service:
// Root / DataSet / diffgr:diffgram / NewDataSet / Table, one Table element per row.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/XmlDocument.h"

namespace tarvine::service {

// One column of a row: the child node's qualified name and its text, with the one more level of
// entity references that values carry inside a data set decoded (text::unescapeXml). Both point
// into the document (or into the walk's own memory for a text joined from several runs or
// decoded) and are valid only while the row handler runs.
struct DataSetColumn {
  std::string_view name;
  std::string_view text;
};

// The child nodes of one Table element, in document order (repeated names included).
using DataSetRow = std::vector<DataSetColumn>;

// Receives each row; the row is reused for the next one, so copy what must outlive the call.
using RowHandler = std::function<void(const DataSetRow& row)>;

// Parses a data set text into the document where it is, keeping each element's first run of
// text in the element (XmlTextRuns::FirstInElement), which halves the tree of a large data set.
// Text that is not well-formed leaves the document empty, which gives no rows. Throws
// RuntimeError 7 when the text is refused for its shape (XmlDocument), so that a hostile reply
// is reported rather than shown as a load without rows.
void loadDataSet(XmlDocument& document, std::string text);

// loadDataSet() and the walk below: hands every row to onRow in document order. Empty,
// unparsable or differently shaped text gives no rows.
void ReadDataSetRows(std::string text, const RowHandler& onRow);

// Hands every row of a parsed document to onRow in document order. Every node named exactly
// Root, DataSet, diffgr:diffgram, NewDataSet and Table at its level is walked; nodes of other
// names are skipped with their content. A document whose parse failed gives no rows; never
// fails.
void ReadDataSetRows(const XmlDocument& document, const RowHandler& onRow);

// The number of rows ReadDataSetRows() hands over for the parsed document; never fails.
std::size_t countDataSetRows(const XmlDocument& document);

// True when the parsed document is a data set: a Root element holding a DataSet element (with
// rows or none). False for a failed parse and for any other shape; never fails.
bool holdsDataSet(const XmlDocument& document);

}  // namespace tarvine::service
