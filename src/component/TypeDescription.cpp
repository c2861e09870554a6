#include "component/TypeDescription.h"

#include "platform/Text.h"

namespace tarvine::component {
namespace {

TypeLibraryDesc buildTypeLibrary() {
  using enum VarType;
  TypeLibraryDesc library{
      .name = "prjTarvineActiveX",
      .id = kLibraryId,
      .majorVersion = 2,
      .minorVersion = 0,
      .locale = 0x409,
      .className = "TarvineOrderPick",
      .classId = kClassId,
      .progId = "prjTarvineActiveX.TarvineOrderPick",
      .dispatch = {"_TarvineOrderPick", kDispatchInterfaceId, {}},
      .events = {"__TarvineOrderPick", kEventInterfaceId, {}},
      .recordName = "AllOrdersUDT",
      .recordId = kRecordId,
      .recordFields = {},
  };
  library.dispatch.methods = {
      {kDispRefreshData, "RefreshData", {}, Empty},
      {kDispPutServerName, "PutServerName", {{"ptServerName", Text}}, Variant},
      {kDispPutTarvineID, "PutTarvineID", {{"plTarvineID", I4}}, Variant},
      {kDispReturnWebserviceXML,
       "ReturnWebserviceXML",
       {{"AsmxUrl", Text},
        {"Host", Text},
        {"SOAPAction", Text},
        {"SOAPEnvelope", Text},
        {"UpdateAddDeleteOnly", Bool, true}},
       Text},
      {kDispSetFacilityID, "SetFacilityID", {{"FacilityIDPassed", Text}}, Empty},
      {kDispSetPersonInformation,
       "SetPersonInformation",
       {{"PersonIDPassed", Text}, {"PersonTypeIDPassed", Text}},
       Empty},
  };
  // The fields of the record the control keeps, in their order; TotalFactoryWeight is 32-bit
  // because a truck's total weight exceeds 16 bits.
  library.recordFields = {
      {"OrderID", Text},     {"Checked", Bool},
      {"CubicFeet", Text},   {"Segment", I2},
      {"Received", Text},    {"Cartons", I2},
      {"Weight", R8},        {"Freight", R8},
      {"CenterID", I2},      {"IndexValue", I2},
      {"MinimumCharge", R8}, {"TotalFactoryWeight", I4},
      {"TotalRate", R8},     {"TotalSuggestedFreight", R8},
      {"HotItem", I2},       {"OverrideFreight", I2},
      {"NoRate", Bool},
  };
  return library;
}

}  // namespace

std::string_view typeName(VarType type) {
  switch (type) {
    case VarType::Empty:
      return "Empty";
    case VarType::I2:
      return "I2";
    case VarType::I4:
      return "I4";
    case VarType::R8:
      return "R8";
    case VarType::Text:
      return "Text";
    case VarType::Missing:
      return "Missing";
    case VarType::Bool:
      return "Bool";
    case VarType::Variant:
      return "Variant";
  }
  return "Unknown";
}

const TypeLibraryDesc& typeLibrary() {
  static const TypeLibraryDesc library = buildTypeLibrary();
  return library;
}

const MethodDesc* methodById(std::int32_t dispatchId) {
  for (const MethodDesc& method : typeLibrary().dispatch.methods) {
    if (method.dispatchId == dispatchId) return &method;
  }
  return nullptr;
}

std::optional<std::int32_t> dispatchIdOfName(std::string_view name) {
  for (const MethodDesc& method : typeLibrary().dispatch.methods) {
    if (text::equalsIgnoringCase(method.name, name)) return method.dispatchId;
  }
  return std::nullopt;
}

bool isClassId(std::string_view text) {
  const bool braced = text.size() == kClassId.size();
  return text::equalsIgnoringCase(text,
                                  braced ? kClassId : kClassId.substr(1, kClassId.size() - 2));
}

}  // namespace tarvine::component
