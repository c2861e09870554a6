// Every fault of the service on every road of the control: opening a load, switching the center,
// saving, adding an astray P.O.; each road once against the fault and once mended. The
// transcript (tests/golden/faults/FAULT.txt) shows after each what the user was told, what was
// logged, what the service was asked, the list and the database: no crash, no pick lost, an
// outage never shown as an empty load, and the next request works normally.

#include <functional>

#include "CaseName.h"
#include "FaultFixture.h"
#include "Golden.h"
#include "RawHttpServer.h"

namespace tarvine::test {
namespace {

// An astray P.O. of the demo data: received at a route center, on another load.
constexpr const char* kAstrayCenter = "12";
constexpr const char* kAstrayNumber = "34650";

inline constexpr const char* kAppError =
    "An application error has occured. Please check the error logs";

struct FaultCase {
  const char* name;
  bool nothingListening;
  Fault fault;
  // Per road (opening, switching, saving, adding): 'R' the answer is refused (the user is told
  // of an error, it is logged, picks and the form's text are kept), 'A' it is taken.
  const char* outcomes = "RRRR";
};

class FaultRoads : public FaultTest, public ::testing::WithParamInterface<FaultCase> {
 protected:
  // Runs the step against the fault on the operation (or with the whole service unreachable),
  // then, unless `until` holds already, once more mended; records the state after each.
  void road(
      const std::string& title, const char* operation, const std::function<void()>& step,
      const std::function<bool()>& until = [] { return false; }) {
    refused_ = GetParam().outcomes[roads_++] == 'R';
    forget();
    if (GetParam().nothingListening) {
      control.PutServerName(closedPort.url(""));
    } else {
      server->inject(operation, GetParam().fault);
    }
    transcript_ += "## " + title + "\n";
    step();
    transcript_ += state();
    EXPECT_EQ(shown(kAppError), refused_) << title;
    EXPECT_EQ(logged() > 0, refused_) << title;
    control.PutServerName(server->server());
    server->clear();
    if (until()) return;
    refused_ = false;
    forget();
    transcript_ += "## mended\n";
    step();
    transcript_ += state();
    EXPECT_FALSE(shown(kAppError)) << title << ", mended";
  }
  // Whether the step now runs against a fault that refuses its answer.
  bool refused_ = false;
  std::size_t roads_ = 0;

  // Rows of the order in the list, each as its check state and change mark.
  std::string rowsOf(const std::string& orderId) {
    std::string rows;
    for (RowId row : list().order()) {
      if (list().row(row).text == orderId) {
        rows += (list().row(row).checked ? " checked/" : " unchecked/") + list().subItem(row, 7);
      }
    }
    return orderId + ":" + rows + ", loads" + loadsOf(orderId) + "\n";
  }

  ClosedPort closedPort;
  std::string transcript_;
};

TEST_P(FaultRoads, KeepPicksAndTellTheUser) {
  road("opening the load", "GetOutgoingLoadAllOrders", [&] {
    control.PutTarvineID(kDemoLoad);
    EXPECT_EQ(list().rowCount(), refused_ ? 0u : 50u);
  });

  // The totals come from the rows; the list is filled whatever the service said.
  int center = 0;
  road("switching the center", "GetOutgoingLoadBasicTotal", [&] {
    control.widgets().cboCenter.userSelect(++center);
    std::size_t records = 0;
    for (std::size_t i = 0; i < filledCount(control.orders()); ++i) {
      records += control.orders()[i].CenterID == control.selectedCenterID();
    }
    transcript_ += "center " + std::to_string(control.selectedCenterID()) + " has " +
                   std::to_string(records) + " records\n";
  });

  control.PutTarvineID(kDemoLoad);
  const std::string orderId = list().row(list().rowAt(firstCheckedPosition())).text;
  list().userToggleCheck(firstCheckedPosition());  // takes the P.O. off the load
  const std::string loadsBefore = loadsOf(orderId);
  road(
      "saving " + orderId, "UpdateOutgoingLoadOrder",
      [&] {
        control.widgets().cmdSave.userClick();
        transcript_ += rowsOf(orderId);
        // A refused save keeps every change marked for the next Save; with nothing listening
        // the database is as it was.
        EXPECT_EQ(rowsOf(orderId).find(refused_ ? "/0" : "/1"), std::string::npos);
        if (refused_ && GetParam().nothingListening) {
          EXPECT_EQ(loadsOf(orderId), loadsBefore);
        }
        EXPECT_EQ(shown(kSaved), !refused_);
      },
      [&] { return shown(kSaved); });

  const std::string astray = std::string(kAstrayCenter) + "-" + kAstrayNumber;
  dialogs.setFormHandler([&](Screen&) {
    const AstrayWidgets& w = control.astrayForm()->widgets();
    w.txtPO1.setText(kAstrayCenter);
    w.txtPO2.setText(kAstrayNumber);
    w.txtCartons.setText("3");
    w.txtFreight.setText("35.50");
    w.txtComments.setText("found on the dock");
    dialogs.queueReply(kMsgResultYes);  // adds it though its other segments ride on load 5002
    w.cmdAddAstrayItem.userClick();
    transcript_ += "form keeps " + w.txtPO1.text() + "-" + w.txtPO2.text() + "\n";
    EXPECT_EQ(w.txtPO2.text(), refused_ ? kAstrayNumber : "");
  });
  road(
      "adding " + astray, "AddAstrayPO",
      [&] {
        control.widgets().cmdAddAstrayItem.userClick();
        transcript_ += rowsOf(astray);
      },
      [&] { return shown(kAstrayAdded); });
  expectGolden(transcript_, std::string("faults/") + GetParam().name + ".txt");
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
    {"Utf16WithByteOrderMark", false, Fault::Utf16, "AAAA"},
    {"DeeplyNested", false, Fault::DeepNesting, "RAAA"},
    {"TinyElements", false, Fault::TinyElements},
    {"OkWithAnEmptyBody", false, Fault::OkEmpty},
    {"OkWithAnHtmlPage", false, Fault::OkHtmlPage},
    {"OkWithGarbage", false, Fault::OkGarbage},
    {"OkGzipCompressed", false, Fault::OkGzip},
};

INSTANTIATE_TEST_SUITE_P(EveryFault, FaultRoads, ::testing::ValuesIn(kFaultCases), caseName);

}  // namespace
}  // namespace tarvine::test
