#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Dialogs.h"
#include "platform/Screen.h"

namespace tarvine {
namespace {

TEST(RecordingDialogsTest, MessagesAreAnsweredOkAndInputsTakeQueuedAnswersThenCancel) {
  RecordingDialogs dialogs;
  EXPECT_EQ(dialogs.messageBox("Saved!!!", kMsgInformationOk, std::string("Outgoing Load Save")),
            kMsgResultOk);
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0].title, "Outgoing Load Save");
  dialogs.queueAnswer("1500");
  dialogs.queueCancel();
  dialogs.queueAnswer("");
  const std::vector<std::optional<std::string>> answers{"1500", std::nullopt, "", std::nullopt};
  for (const auto& answer : answers) {
    EXPECT_EQ(dialogs.inputBox("Freight?", "Outgoing Load", "12.00"), answer);
  }
  const auto inputs = dialogs.inputs();
  ASSERT_EQ(inputs.size(), 4u);
  EXPECT_EQ(inputs[0].defaultText, "12.00");
  EXPECT_EQ(inputs[0].answer, "1500");
  EXPECT_FALSE(inputs[3].answer.has_value());
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

}  // namespace
}  // namespace tarvine
