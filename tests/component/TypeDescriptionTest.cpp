// The type description: identities, the method table and the record as the control keeps it
// (how names and class ids are matched: CApiTest).

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

}  // namespace
}  // namespace tarvine::component
