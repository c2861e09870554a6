// Calls through the dispatch interface: coerced arguments reach the methods and late-bound
// failures become run-time errors (bad calls: CApiTest, through the C interface).

#include <gtest/gtest.h>

#include <vector>

#include "RawHttpServer.h"
#include "component/Dispatch.h"
#include "control/TarvineOrderPick.h"

namespace tarvine::component {
namespace {

using Args = std::vector<Variant>;

class DispatchTest : public ::testing::Test {
 protected:
  RecordingDialogs dialogs;
  MemoryEventLog log;
  TarvineOrderPick control{dialogs, log};
};

TEST_F(DispatchTest, CoercedArgumentsReachTheMethods) {
  invokeByName(control, "putservername", Args{std::string("http://127.0.0.1:1")});
  EXPECT_EQ(control.serverName(), "http://127.0.0.1:1");
  invoke(control, kDispSetFacilityID, Args{true});
  EXPECT_EQ(control.facilityID(), "True");
  invoke(control, kDispSetPersonInformation, Args{std::int32_t{12}, std::string("3.5")});
  EXPECT_EQ(control.personID(), 12);
  EXPECT_EQ(control.personTypeID(), 4);
  // The server refuses at once; the load is stored before the first request fails.
  invoke(control, kDispPutTarvineID, Args{std::string("5001.5")});
  EXPECT_EQ(control.outgoingLoadID(), 5002);
}

// The optional UpdateAddDeleteOnly: left off, missing or false the reply is read; true (also
// as text or a number) sends an update whose reply is not read.
TEST_F(DispatchTest, OptionalUpdateFlag) {
  test::RawHttpServer server(test::RawReply::full(test::httpResponse(200, "<r>1</r>")));
  const std::vector<std::pair<Args, bool>> cases = {
      {{}, true},      {{Missing{}}, true},         {{std::string("False")}, true},
      {{true}, false}, {{std::int32_t{-1}}, false}, {{std::string("true")}, false}};
  for (const auto& [tail, read] : cases) {
    Args args{server.url("/s.asmx"), std::string("127.0.0.1"), std::string("urn:a"),
              std::string("<a/>")};
    args.insert(args.end(), tail.begin(), tail.end());
    const std::string result =
        std::get<std::string>(invoke(control, kDispReturnWebserviceXML, args));
    EXPECT_EQ(result.find("<r>1</r>") != std::string::npos, read) << result;
  }
  EXPECT_EQ(server.requestCount(), cases.size());
  EXPECT_TRUE(dialogs.messages().empty());
}

TEST(LateBoundErrorTest, FailuresBecomeTheRunTimeErrorsOfALateBoundCall) {
  const std::vector<std::pair<DispatchError, std::int32_t>> cases = {
      {DispatchError(DispatchCode::UnknownName, "x"), 438},
      {DispatchError(DispatchCode::MemberNotFound, "x"), 438},
      {DispatchError(DispatchCode::BadParamCount, "x"), 450},
      {DispatchError(DispatchCode::ParamNotOptional, "x", 0), 449},
      {DispatchError(DispatchCode::TypeMismatch, "x", 0), 13},
      {DispatchError(DispatchCode::Overflow, "x", 0), 6},
      {DispatchError(DispatchCode::Exception, "Custom", -1, 91, "src"), 91},
  };
  for (const auto& [failure, number] : cases) {
    EXPECT_EQ(lateBoundError(failure).number(), number) << failure.description();
  }
  EXPECT_EQ(lateBoundError(cases.back().first).source(), "src");
  EXPECT_EQ(lateBoundError(cases.back().first).description(), "Custom");
}

TEST_F(DispatchTest, TheFaceCallsByNameAndRaisesForWhatItCannotCall) {
  DispatchFace face(control);
  for (const auto& [name, number] : {std::pair{"Frobnicate", 438}, {"PutServerName", 450}}) {
    try {
      face.invokeByName(name);
      ADD_FAILURE() << name;
    } catch (const RuntimeError& error) {
      EXPECT_EQ(error.number(), number);
      if (number == 438) {
        EXPECT_EQ(error.description(), "Object doesn't support this property or method");
      }
    }
  }
  face.invokeByName("REFRESHDATA");  // no load yet: reports its failed request, raises nothing
  EXPECT_EQ(face.calls(), 3u);
}

}  // namespace
}  // namespace tarvine::component
