// Adding an astray P.O. through the form.

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include "ControlFixture.h"
#include "astray/frmAstray.h"

namespace tarvine::test {
namespace {

struct Entry {
  Entry(std::string po1 = "", std::string po2 = "", std::string cartons = "",
        std::string freight = "0.00", std::string comments = "")
      : po1(std::move(po1)),
        po2(std::move(po2)),
        cartons(std::move(cartons)),
        freight(std::move(freight)),
        comments(std::move(comments)) {}
  std::string po1, po2, cartons, freight, comments;
};

class AstrayTest : public ControlTest {
 protected:
  AstrayTest() {
    openExampleLoad();
    received("12", "3");
  }
  void received(const std::string& center, const std::string& highest, const char* found = "1") {
    service.setRows(
        "IsPOFound",
        {{{"CenterID", center}, {"HighestSegmentNumber", highest}, {"IsPOFound", found}}});
  }
  // Opens the form, types the entry, clicks its button once and closes it.
  void addAstray(const Entry& entry) {
    dialogs.setFormHandler([&](Screen&) {
      const AstrayWidgets& w = control.astrayForm()->widgets();
      w.txtPO1.setText(entry.po1);
      w.txtPO2.setText(entry.po2);
      w.txtCartons.setText(entry.cartons);
      w.txtFreight.setText(entry.freight);
      w.txtComments.setText(entry.comments);
      formFocusBefore = control.astrayForm()->screen().focus();
      w.cmdAddAstrayItem.userClick();
      formAfter = {w.txtPO1.text(), w.txtPO2.text(), w.txtCartons.text(), w.txtFreight.text(),
                   w.txtComments.text()};
      focusAfter = control.astrayForm()->screen().focus();
    });
    control.widgets().cmdAddAstrayItem.userClick();
  }
  // The fields of the AddAstrayPO request, by element name.
  std::map<std::string, std::string> sentAstray() const {
    std::map<std::string, std::string> fields;
    for (const RecordedRequest& request : service.requests()) {
      if (request.operation != "AddAstrayPO") continue;
      pugi::xml_document document;
      document.load_string(request.body.c_str());
      const auto op = document.select_node("//*[local-name()='AddAstrayPO']").node();
      for (pugi::xml_node field : op.children()) fields[field.name()] = field.child_value();
    }
    return fields;
  }

  Entry formAfter;
  std::string formFocusBefore, focusAfter;
};

struct Refusal {
  const char* name;
  Entry entry;
  const char* message;
  const char* focus;
};

class AstrayRefusalTest : public AstrayTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(AstrayRefusalTest, RefusesWithItsMessageAndFocus) {
  if (std::string(GetParam().name) == "NotReceived") received("12", "3", "True");
  if (std::string(GetParam().name) == "CenterOffRoute") received("33", "3");
  addAstray(GetParam().entry);
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0].prompt, GetParam().message);
  EXPECT_EQ(dialogs.messages()[0].buttons, 64);
  EXPECT_FALSE(dialogs.messages()[0].title);
  EXPECT_EQ(focusAfter, GetParam().focus);
  EXPECT_TRUE(sentAstray().empty());
  EXPECT_EQ(formAfter.po1, GetParam().entry.po1);  // the entry stays for correction
}

INSTANTIATE_TEST_SUITE_P(
    Checks, AstrayRefusalTest,
    ::testing::Values(
        Refusal{"BlankFirstBox", {"", "345", "2"}, "PO text box has been left blank.", "txtPO1"},
        Refusal{"BlankSecondBox", {"12", "", "2"}, "PO text box has been left blank.", "txtPO2"},
        Refusal{"AlreadyListed",
                {"12", "100", "2"},
                "Purchase Order ID is already added in the list for this route.",
                "txtPO1"},
        Refusal{"NotReceived",
                {"12", "345", "2"},
                "This Purchase Order ID has not been received.",
                "txtPO1"},
        Refusal{"CenterOffRoute",
                {"33", "345", "2"},
                "This P.O's Center is not apart of this route.\r\nPlease add this center to this "
                "route and recreate a new load.",
                "txtPO1"},
        Refusal{"NoCartons",
                {"12", "345", ""},
                "Please enter number of cartons that were astray",
                "txtCartons"},
        Refusal{"CartonsNotNumeric",
                {"12", "345", "two"},
                "Number of cartons must be a numeric value. Please enter in a number.",
                "txtCartons"},
        Refusal{"FreightNotNumeric",
                {"12", "345", "2", ""},
                "Freight must be a numeric value. Please enter in a number.",
                "txtFreight"},
        Refusal{"CartonsTooMany",
                {"12", "345", "40000"},
                "Number of cartons is out of range. Please enter a number from -32768 to 32767.",
                "txtCartons"}),
    [](const auto& info) { return info.param.name; });

TEST_F(AstrayTest, AddsTheEntryAndRefreshesTheControl) {
  service.clearRequests();
  addAstray({" 12 ", " 345 ", "12.5", "17.25", "left at dock 4 & 5"});
  EXPECT_EQ(formFocusBefore, "txtPO1");
  const auto fields = sentAstray();
  EXPECT_EQ(fields.at("OrderID"), "12-345");
  EXPECT_EQ(fields.at("OrderSegment"), "3");
  EXPECT_EQ(fields.at("Cartons"), "12");
  EXPECT_EQ(fields.at("Freight"), "17.25");
  EXPECT_EQ(fields.at("OutgoingLoadID"), "5001");
  EXPECT_EQ(fields.at("Comment"), "left at dock 4 & 5");
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0].prompt, "Astray item has been added to the list successfully!!!");
  EXPECT_EQ(dialogs.messages()[0].title, "Astray Process");
  EXPECT_EQ(
      formAfter.po1 + formAfter.po2 + formAfter.cartons + formAfter.freight + formAfter.comments,
      "");
  EXPECT_EQ(focusAfter, "txtPO1");
  const auto operations = service.operations();
  EXPECT_EQ(std::vector<std::string>(operations.begin(), operations.begin() + 3),
            (std::vector<std::string>{"IsPOFound", "AddAstrayPO", "GetOutgoingLoadAllOrders"}));
  const auto isPOFound = service.requests()[0];
  EXPECT_EQ(isPOFound.soapAction, "http://tarvine.example/VOZARouteLocations/Service1/IsPOFound");
}

class CartonsRounding : public AstrayTest,
                        public ::testing::WithParamInterface<std::pair<const char*, const char*>> {
};

TEST_P(CartonsRounding, SendsTheRoundedNumber) {
  addAstray({"12", "345", GetParam().first});
  EXPECT_EQ(sentAstray().at("Cartons"), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(Texts, CartonsRounding,
                         ::testing::Values(std::pair{"12.5", "12"}, std::pair{"13.5", "14"},
                                           std::pair{"1e1", "10"}, std::pair{" 7 ", "7"}));

TEST_F(AstrayTest, ARefusedAddKeepsTheEntry) {
  service.setReply("AddAstrayPO", 500, service::test::soapFaultReply("segment 4 exists"));
  service.clearRequests();
  addAstray({"12", "345", "2"});
  EXPECT_EQ(messagePrompts(), std::vector<std::string>{
                                  "An application error has occured. Please check the error logs"});
  ASSERT_EQ(log.entries().size(), 1u);
  EXPECT_NE(log.entries()[0].find("Error Description - segment 4 exists\r\n"), std::string::npos);
  EXPECT_NE(log.entries()[0].find(" ReturnWebserviceXML\r\n"), std::string::npos);
  EXPECT_NE(log.entries()[0].find("Project Associated - TarvineOrderPick (frmAstray)"),
            std::string::npos);
  EXPECT_EQ(formAfter.po2, "345");
  EXPECT_EQ(service.operations(), (std::vector<std::string>{"IsPOFound", "AddAstrayPO"}));
}

// An error while reading the receipt check's reply means "not received", whatever the rows read
// before it said, and nothing is added.
using NamedReply = std::pair<const char*, std::vector<ReplyRow>>;
class ReceiptCheckError : public AstrayTest, public ::testing::WithParamInterface<NamedReply> {};

TEST_P(ReceiptCheckError, CountsAsNotReceived) {
  service.setRows("IsPOFound", GetParam().second);
  service.clearRequests();
  addAstray({"12", "345", "2"});
  EXPECT_EQ(messagePrompts(), (std::vector<std::string>{
                                  "An application error has occured. Please check the error logs",
                                  "This Purchase Order ID has not been received."}));
  ASSERT_EQ(log.entries().size(), 1u);
  EXPECT_NE(log.entries()[0].find(" IsPOFound\r\n"), std::string::npos);
  EXPECT_EQ(service.operations(), std::vector<std::string>{"IsPOFound"});
}

INSTANTIATE_TEST_SUITE_P(
    Replies, ReceiptCheckError,
    ::testing::Values(NamedReply{"CenterOutOfRange", {{{"IsPOFound", "1"}, {"CenterID", "40000"}}}},
                      NamedReply{
                          "SecondRowBad",
                          {{{"CenterID", "12"}, {"HighestSegmentNumber", "3"}, {"IsPOFound", "1"}},
                           {{"IsPOFound", "1"}, {"CenterID", "x"}}}}),
    [](const auto& info) { return std::string(info.param.first); });

TEST_F(AstrayTest, TheFormHasItsOwnPublicTransport) {
  addAstray({"12", "345", "2"});
  const std::size_t before = log.entries().size();
  EXPECT_EQ(control.astrayForm()->ReturnWebserviceXML("http://127.0.0.1:9/", "h", "a", "<a/>"), "");
  ASSERT_EQ(log.entries().size(), before + 1);
  EXPECT_NE(log.entries().back().find(
                " ReturnWebserviceXML\r\nProject Associated - TarvineOrderPick (frmAstray)"),
            std::string::npos);
}

TEST_F(AstrayTest, TheFormNeedsALoadThatFits16Bits) {
  RecordingDialogs freshDialogs;
  MemoryEventLog freshLog;
  TarvineOrderPick fresh(freshDialogs, freshLog);
  fresh.widgets().cmdAddAstrayItem.userClick();
  ASSERT_EQ(freshDialogs.messages().size(), 1u);
  EXPECT_EQ(freshDialogs.messages()[0].prompt,
            "Please select an outgoing load before adding astray P.O's.");
  EXPECT_EQ(fresh.astrayForm(), nullptr);

  control.PutTarvineID(40000);
  dialogs.clearShown();
  control.widgets().cmdAddAstrayItem.userClick();
  EXPECT_NE(log.entries().back().find(" cmdAddAstrayItem_Click()\r\n"), std::string::npos);
  for (const DialogShown& shown : dialogs.shown())
    EXPECT_FALSE(std::holds_alternative<FormShown>(shown));
}

TEST_F(AstrayTest, AReplyWithoutCenterKeepsTheEarlierOne) {
  addAstray({"12", "345", "2"});  // center 12 found
  service.setRows("IsPOFound", {{{"HighestSegmentNumber", "5"}, {"IsPOFound", "1"}}});
  service.clearRequests();
  dialogs.clearShown();
  addAstray({"12", "346", "2"});
  EXPECT_EQ(sentAstray().at("OrderSegment"), "5");
  EXPECT_EQ(control.astrayForm()->foundCenterID(), 12);
}

}  // namespace
}  // namespace tarvine::test
