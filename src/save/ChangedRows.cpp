#include "save/ChangedRows.h"

#include <unordered_set>

#include "platform/Convert.h"
#include "save/Statements.h"

namespace tarvine {
namespace {

// The change mark of a row the dispatcher changed since the fill.
constexpr std::string_view kChanged = "1";
// P.O.s the unsaved work question names; the rest are counted.
constexpr std::size_t kNamedOrders = 5;

}  // namespace

std::vector<const ListRow*> changedRows(const ListView& list) {
  std::vector<const ListRow*> changed;
  for (RowId row : list.order()) {
    if (list.subItem(row, 7) == kChanged) changed.push_back(&list.row(row));
  }
  return changed;
}

UnsavedChanges unsavedChangesOf(const std::vector<const ListRow*>& changed) {
  UnsavedChanges changes;
  std::unordered_set<std::string_view> seen;
  changes.rows = changed.size();
  for (const ListRow* row : changed) {
    if (seen.insert(row->text).second) changes.orders.push_back(row->text);
  }
  return changes;
}

std::string unsavedWorkQuestion(const UnsavedChanges& changes, std::string_view action) {
  std::string text = "The changes to P.O. ";
  for (std::size_t i = 0; i < changes.orders.size() && i < kNamedOrders; ++i) {
    if (i > 0) text += ", ";
    text += changes.orders[i];
  }
  if (changes.orders.size() > kNamedOrders) {
    text += " and " + convert::integerText(changes.orders.size() - kNamedOrders) + " more";
  }
  text += " are not saved.\r\n\r\nSave them before ";
  text += action;
  return text + "?";
}

SaveStatements saveStatements(const std::vector<const ListRow*>& changed,
                              const SaveContext& context) {
  SaveStatements save;
  save.statements.reserve(2 * changed.size() + 1);
  save.written.reserve(changed.size());
  for (const ListRow* row : changed) {
    const std::string& segmentText = row->sub[1];
    const std::string& freightText = row->sub[5];
    const std::int16_t segment = convert::toInt16(segmentText);
    const std::int32_t centerID =
        context.selectedCenterID != 0 ? context.selectedCenterID : centerIDOfOrder(row->text);
    save.statements.push_back(updateStatement(row->checked, context.loadID, freightText, centerID,
                                              row->text, segmentText));
    save.written.push_back(WrittenSegment{row->text, segment, row->checked,
                                          convert::parseNumber(plainFreight(freightText))});
  }
  for (std::size_t i = 0; i < changed.size(); ++i) {
    const ListRow& row = *changed[i];
    const std::string loadedState = row.tag.substr(0, row.tag.find(';'));
    int code = 0;
    if (loadedState == "UnChecked" && row.checked) code = 2;
    if (loadedState == "Checked" && !row.checked) code = 5;
    if (code == 0) continue;
    save.statements.push_back(historyStatement(code, row.text, save.written[i].segment,
                                               context.personID, context.personTypeID));
  }
  save.statements.emplace_back();
  return save;
}

}  // namespace tarvine
