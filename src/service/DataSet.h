#pragma once
// The walk over the rows of a data set returned by the route service:
// Root / DataSet / diffgr:diffgram / NewDataSet / Table, one Table element per row.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/XmlDocument.h"

namespace tarvine::service {

// One column of a row: the child node's qualified name and its text. The name points into the
// document and is valid only while the row handler runs.
struct DataSetColumn {
  std::string_view name;
  std::string text;
};

// The child nodes of one Table element, in document order (repeated names included).
using DataSetRow = std::vector<DataSetColumn>;

// Receives each row; the row is reused for the next one, so copy what must outlive the call.
using RowHandler = std::function<void(const DataSetRow& row)>;

// Parses the text and hands every row to onRow in document order. Every node named exactly Root,
// DataSet, diffgr:diffgram, NewDataSet and Table at its level is walked; nodes of other names are
// skipped with their content. Empty, unparsable or differently shaped text gives no rows; never
// fails.
void ReadDataSetRows(std::string_view text, const RowHandler& onRow);

// The same walk over a document the caller has parsed already; a document whose parse failed
// gives no rows.
void ReadDataSetRows(const XmlDocument& document, const RowHandler& onRow);

// True when the parsed document is a data set: a Root element holding a DataSet element (with
// rows or none). False for a failed parse and for any other shape; never fails.
bool holdsDataSet(const XmlDocument& document);

}  // namespace tarvine::service
