#include "QtTestSupport.h"

#include <QApplication>
#include <QHeaderView>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTimer>
#include <QTreeView>
#include <QtTest/QTest>
#include <array>
#include <cstdio>

#include <sys/wait.h>

#include "DemoHost.h"
#include "WindowWaiting.h"

namespace tarvine::qt::test {
namespace {

constexpr int kPollMilliseconds = 10;
// About 30 seconds of polls: far more than any dialog of the tests takes to appear.
constexpr int kMaxPolls = 3000;
// A dialog nobody expects is rejected after this many polls.
constexpr int kStrangerPolls = 20;

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

DemoService* DemoWindowTest::service_ = nullptr;

DemoWindowTest::DemoWindowTest() {
  tarvine::test::pointAtDemo(control, service_->server());
  widget = std::make_unique<OrderPickWidget>(control);
  widget->show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(widget.get()));
  widget->perform([this] { control.PutTarvineID(5001); });
  drainEvents();
}

ModalScript::ModalScript() = default;

ModalScript::~ModalScript() {
  finish();
}

void ModalScript::expect(const char* objectName, Step step) {
  steps_.push_back(Entry{objectName, std::move(step)});
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
  if (--pollsLeft_ <= 0) return giveUp("the dialog " + steps_.front().name + " never came");
  // The next poll is armed first: the step may open a dialog of its own and wait in it.
  QTimer::singleShot(kPollMilliseconds, this, [this] { poll(); });
  QWidget* modal = QApplication::activeModalWidget();
  // While a service call runs, the dialog that made it is still the active one.
  if (!modal || WindowWaiting::anyWaiting()) return;
  if (modal->objectName().toStdString() != steps_.front().name) {
    if (++strangerPolls_ >= kStrangerPolls) {
      ADD_FAILURE() << "expected the dialog " << steps_.front().name << " but "
                    << modal->objectName().toStdString() << " ("
                    << modal->windowTitle().toStdString() << ") is open";
      strangerPolls_ = 0;
      modal->close();
    }
    return;
  }
  strangerPolls_ = 0;
  Entry entry = std::move(steps_.front());
  steps_.pop_front();
  entry.step(*modal);
}

void ModalScript::giveUp(const std::string& why) {
  ADD_FAILURE() << why;
  steps_.clear();
  finish();
  for (int i = 0; i < 10; ++i) {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) break;
    modal->close();
  }
}

bool modalScriptRunning() {
  return runningScripts > 0;
}

void drainEvents() {
  for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

std::pair<int, std::string> runCommand(const std::string& line) {
  std::string output;
  FILE* pipe = popen((line + " 2>&1").c_str(), "r");
  if (!pipe) return {-1, output};
  std::array<char, 4096> buffer{};
  while (fgets(buffer.data(), buffer.size(), pipe)) output += buffer.data();
  const int status = pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

QPoint checkBoxCenter(QTreeView& view, int row) {
  QStyleOptionViewItem option;
  option.initFrom(&view);
  option.rect = view.visualRect(view.model()->index(row, 0));
  option.features |= QStyleOptionViewItem::HasCheckIndicator;
  option.widget = &view;
  return view.style()
      ->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, &view)
      .center();
}

QPoint cellCenter(QTreeView& view, int row, int column) {
  return view.visualRect(view.model()->index(row, column)).center();
}

QPoint headerCenter(QTreeView& view, int column) {
  QHeaderView* header = view.header();
  return QPoint(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                header->height() / 2);
}

}  // namespace tarvine::qt::test
