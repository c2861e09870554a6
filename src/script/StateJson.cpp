#include "script/StateJson.h"

namespace tarvine::script {
namespace {

using nlohmann::json;

const char* alignmentName(Alignment alignment) {
  switch (alignment) {
    case Alignment::Right:
      return "right";
    case Alignment::Center:
      return "center";
    case Alignment::Left:
      break;
  }
  return "left";
}

json rowsJson(const ListView& list) {
  json rows = json::array();
  std::size_t position = 0;
  for (RowId id : list.order()) {
    ++position;
    const ListRow& row = list.row(id);
    json sub = json::array();
    for (const std::string& text : row.sub) sub.push_back(text);
    rows.push_back({{"text", row.text},
                    {"sub", std::move(sub)},
                    {"checked", row.checked},
                    {"tag", row.tag},
                    {"color", row.color ? json(*row.color) : json(nullptr)}});
  }
  return rows;
}

json astrayJson(const AstrayForm& form) {
  const AstrayWidgets& w = form.widgets();
  return {{"caption", form.screen().caption()}, {"txtPO1", w.txtPO1.text()},
          {"txtPO2", w.txtPO2.text()},          {"txtCartons", w.txtCartons.text()},
          {"txtFreight", w.txtFreight.text()},  {"txtComments", w.txtComments.text()},
          {"focus", form.screen().focus()}};
}

}  // namespace

json stateJson(const OrderPick& control, const AstrayForm* shownForm) {
  const ControlWidgets& w = control.widgets();
  const ListView& list = w.lvwOrderIDs;
  json centers = json::array();
  for (const ComboBox::Entry& entry : w.cboCenter.entries()) {
    centers.push_back(json::array({entry.text, entry.itemData}));
  }
  json columns = json::array();
  for (const ColumnHeader& column : list.columns()) {
    columns.push_back(json::array({column.caption, column.width, alignmentName(column.alignment)}));
  }
  std::size_t selected = 0;
  if (list.selected()) selected = list.positionOf(*list.selected());
  return {
      {"type", "state"},
      {"manifest", w.lblTarvineID.caption()},
      {"route", w.lblRoute.caption()},
      {"centers", std::move(centers)},
      {"centerIndex", w.cboCenter.listIndex()},
      {"selectAll", {{"value", w.chkSellectAll.value()}, {"enabled", w.chkSellectAll.enabled()}}},
      {"totals",
       json::array({w.lblTotal4.caption(), w.lblTotal5.caption(), w.lblTotal6.caption()})},
      {"columns", std::move(columns)},
      {"sort", {{"key", list.sortKey()}, {"sorted", list.sorted()}}},
      {"selected", selected},
      {"rows", rowsJson(list)},
      {"unsaved", control.unsavedChanges().rows},
      {"astray", shownForm ? astrayJson(*shownForm) : json(nullptr)}};
}

std::string jsonLine(const nlohmann::json& value) {
  return value.dump(-1, ' ', false, json::error_handler_t::replace);
}

}  // namespace tarvine::script
