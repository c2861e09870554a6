#include "save/ChangedRows.h"

#include <unordered_set>

#include "platform/Convert.h"
#include "save/Statements.h"

namespace tarvine {
namespace {

// P.O.s the unsaved work question names; the rest are counted.
constexpr std::size_t kNamedOrders = 5;

}  // namespace

std::vector<const ListRow*> changedRows(const ListView& list) {
  std::vector<const ListRow*> changed;
  for (RowId row : list.order()) {
    if (hasChangeMark(list.row(row))) changed.push_back(&list.row(row));
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
    const std::string_view loadedState = std::string_view(row->tag).substr(0, row->tag.find(';'));
    std::optional<bool> loadedOnLoad;
    if (loadedState == "Checked") loadedOnLoad = true;
    if (loadedState == "UnChecked") loadedOnLoad = false;
    save.written.push_back(WrittenSegment{row->text, segment, row->checked,
                                          convert::parseNumber(plainFreight(freightText)),
                                          loadedOnLoad});
  }
  return save;
}

void appendHistory(SaveStatements& save, const SaveContext& context,
                   const std::vector<std::optional<bool>>& onLoad) {
  for (std::size_t i = 0; i < save.written.size(); ++i) {
    const WrittenSegment& written = save.written[i];
    std::optional<bool> before = written.loadedOnLoad;
    if (before && i < onLoad.size() && onLoad[i]) before = onLoad[i];
    if (!before || *before == written.onLoad) continue;
    save.statements.push_back(historyStatement(written.onLoad ? 2 : 5, written.orderID,
                                               written.segment, context.personID,
                                               context.personTypeID));
  }
  save.statements.emplace_back();
}

}  // namespace tarvine
