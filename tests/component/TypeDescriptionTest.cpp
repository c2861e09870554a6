// The type description: identities, the method table and the record as the control keeps it.

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "Golden.h"
#include "component/TypeDescription.h"

namespace tarvine::component {
namespace {

// Identities, dispatch ids, signatures and record fields, all at once.
TEST(TypeDescriptionTest, JsonCarriesTheWholeDescription) {
  test::expectGolden(nlohmann::json::parse(typeDescriptionJson()).dump(2) + "\n",
                     "type-description.json");
  EXPECT_EQ(methodById(0), nullptr);
  EXPECT_EQ(methodById(0x60030039), nullptr);
}

TEST(TypeDescriptionTest, ClassIdIsMatchedWithOrWithoutBracesInAnyCase) {
  EXPECT_TRUE(isClassId("{EA12B6FE-8FB7-4A59-9821-C8431AB93931}"));
  EXPECT_TRUE(isClassId("ea12b6fe-8fb7-4a59-9821-c8431ab93931"));
  EXPECT_FALSE(isClassId("{EA12B6FE-8FB7-4A59-9821-C8431AB93932}"));
  EXPECT_FALSE(isClassId("EA12B6FE-8FB7-4A59-9821-C8431AB93931}"));
  EXPECT_FALSE(isClassId(kLibraryId));
}

TEST(TypeDescriptionTest, NamesAreMatchedInAnyCaseButExactly) {
  for (const auto& [name, id] : std::vector<std::pair<std::string, std::optional<std::int32_t>>>{
           {"refreshdata", 0x60030038},
           {"PUTTARVINEID", 0x60030050},
           {"SetPersonInformation", 0x6003005b},
           {"RefreshData ", std::nullopt},
           {"", std::nullopt},
           {"ClearAll", std::nullopt},
           {"AllOrdersUDT", std::nullopt}}) {
    EXPECT_EQ(dispatchIdOfName(name), id) << name;
  }
}

}  // namespace
}  // namespace tarvine::component
