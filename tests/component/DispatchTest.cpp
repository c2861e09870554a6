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

TEST_F(DispatchTest, TextParametersTakeNumbersAndBooleans) {
  invokeByName(control, "putservername", Args{std::string("http://127.0.0.1:9")});
  EXPECT_EQ(control.serverName(), "http://127.0.0.1:9");
  invoke(control, kDispSetFacilityID, Args{12.5});
  EXPECT_EQ(control.facilityID(), "12.5");
  invoke(control, kDispSetFacilityID, Args{true});
  EXPECT_EQ(control.facilityID(), "True");
  invoke(control, kDispSetPersonInformation, Args{std::int32_t{12}, std::string("3.5")});
  EXPECT_EQ(control.personID(), 12);
  EXPECT_EQ(control.personTypeID(), 4);
  invoke(control, kDispSetPersonInformation, Args{std::int16_t{0}, std::int16_t{-2}});
  EXPECT_EQ(control.personID(), 0);
  EXPECT_EQ(control.personTypeID(), -2);
}

TEST_F(DispatchTest, ResultsOfTheMethods) {
  EXPECT_EQ(typeOf(invoke(control, kDispPutServerName, Args{std::string("x")})), VarType::Empty);
  EXPECT_EQ(typeOf(invoke(control, kDispSetFacilityID, Args{std::string("x")})), VarType::Empty);
}

TEST_F(DispatchTest, ALoadIdArrivesAsTextAndIsRoundedToEven) {
  // The server refuses at once; the load is stored before the first request fails.
  invoke(control, kDispPutServerName, Args{std::string("http://127.0.0.1:1")});
  invoke(control, kDispPutTarvineID, Args{std::string("5001.5")});
  EXPECT_EQ(control.outgoingLoadID(), 5002);
  invoke(control, kDispPutTarvineID, Args{true});
  EXPECT_EQ(control.outgoingLoadID(), -1);
}

TEST_F(DispatchTest, TheMethodsOwnErrorComesBackAsAnException) {
  try {
    invoke(control, kDispSetPersonInformation, Args{std::string("7"), std::string("70000")});
    FAIL() << "no error";
  } catch (const DispatchError& error) {
    EXPECT_EQ(error.code(), DispatchCode::Exception);
    EXPECT_EQ(error.number(), 6);
    EXPECT_EQ(error.description(), "Overflow");
    EXPECT_EQ(error.source(), "prjTarvineActiveX");
    EXPECT_EQ(error.argIndex(), -1);
  }
  EXPECT_EQ(control.personID(), 7);  // the first one was stored before the second failed
}

// The optional UpdateAddDeleteOnly: left off, missing or false the reply is read; true (also
// as text or a number) sends an update whose reply is not read.
TEST_F(DispatchTest, OptionalUpdateFlag) {
  test::RawHttpServer server(test::RawReply::full(test::httpResponse(200, "<r>1</r>")));
  auto call = [&](Args tail) {
    Args args{server.url("/s.asmx"), std::string("127.0.0.1"), std::string("urn:a"),
              std::string("<a/>")};
    args.insert(args.end(), tail.begin(), tail.end());
    const Variant result = invoke(control, kDispReturnWebserviceXML, args);
    EXPECT_EQ(typeOf(result), VarType::Text);
    return std::get<std::string>(result);
  };
  EXPECT_NE(call({}).find("<r>1</r>"), std::string::npos);
  EXPECT_NE(call({Missing{}}).find("<r>1</r>"), std::string::npos);
  EXPECT_NE(call({std::string("False")}).find("<r>1</r>"), std::string::npos);
  EXPECT_NE(call({std::monostate{}}).find("<r>1</r>"), std::string::npos);
  EXPECT_EQ(call({true}), "");
  EXPECT_EQ(call({std::string("true")}), "");
  EXPECT_EQ(call({std::int32_t{-1}}), "");
  EXPECT_EQ(server.requestCount(), 7u);
  EXPECT_TRUE(dialogs.messages().empty());
}

struct LateBoundCase {
  DispatchError failure;
  std::int32_t number;
};

TEST(LateBoundErrorTest, FailuresBecomeTheRunTimeErrorsOfALateBoundCall) {
  const std::vector<LateBoundCase> cases = {
      {DispatchError(DispatchCode::UnknownName, "x"), 438},
      {DispatchError(DispatchCode::MemberNotFound, "x"), 438},
      {DispatchError(DispatchCode::BadParamCount, "x"), 450},
      {DispatchError(DispatchCode::ParamNotOptional, "x", 0), 449},
      {DispatchError(DispatchCode::TypeMismatch, "x", 0), 13},
      {DispatchError(DispatchCode::Overflow, "x", 0), 6},
      {DispatchError(DispatchCode::Exception, "Custom", -1, 91, "src"), 91},
  };
  for (const LateBoundCase& c : cases) {
    EXPECT_EQ(lateBoundError(c.failure).number(), c.number) << c.failure.description();
  }
  EXPECT_EQ(lateBoundError(cases.back().failure).source(), "src");
  EXPECT_EQ(lateBoundError(cases.back().failure).description(), "Custom");
}

TEST_F(DispatchTest, TheFaceCallsByNameAndRaisesForWhatItCannotCall) {
  DispatchFace face(control);
  EXPECT_THROW(
      {
        try {
          face.invokeByName("Frobnicate");
        } catch (const RuntimeError& error) {
          EXPECT_EQ(error.number(), 438);
          EXPECT_EQ(error.description(), "Object doesn't support this property or method");
          throw;
        }
      },
      RuntimeError);
  try {
    face.invokeByName("PutServerName");
    FAIL() << "no error";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.number(), 450);
  }
  face.invokeByName("REFRESHDATA");  // no load yet: reports its failed request, raises nothing
  EXPECT_EQ(face.calls(), 3u);
}

}  // namespace
}  // namespace tarvine::component
