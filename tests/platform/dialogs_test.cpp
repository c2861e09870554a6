#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Dialogs.h"
#include "platform/Screen.h"

namespace tarvine {
namespace {

TEST(RecordingDialogsTest, MessageBoxIsAnsweredOkAndRecorded) {
  RecordingDialogs dialogs;
  EXPECT_EQ(dialogs.messageBox("Saved!!!", kMsgInformationOk, std::string("Outgoing Load Save")),
            kMsgResultOk);
  EXPECT_EQ(dialogs.messageBox("Refused", kMsgInformationOk, std::nullopt), kMsgResultOk);
  const auto messages = dialogs.messages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].prompt, "Saved!!!");
  EXPECT_EQ(messages[0].buttons, kMsgInformationOk);
  EXPECT_EQ(messages[0].title, "Outgoing Load Save");
  EXPECT_FALSE(messages[1].title.has_value());
}

TEST(RecordingDialogsTest, InputBoxTakesQueuedAnswersThenCancels) {
  RecordingDialogs dialogs;
  dialogs.queueAnswer("1500");
  dialogs.queueCancel();
  dialogs.queueAnswer("");
  EXPECT_EQ(dialogs.inputBox("Freight?", "Outgoing Load", "12.00"), "1500");
  EXPECT_EQ(dialogs.inputBox("Freight?", "Outgoing Load", "12.00"), std::nullopt);
  EXPECT_EQ(dialogs.inputBox("Freight?", "Outgoing Load", "12.00"), "");
  EXPECT_EQ(dialogs.inputBox("Freight?", "Outgoing Load", "12.00"), std::nullopt);
  const auto inputs = dialogs.inputs();
  ASSERT_EQ(inputs.size(), 4u);
  EXPECT_EQ(inputs[0].defaultText, "12.00");
  EXPECT_EQ(inputs[0].title, "Outgoing Load");
  EXPECT_EQ(inputs[0].answer, "1500");
  EXPECT_FALSE(inputs[1].answer.has_value());
  EXPECT_FALSE(inputs[3].answer.has_value());
  EXPECT_TRUE(dialogs.messages().empty());
}

TEST(RecordingDialogsTest, ObserverSeesFormBeforeItsHandlerRuns) {
  RecordingDialogs dialogs;
  std::vector<std::string> events;
  dialogs.setObserver([&](const DialogShown& shown) {
    if (const auto* form = std::get_if<FormShown>(&shown))
      events.push_back("shown " + form->caption);
    if (const auto* input = std::get_if<InputBoxShown>(&shown)) {
      events.push_back("input " + input->answer.value_or("<cancel>"));
    }
    if (std::holds_alternative<MessageBoxShown>(shown)) events.push_back("message");
  });
  dialogs.setFormHandler([&](Screen& form) {
    events.push_back("handler " + form.caption());
    // A form may show further dialogs while it is open.
    dialogs.messageBox("P.O. not found", kMsgInformationOk, std::nullopt);
  });
  dialogs.queueAnswer("42");
  dialogs.inputBox("PO?", "t", "");
  Screen form("Astray P.O's", 4800, 3600);
  dialogs.showModal(form);
  EXPECT_EQ(events, (std::vector<std::string>{"input 42", "shown Astray P.O's",
                                              "handler Astray P.O's", "message"}));
  EXPECT_EQ(dialogs.shown().size(), 3u);
  dialogs.clearShown();
  EXPECT_TRUE(dialogs.shown().empty());
}

TEST(RecordingDialogsTest, FormWithoutHandlerClosesAtOnce) {
  RecordingDialogs dialogs;
  Screen form("Astray P.O's", 4800, 3600);
  dialogs.showModal(form);
  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_EQ(std::get<FormShown>(dialogs.shown()[0]).caption, "Astray P.O's");
}

}  // namespace
}  // namespace tarvine
