// Shared by the Qt tests: a QApplication on the offscreen platform, the reference route service
// with the demo data on 127.0.0.1, a script that answers modal dialogs, and helpers that click
// where a user would.
#pragma once

#include <gtest/gtest.h>

#include <QObject>
#include <QRect>
#include <QWidget>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "DemoRouteService.h"
#include "OrderPickWidget.h"
#include "QtDialogs.h"
#include "RunCommand.h"
#include "TemporaryFolder.h"
#include "control/TarvineOrderPick.h"
#include "platform/EventLog.h"

namespace tarvine::qt::test {

using TempDir = tarvine::test::TemporaryFolder;
using DemoService = tarvine::test::DemoRouteService;
using tarvine::test::runCommand;

// Answers the modal dialogs that the code under test opens, in order, and writes each one to a
// transcript as it answers it: its object name, title, text and the answer. It polls on a short
// timer, which also runs inside the dialogs' own event loops. A dialog that never comes fails the
// test after a bounded number of polls; every open dialog is then closed so that a broken test
// ends instead of hanging.
class ModalScript : public QObject {
 public:
  using Step = std::function<void(QWidget& dialog)>;
  ModalScript() = default;
  ~ModalScript() override { finish(); }
  // Adds a step for the next dialog.
  void expect(Step step) { steps_.push_back(std::move(step)); }
  // Adds a step per word for the next dialogs. A word's actions, separated by ';', are a message
  // box's button (Ok, Save, Discard, Cancel), Escape, Enter or Tab pressed (Tab notes where the
  // focus went), BOX=TEXT typed into a box, =TEXT typed into an input box and Enter, or a button's
  // name clicked. An action the dialog cannot take fails the test and closes the dialog.
  void answer(const std::string& words);
  // Starts answering; call before the action that opens the first dialog.
  void start();
  // Adds a line of the test's own to the transcript.
  void note(const std::string& line) { transcript_ += line + '\n'; }
  // What a Tab action notes after the name of the box it moved to, such as the focus that the
  // test's own model of the dialog holds.
  std::function<std::string()> afterTab = [] { return std::string(); };
  // Everything answered and noted so far, a line each.
  const std::string& transcript() const { return transcript_; }

 private:
  void poll();
  void finish();
  void act(QWidget& dialog, const std::string& action);

  std::deque<Step> steps_;
  std::string transcript_;
  bool active_ = false;
  bool activating_ = false;
  int pollsLeft_ = 0;
};

// Lets queued events (list refreshes, repaints) run.
void drainEvents();

// The child widget of that object name and type; fails the test when missing.
template <typename W>
W* child(QWidget& parent, const char* name) {
  W* found = parent.findChild<W*>(QString::fromLatin1(name));
  EXPECT_NE(found, nullptr) << "no " << name;
  return found;
}

// A size as "WxH" and a rectangle as "X,Y WxH", for transcripts.
std::string toText(const QSize& size);
std::string toText(const QRect& rect);

}  // namespace tarvine::qt::test
