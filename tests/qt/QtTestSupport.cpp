#include "QtTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTimer>
#include <QtTest/QTest>
#include <map>
#include <sstream>

#include "WindowWaiting.h"

namespace tarvine::qt::test {
namespace {

constexpr int kPollMilliseconds = 10;
// About 30 seconds of polls: far more than any dialog of the tests takes to appear.
constexpr int kMaxPolls = 3000;

int runningScripts = 0;

// The QApplication of every Qt test, on the offscreen platform. A modal dialog that no script
// expects fails the test and is rejected, so that a test never waits for a person.
class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "tarvine_qt_test";
    static char* argv[] = {name, nullptr};
    application_ = std::make_unique<QApplication>(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TarvineOrderPick"));
    guard_ = std::make_unique<QTimer>();
    QObject::connect(guard_.get(), &QTimer::timeout, [] {
      if (runningScripts > 0 || WindowWaiting::anyWaiting()) return;
      if (QWidget* modal = QApplication::activeModalWidget()) {
        ADD_FAILURE() << "an unexpected dialog " << modal->objectName().toStdString() << " ("
                      << modal->windowTitle().toStdString() << ") was open";
        modal->close();
      }
    });
    guard_->start(100);
  }
  void TearDown() override {
    guard_.reset();
    application_.reset();
  }

 private:
  std::unique_ptr<QApplication> application_;
  std::unique_ptr<QTimer> guard_;
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace

namespace {

// A dialog as the transcript shows it: object name and title; then a box's icon, buttons (their
// flags) and texts, an input box's question and answer so far, or a form's size, focus and boxes
// (with their length limits) and texts.
std::string describe(QWidget& dialog) {
  std::string line =
      dialog.objectName().toStdString() + " \"" + dialog.windowTitle().toStdString() + '"';
  auto* box = qobject_cast<QMessageBox*>(&dialog);
  auto* input = qobject_cast<QInputDialog*>(&dialog);
  if (box && box->icon() != QMessageBox::NoIcon) line += " icon " + std::to_string(box->icon());
  if (box) line += " buttons " + std::to_string(box->standardButtons().toInt());
  if (box) line += ": " + box->text().toStdString();
  if (box && !box->informativeText().isEmpty())
    line += " / " + box->informativeText().toStdString();
  if (input) {
    line += ": " + input->labelText().toStdString() + " [" + input->textValue().toStdString() + ']';
  }
  if (box || input) return line;
  line += " focus " +
          (dialog.focusWidget() ? dialog.focusWidget()->objectName().toStdString() : "none") + ':';
  for (QWidget* edit : dialog.findChildren<QWidget*>()) {
    auto* plain = qobject_cast<QPlainTextEdit*>(edit);
    auto* single = qobject_cast<QLineEdit*>(edit);
    if (!plain && !single) continue;
    line += ' ' + edit->objectName().toStdString() +
            (plain ? "[plain]" : "(" + std::to_string(single->maxLength()) + ")") + '=' +
            (plain ? plain->toPlainText() : single->text()).toStdString();
  }
  return line;
}

const std::map<std::string, QMessageBox::StandardButton> kButtons = {
    {"Ok", QMessageBox::Ok},         {"Save", QMessageBox::Save}, {"Discard", QMessageBox::Discard},
    {"Cancel", QMessageBox::Cancel}, {"Yes", QMessageBox::Yes},   {"No", QMessageBox::No}};

}  // namespace

void ModalScript::answer(const std::string& words) {
  std::istringstream in(words);
  for (std::string word; in >> word;) {
    expect([this, word](QWidget& dialog) {
      std::istringstream actions(word);
      transcript_.insert(transcript_.size() - 1, " ->");
      for (std::string action; std::getline(actions, action, ';');) {
        transcript_.insert(transcript_.size() - 1, ' ' + action);
        act(dialog, action);
      }
    });
  }
}

void ModalScript::act(QWidget& dialog, const std::string& action) {
  auto* box = qobject_cast<QMessageBox*>(&dialog);
  const auto equals = action.find('=');
  const QString name = QString::fromStdString(action.substr(0, equals));
  QWidget* focus = dialog.focusWidget() ? dialog.focusWidget() : &dialog;
  QWidget* edit = equals == 0 ? dialog.findChild<QLineEdit*>() : dialog.findChild<QWidget*>(name);
  auto* button = dialog.findChild<QAbstractButton*>(name);
  if (action == "Tab") {
    // Focus events come once the dialog's window is active, as a window manager makes it.
    dialog.activateWindow();
    activating_ = true;
    EXPECT_TRUE(QTest::qWaitFor([&dialog] { return dialog.isActiveWindow(); }))
        << dialog.objectName().toStdString();
    activating_ = false;
  }
  if (action == "Escape" || action == "Tab" || action == "Enter") {
    QTest::keyClick(focus, action == "Tab"     ? Qt::Key_Tab
                           : action == "Enter" ? Qt::Key_Return
                                               : Qt::Key_Escape);
    if (action == "Tab") {
      transcript_.insert(transcript_.size() - 1,
                         '>' + dialog.focusWidget()->objectName().toStdString() + afterTab());
    }
  } else if (equals != std::string::npos && edit) {
    edit->setFocus();
    if (auto* single = qobject_cast<QLineEdit*>(edit)) single->selectAll();
    QTest::keyClicks(edit, QString::fromStdString(action.substr(equals + 1)));
    if (equals == 0) QTest::keyClick(edit, Qt::Key_Return);
  } else if (box && kButtons.count(action) && box->button(kButtons.at(action))) {
    box->button(kButtons.at(action))->click();
  } else if (button && !box) {
    QTest::mouseClick(button, Qt::LeftButton);
  } else {
    ADD_FAILURE() << "cannot " << action << " in " << dialog.objectName().toStdString();
    dialog.close();
  }
}

void ModalScript::start() {
  if (!active_) ++runningScripts;
  active_ = true;
  pollsLeft_ = kMaxPolls;
  QTimer::singleShot(kPollMilliseconds, this, [this] { poll(); });
}

void ModalScript::finish() {
  if (active_) --runningScripts;
  active_ = false;
}

void ModalScript::poll() {
  if (steps_.empty()) return finish();
  if (--pollsLeft_ <= 0) {
    ADD_FAILURE() << steps_.size() << " dialogs never came";
    note(std::to_string(steps_.size()) + " dialogs never came");
    steps_.clear();
    finish();
    for (int i = 0; i < 10 && QApplication::activeModalWidget(); ++i) {
      QApplication::activeModalWidget()->close();
    }
    return;
  }
  // The next poll is armed first: the step may open a dialog of its own and wait in it.
  QTimer::singleShot(kPollMilliseconds, this, [this] { poll(); });
  QWidget* modal = QApplication::activeModalWidget();
  // While a service call runs, the dialog that made it is still the active one.
  if (!modal || WindowWaiting::anyWaiting() || activating_) return;
  Step step = std::move(steps_.front());
  steps_.pop_front();
  note(describe(*modal));
  step(*modal);
}

void drainEvents() {
  for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

std::string toText(const QSize& size) {
  return std::to_string(size.width()) + 'x' + std::to_string(size.height());
}

std::string toText(const QRect& rect) {
  return std::to_string(rect.x()) + ',' + std::to_string(rect.y()) + ' ' + toText(rect.size());
}

}  // namespace tarvine::qt::test
