// The type description: identities, the method table and the record as the control keeps it.

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <type_traits>

#include "component/TypeDescription.h"
#include "load/AllOrdersUDT.h"

namespace tarvine::component {
namespace {

using nlohmann::json;

TEST(TypeDescriptionTest, LibraryAndClassIdentity) {
  const TypeLibraryDesc& library = typeLibrary();
  EXPECT_EQ(library.name, "prjTarvineActiveX");
  EXPECT_EQ(library.majorVersion, 2);
  EXPECT_EQ(library.minorVersion, 0);
  EXPECT_EQ(library.locale, 0x409u);
  EXPECT_EQ(library.id, "{28B2433C-EBC9-4B44-941A-F4B0193B378F}");
  EXPECT_EQ(library.classId, "{EA12B6FE-8FB7-4A59-9821-C8431AB93931}");
  EXPECT_EQ(library.dispatch.name, "_TarvineOrderPick");
  EXPECT_EQ(library.dispatch.id, "{4EF0B256-157F-4924-BA21-B73B4D134DEA}");
  EXPECT_EQ(library.events.name, "__TarvineOrderPick");
  EXPECT_EQ(library.events.id, "{4BC9B089-BD3A-4D75-8C30-BA857FA3D7D5}");
  EXPECT_TRUE(library.events.methods.empty());
  EXPECT_EQ(library.recordName, "AllOrdersUDT");
  EXPECT_EQ(library.recordId, "{F75CCF0E-264A-41E4-BEC7-DEC39DB600B3}");
}

TEST(TypeDescriptionTest, ClassIdIsMatchedWithOrWithoutBracesInAnyCase) {
  EXPECT_TRUE(isClassId("{EA12B6FE-8FB7-4A59-9821-C8431AB93931}"));
  EXPECT_TRUE(isClassId("ea12b6fe-8fb7-4a59-9821-c8431ab93931"));
  EXPECT_TRUE(isClassId("{ea12b6fe-8fb7-4a59-9821-C8431AB93931}"));
  EXPECT_FALSE(isClassId("{EA12B6FE-8FB7-4A59-9821-C8431AB93932}"));
  EXPECT_FALSE(isClassId("EA12B6FE-8FB7-4A59-9821-C8431AB93931}"));
  EXPECT_FALSE(isClassId(""));
  EXPECT_FALSE(isClassId(kLibraryId));
}

// The record's description follows the struct the control fills, field for field.
TEST(TypeDescriptionTest, RecordFieldsFollowTheControlsRecord) {
  using R = AllOrdersUDT;
  static_assert(std::is_same_v<decltype(R::OrderID), std::string>);
  static_assert(std::is_same_v<decltype(R::Checked), bool>);
  static_assert(std::is_same_v<decltype(R::Segment), std::int16_t>);
  static_assert(std::is_same_v<decltype(R::Weight), double>);
  static_assert(std::is_same_v<decltype(R::TotalFactoryWeight), std::int32_t>);
  static_assert(std::is_same_v<decltype(R::HotItem), std::int16_t>);
  static_assert(std::is_same_v<decltype(R::NoRate), bool>);
  const std::vector<std::pair<std::string_view, VarType>> expected = {
      {"OrderID", VarType::Text},     {"Checked", VarType::Bool},
      {"CubicFeet", VarType::Text},   {"Segment", VarType::I2},
      {"Received", VarType::Text},    {"Cartons", VarType::I2},
      {"Weight", VarType::R8},        {"Freight", VarType::R8},
      {"CenterID", VarType::I2},      {"IndexValue", VarType::I2},
      {"MinimumCharge", VarType::R8}, {"TotalFactoryWeight", VarType::I4},
      {"TotalRate", VarType::R8},     {"TotalSuggestedFreight", VarType::R8},
      {"HotItem", VarType::I2},       {"OverrideFreight", VarType::I2},
      {"NoRate", VarType::Bool},
  };
  const auto& fields = typeLibrary().recordFields;
  ASSERT_EQ(fields.size(), expected.size());
  for (std::size_t i = 0; i < fields.size(); ++i) {
    EXPECT_EQ(fields[i].name, expected[i].first) << i;
    EXPECT_EQ(fields[i].type, expected[i].second) << fields[i].name;
  }
}

TEST(TypeDescriptionTest, MethodSignatures) {
  const MethodDesc* soap = methodById(kDispReturnWebserviceXML);
  ASSERT_NE(soap, nullptr);
  ASSERT_EQ(soap->params.size(), 5u);
  EXPECT_EQ(soap->result, VarType::Text);
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(soap->params[i].type, VarType::Text);
    EXPECT_FALSE(soap->params[i].optional);
  }
  EXPECT_EQ(soap->params[4].name, "UpdateAddDeleteOnly");
  EXPECT_EQ(soap->params[4].type, VarType::Bool);
  EXPECT_TRUE(soap->params[4].optional);
  EXPECT_EQ(methodById(kDispPutTarvineID)->params.at(0).type, VarType::I4);
  EXPECT_EQ(methodById(kDispSetPersonInformation)->params.size(), 2u);
  EXPECT_TRUE(methodById(kDispRefreshData)->params.empty());
  EXPECT_EQ(methodById(kDispPutServerName)->result, VarType::Variant);
  EXPECT_EQ(methodById(kDispSetFacilityID)->result, VarType::Empty);
  EXPECT_EQ(methodById(0), nullptr);
  EXPECT_EQ(methodById(0x60030039), nullptr);
}

struct NameCase {
  std::string name;
  std::optional<std::int32_t> id;
};

class DispatchNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(DispatchNameTest, NameGivesItsDispatchId) {
  EXPECT_EQ(dispatchIdOfName(GetParam().name), GetParam().id);
  if (GetParam().id) {
    EXPECT_NE(methodById(*GetParam().id), nullptr);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Names, DispatchNameTest,
    ::testing::Values(NameCase{"RefreshData", 0x60030038}, NameCase{"refreshdata", 0x60030038},
                      NameCase{"REFRESHDATA", 0x60030038}, NameCase{"PutServerName", 0x60030040},
                      NameCase{"PutTarvineID", 0x60030050}, NameCase{"puttarvineid", 0x60030050},
                      NameCase{"ReturnWebserviceXML", 0x60030059},
                      NameCase{"SetFacilityID", 0x6003005a},
                      NameCase{"SetPersonInformation", 0x6003005b},
                      NameCase{"Refresh", std::nullopt}, NameCase{"RefreshData ", std::nullopt},
                      NameCase{"", std::nullopt}, NameCase{"ClearAll", std::nullopt},
                      NameCase{"AllOrdersUDT", std::nullopt}));

TEST(TypeDescriptionTest, JsonCarriesTheWholeDescription) {
  const json description = json::parse(typeDescriptionJson());
  EXPECT_EQ(description["library"]["version"], "2.0");
  EXPECT_EQ(description["library"]["locale"], 1033);
  EXPECT_EQ(description["class"]["id"], kClassId);
  const json& methods = description["interfaces"][0]["methods"];
  ASSERT_EQ(methods.size(), 6u);
  EXPECT_EQ(methods[3]["name"], "ReturnWebserviceXML");
  EXPECT_EQ(methods[3]["dispid"], 0x60030059);
  EXPECT_EQ(methods[3]["params"][4]["optional"], true);
  EXPECT_TRUE(description["interfaces"][1]["methods"].empty());
  const json& fields = description["records"][0]["fields"];
  ASSERT_EQ(fields.size(), 17u);
  EXPECT_EQ(fields[11], (json{{"name", "TotalFactoryWeight"}, {"type", "I4"}}));
}

}  // namespace
}  // namespace tarvine::component
