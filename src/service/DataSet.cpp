#include "service/DataSet.h"

namespace tarvine::service {

namespace {

// Calls f(child) for each child of parent whose qualified name is exactly name.
template <typename F>
void forEachChildNamed(XmlNode parent, std::string_view name, F&& f) {
  forEachChild(parent, [&](XmlNode child) {
    if (child.name() == name) f(child);
  });
}

}  // namespace

void ReadDataSetRows(std::string_view text, const RowHandler& onRow) {
  XmlDocument document;
  document.loadXml(text);
  ReadDataSetRows(document, onRow);
}

void ReadDataSetRows(const XmlDocument& document, const RowHandler& onRow) {
  if (document.parseErrorCode() != 0) return;
  DataSetRow row;
  // Five fixed levels: the depth of the walk never depends on the input.
  forEachChildNamed(document.root(), "Root", [&](XmlNode root) {
    forEachChildNamed(root, "DataSet", [&](XmlNode dataSet) {
      forEachChildNamed(dataSet, "diffgr:diffgram", [&](XmlNode diffgram) {
        forEachChildNamed(diffgram, "NewDataSet", [&](XmlNode newDataSet) {
          forEachChildNamed(newDataSet, "Table", [&](XmlNode table) {
            row.clear();
            forEachChild(table, [&](XmlNode column) {
              row.push_back(DataSetColumn{column.name(), column.text()});
            });
            onRow(row);
          });
        });
      });
    });
  });
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
