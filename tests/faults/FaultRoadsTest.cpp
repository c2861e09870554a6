// Every fault of the service on every road of the control: opening a load, switching the center,
// saving, adding an astray P.O. For each: no crash, the user is told what the control's rules
// say, no pick is lost, and the next request works normally.

#include <gmock/gmock.h>

#include "FaultFixture.h"
#include "RawHttpServer.h"
#include "astray/frmAstray.h"
#include "control/ErrorReport.h"

namespace tarvine::test {
namespace {

using ::testing::Contains;
using ::testing::Each;
using ::testing::IsEmpty;
using ::testing::Not;

constexpr const char* kSaved = "Outgoing load information has been updated successfully!!!";
constexpr const char* kAstrayAdded = "Astray item has been added to the list successfully!!!";
constexpr const char* kNotReceived = "This Purchase Order ID has not been received.";
// An astray P.O. of the demo data: received at a route center, on another load.
constexpr const char* kAstrayCenter = "12";
constexpr const char* kAstrayNumber = "34650";

// What a fault means for the control.
enum class Outcome {
  ExchangeFails,  // no whole reply: the transport reports it
  NotAnswered,    // a whole reply that does not answer the operation: the transport reports it
  AnsweredEmpty,  // the operation's response, holding nothing the control can read
  Readable,       // a reply the control reads as usual
};

struct FaultCase {
  const char* name;
  bool nothingListening;
  Fault fault;
};

// Names the case in test output.
void PrintTo(const FaultCase& c, std::ostream* os) {
  *os << c.name;
}

Outcome outcomeOf(const FaultCase& c) {
  if (c.nothingListening || failsExchange(c.fault)) return Outcome::ExchangeFails;
  if (c.fault == Fault::Utf16) return Outcome::Readable;
  if (c.fault == Fault::DeepNesting) return Outcome::AnsweredEmpty;
  return Outcome::NotAnswered;
}

class FaultRoads : public FaultTest, public ::testing::WithParamInterface<FaultCase> {
 protected:
  // Makes the operation's next exchanges meet the fault (or the whole service unreachable).
  void arm(const char* operation) {
    if (GetParam().nothingListening) {
      control.PutServerName(closedPort.url(""));
    } else {
      server->inject(operation, GetParam().fault);
    }
  }
  void disarm() {
    control.PutServerName(server->server());
    server->clear();
  }
  Outcome outcome() const { return outcomeOf(GetParam()); }
  bool answered() const {
    return outcome() == Outcome::Readable || outcome() == Outcome::AnsweredEmpty;
  }
  // The service ran the request although its reply is lost or garbled.
  bool requestRan() const { return !GetParam().nothingListening && runsRequest(GetParam().fault); }
  // Every report is a transport failure, and there is at least one.
  void expectTransportReports() {
    EXPECT_THAT(reportedProcedures(), Not(IsEmpty()));
    EXPECT_THAT(reportedProcedures(), Each(std::string("ReturnWebserviceXML")));
    const std::vector<std::string> prompts = messagePrompts();
    EXPECT_EQ(static_cast<std::size_t>(std::count(prompts.begin(), prompts.end(), kErrorPrompt)),
              reportedProcedures().size());
  }
  // No error report; with `silent`, no message at all.
  void expectNoErrorReport(bool silent = false) {
    EXPECT_THAT(reportedProcedures(), IsEmpty());
    EXPECT_THAT(messagePrompts(), Not(Contains(std::string(kErrorPrompt))));
    if (silent) {
      EXPECT_THAT(messagePrompts(), IsEmpty());
    }
  }
  // Reads of the load's orders: a save reads them before its update and reloads them after it.
  std::size_t orderReads() const {
    const std::vector<std::string> operations = server->operations();
    return static_cast<std::size_t>(
        std::count(operations.begin(), operations.end(), "GetOutgoingLoadAllOrders"));
  }
  // Rows of the order in the list, with their check state and change mark.
  std::vector<std::pair<bool, std::string>> rowsOf(const std::string& orderId) {
    std::vector<std::pair<bool, std::string>> rows;
    for (RowId row : list().order()) {
      if (list().row(row).text == orderId)
        rows.emplace_back(list().row(row).checked, list().subItem(row, 7));
    }
    return rows;
  }

  ClosedPort closedPort;
};

TEST_P(FaultRoads, OpeningALoad) {
  control.PutTarvineID(kDemoLoad);
  const std::size_t fullRows = list().rowCount();
  ASSERT_GT(fullRows, 0u);
  forget();

  arm("GetOutgoingLoadAllOrders");
  control.PutTarvineID(kDemoLoad);
  if (answered()) {
    expectNoErrorReport(true);
    EXPECT_EQ(list().rowCount(), outcome() == Outcome::Readable ? fullRows : 0u);
  } else {
    // An outage is never shown as a load without segments the user was not told about.
    expectTransportReports();
    EXPECT_EQ(list().rowCount(), 0u);
  }

  disarm();
  forget();
  control.PutTarvineID(kDemoLoad);
  expectNoErrorReport(true);
  EXPECT_EQ(list().rowCount(), fullRows);
}

TEST_P(FaultRoads, SwitchingTheCenter) {
  control.PutTarvineID(kDemoLoad);
  ASSERT_EQ(control.widgets().cboCenter.count(), 5);
  forget();

  arm("GetOutgoingLoadBasicTotal");
  control.widgets().cboCenter.userSelect(1);
  if (answered()) {
    expectNoErrorReport(true);
  } else {
    expectTransportReports();
  }
  // The totals come from the rows; the list is filled whatever the service said.
  EXPECT_EQ(control.selectedCenterID(), 12);
  EXPECT_EQ(list().rowCount(), recordsOfCenter(12));

  disarm();
  forget();
  control.widgets().cboCenter.userSelect(2);
  expectNoErrorReport(true);
  EXPECT_EQ(control.selectedCenterID(), 15);
  EXPECT_EQ(list().rowCount(), recordsOfCenter(15));
}

TEST_P(FaultRoads, Saving) {
  control.PutTarvineID(kDemoLoad);
  const std::size_t position = firstCheckedPosition();
  ASSERT_GT(position, 0u);
  const std::string orderId = list().row(list().rowAt(position)).text;
  const std::int64_t onLoad = segments(orderId);
  ASSERT_GT(onLoad, 0);
  list().userToggleCheck(position);  // takes the P.O. off the load
  forget();

  arm("UpdateOutgoingLoadOrder");
  control.widgets().cmdSave.userClick();
  if (!answered()) {
    expectTransportReports();
    EXPECT_FALSE(shown(kSaved));
    // Only the check before the update, which nothing listening fails already.
    EXPECT_EQ(orderReads(), GetParam().nothingListening ? 0u : 1u);
    EXPECT_EQ(segments(orderId), requestRan() ? 0 : onLoad);
    // The pick stays on screen, marked as changed, for the next save.
    EXPECT_THAT(rowsOf(orderId), Each(std::make_pair(false, std::string("1"))));

    disarm();
    forget();
    control.widgets().cmdSave.userClick();
  }
  expectNoErrorReport();
  EXPECT_TRUE(shown(kSaved));
  EXPECT_EQ(orderReads(), 2u);
  EXPECT_EQ(segments(orderId), 0);
  EXPECT_EQ(segments(orderId, "IS NULL"), onLoad);
  EXPECT_THAT(rowsOf(orderId), Each(std::make_pair(false, std::string("0"))));
}

TEST_P(FaultRoads, AddingAnAstrayPO) {
  control.PutTarvineID(kDemoLoad);
  const std::string astray = std::string(kAstrayCenter) + "-" + kAstrayNumber;
  ASSERT_EQ(segments(astray), 0);
  std::string keptPO1, keptPO2;
  dialogs.setFormHandler([&](Screen&) {
    const AstrayWidgets& w = control.astrayForm()->widgets();
    w.txtPO1.setText(kAstrayCenter);
    w.txtPO2.setText(kAstrayNumber);
    w.txtCartons.setText("3");
    w.txtFreight.setText("35.50");
    w.txtComments.setText("found on the dock");
    w.cmdAddAstrayItem.userClick();
    keptPO1 = w.txtPO1.text();
    keptPO2 = w.txtPO2.text();
  });
  forget();

  arm("AddAstrayPO");
  control.widgets().cmdAddAstrayItem.userClick();
  const bool ranBefore = requestRan();
  if (!answered()) {
    expectTransportReports();
    // Nothing listening fails the P.O. check already: the P.O. then counts as not received.
    EXPECT_EQ(shown(kNotReceived), GetParam().nothingListening);
    EXPECT_FALSE(shown(kAstrayAdded));
    EXPECT_EQ(keptPO1, kAstrayCenter);
    EXPECT_EQ(keptPO2, kAstrayNumber);
    EXPECT_EQ(orderReads(), 0u);
    EXPECT_EQ(segments(astray), ranBefore ? 1 : 0);

    disarm();
    forget();
    control.widgets().cmdAddAstrayItem.userClick();
  }
  expectNoErrorReport();
  EXPECT_TRUE(shown(kAstrayAdded));
  EXPECT_EQ(orderReads(), 1u);
  EXPECT_EQ(segments(astray), ranBefore && !answered() ? 2 : 1);
  EXPECT_THAT(rowsOf(astray), Not(IsEmpty()));
}

const FaultCase kFaultCases[] = {
    {"NothingListening", true, Fault::None},
    {"AcceptsAndNeverAnswers", false, Fault::Silent},
    {"AnswersSlowerThanTheTimeout", false, Fault::Slow},
    {"ClosesInTheMiddleOfTheBody", false, Fault::CloseMidBody},
    {"DeclaresALongerBody", false, Fault::ShortBody},
    {"ResetsTheConnection", false, Fault::Reset},
    {"ReplyOverTheSizeLimit", false, Fault::Oversized},
    {"HtmlErrorPage", false, Fault::HtmlError},
    {"SoapFault", false, Fault::SoapFault},
    {"InvalidUtf8", false, Fault::InvalidUtf8},
    {"Utf16WithByteOrderMark", false, Fault::Utf16},
    {"DeeplyNested", false, Fault::DeepNesting},
    {"TinyElements", false, Fault::TinyElements},
    {"OkWithAnEmptyBody", false, Fault::OkEmpty},
    {"OkWithAnHtmlPage", false, Fault::OkHtmlPage},
    {"OkWithGarbage", false, Fault::OkGarbage},
    {"OkGzipCompressed", false, Fault::OkGzip},
};

INSTANTIATE_TEST_SUITE_P(EveryFault, FaultRoads, ::testing::ValuesIn(kFaultCases),
                         [](const ::testing::TestParamInfo<FaultCase>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace tarvine::test
