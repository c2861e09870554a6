// The Connect dialog against real servers, and File > Connect... in the host window: what "Test
// connection" says of each kind of server, and a switch to another profile that asks about
// unsaved work first and is offered first the next time (tests/golden/qt/connect-switch.txt).

#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QtTest/QTest>

#include "ConnectDialog.h"
#include "Golden.h"
#include "HostWindow.h"
#include "QtTestSupport.h"
#include "RawHttpServer.h"
#include "platform/Text.h"

namespace tarvine::qt::test {
namespace {

using tarvine::test::ClosedPort;
using tarvine::test::httpResponse;
using tarvine::test::RawHttpServer;
using tarvine::test::RawReply;

class ConnectTest : public ::testing::Test {
 protected:
  ConnectTest() {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(dir.path().string()));
    qputenv("TARVINE_EVENT_LOG", QByteArray::fromStdString((dir.path() / "events.log").string()));
  }
  TempDir dir;
  DemoService service;
};

TEST_F(ConnectTest, TestConnectionTellsWhatAnswersAtTheAddress) {
  const RawHttpServer page(RawReply::full(httpResponse(200, "<html>It works</html>")));
  const RawHttpServer other(RawReply::full(
      httpResponse(200,
                   "<definitions xmlns=\"http://schemas.xmlsoap.org/wsdl/\"><portType>"
                   "<operation name=\"IsPOFound\"/></portType></definitions>")));
  const ClosedPort closed;
  const std::string authority = service.server().substr(std::string("http://").size());
  const std::pair<std::string, const char*> cases[] = {
      {service.server(), "The route service answers, with all seven operations."},
      {closed.url(""), "The route service cannot be reached: Couldn't connect to server"},
      {page.url(""), "not as a route service: what it sends is not a service description"},
      {other.url(""), "not the route service this program needs: it lacks GetOutgoingLoad"},
      {"https://" + authority, "The secure connection failed"},
      {authority, "starts with http:// or https://"}};
  ConnectDialog dialog;
  for (const auto& [server, said] : cases) {
    SCOPED_TRACE(server);
    child<QLineEdit>(dialog, "serverBox")->setText(QString::fromStdString(server));
    QTest::mouseClick(child<QPushButton>(dialog, "testConnection"), Qt::LeftButton);
    EXPECT_NE(dialog.result().toStdString().find(said), std::string::npos)
        << dialog.result().toStdString();
  }
}

TEST_F(ConnectTest, FileConnectSwitchesProfileOnceUnsavedWorkIsSettled) {
  app::HostOptions options;
  options.server = service.server();
  options.facility = "DEMO";
  options.personId = "7";
  options.personType = "2";
  app::HostWindow window(options, false);
  window.show();
  window.openLoad(5001);
  window.pickWidget()->perform([&] { window.control()->widgets().lvwOrderIDs.userToggleCheck(1); });
  ModalScript script;
  script.answer(
      "Cancel Discard profileBox=Night;facilityBox=NORTH;personIdBox=x;connect "
      "personIdBox=12;connect");
  script.start();
  auto* connectAction = window.findChild<QAction*>(QStringLiteral("connectAction"));
  connectAction->trigger();
  EXPECT_EQ(window.control()->unsavedChanges().orders.size(), 1u) << "Cancel keeps the work";
  connectAction->trigger();
  drainEvents();
  // The person id "x" was refused, then 12 taken, in a new control with nothing unsaved.
  EXPECT_EQ(window.connection().facility, "NORTH");
  EXPECT_EQ(window.control()->personID(), 12);
  EXPECT_EQ(window.control()->unsavedChanges().rows, 0);
  EXPECT_EQ(savedProfiles().at(0).name, "Night");
  std::string seen = script.transcript();
  tarvine::text::replaceAllInPlace(seen, service.server(), "SERVER");
  tarvine::test::expectGolden(seen, "qt/connect-switch.txt");
}

}  // namespace
}  // namespace tarvine::qt::test
