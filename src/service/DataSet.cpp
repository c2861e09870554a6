#include "service/DataSet.h"

#include <deque>
#include <optional>

#include "platform/RuntimeError.h"
#include "platform/Text.h"

namespace tarvine::service {

namespace {

// Calls f(child) for each child of parent whose qualified name is exactly name.
template <typename F>
void forEachChildNamed(XmlNode parent, std::string_view name, F&& f) {
  forEachChild(parent, [&](XmlNode child) {
    if (child.name() == name) f(child);
  });
}

// Calls f(table) for every row element of a parsed data set, in document order. Five fixed
// levels: the depth of the walk never depends on the input.
template <typename F>
void forEachTable(const XmlDocument& document, F&& f) {
  forEachChildNamed(document.root(), "Root", [&](XmlNode root) {
    forEachChildNamed(root, "DataSet", [&](XmlNode dataSet) {
      forEachChildNamed(dataSet, "diffgr:diffgram", [&](XmlNode diffgram) {
        forEachChildNamed(diffgram, "NewDataSet",
                          [&](XmlNode newDataSet) { forEachChildNamed(newDataSet, "Table", f); });
      });
    });
  });
}

}  // namespace

void loadDataSet(XmlDocument& document, std::string text) {
  if (!document.loadXmlInPlace(std::move(text), XmlTextRuns::FirstInElement) &&
      document.refusedForShape()) {
    throw RuntimeError(7, "The data set was refused: " + document.parseErrorReason());
  }
}

void ReadDataSetRows(std::string text, const RowHandler& onRow) {
  XmlDocument document;
  loadDataSet(document, std::move(text));
  ReadDataSetRows(document, onRow);
}

void ReadDataSetRows(const XmlDocument& document, const RowHandler& onRow) {
  if (document.parseErrorCode() != 0) return;
  DataSetRow row;
  // Texts of columns that hold more than one run, joined; a deque keeps them in place while
  // the row grows.
  std::deque<std::string> joined;
  forEachTable(document, [&](XmlNode table) {
    row.clear();
    joined.clear();
    // A first run of text kept in the row element is the row's first child node.
    if (const std::string_view loose = table.leadingText(); !loose.empty()) {
      row.push_back(DataSetColumn{"#text", loose});
    }
    forEachChild(table, [&](XmlNode column) {
      const std::optional<std::string_view> text = column.textInPlace();
      std::string_view value = text ? *text : joined.emplace_back(column.text());
      // A value is escaped once more inside the escaped data set: that level is decoded
      // here, so that "12-P&amp;O" reads "12-P&O", as the back office holds it.
      if (value.find('&') != std::string_view::npos) {
        value = joined.emplace_back(text::unescapeXml(value));
      }
      row.push_back(DataSetColumn{column.name(), value});
    });
    onRow(row);
  });
}

std::size_t countDataSetRows(const XmlDocument& document) {
  std::size_t rows = 0;
  if (document.parseErrorCode() == 0) forEachTable(document, [&](XmlNode) { ++rows; });
  return rows;
}

bool holdsDataSet(const XmlDocument& document) {
  if (document.parseErrorCode() != 0) return false;
  bool found = false;
  forEachChildNamed(document.root(), "Root", [&](XmlNode root) {
    forEachChildNamed(root, "DataSet", [&](XmlNode) { found = true; });
  });
  return found;
}

}  // namespace tarvine::service
