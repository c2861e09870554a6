// The Connect dialog against real servers: what "Test connection" says of each kind of server
// (File > Connect... in the host window: WindowTest).

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QtTest/QTest>

#include "ConnectDialog.h"
#include "QtTestSupport.h"
#include "RawHttpServer.h"

namespace tarvine::qt::test {
namespace {

using tarvine::test::ClosedPort;
using tarvine::test::httpResponse;
using tarvine::test::RawHttpServer;
using tarvine::test::RawReply;

TEST(ConnectTest, TestConnectionTellsWhatAnswersAtTheAddress) {
  const TempDir dir;  // holds the saved profiles the dialog offers
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                     QString::fromStdString(dir.path().string()));
  const DemoService service;
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

}  // namespace
}  // namespace tarvine::qt::test
