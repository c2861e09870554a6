// A Qt host: puts the control widget in its window, hands it the set-up values, draws it.
// Exits 0 when everything answered as documented.
#include <tarvine/qt/OrderPickControl.h>
#include <QApplication>
#include <QImage>
#include <QVBoxLayout>
#include <cstdio>
#include <stdexcept>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QWidget window;
  auto* control = new tarvine::qt::OrderPickControl(&window);
  (new QVBoxLayout(&window))->addWidget(control);
  control->PutServerName(QStringLiteral("http://127.0.0.1:9"));
  control->SetFacilityID(QStringLiteral("DEMO"));
  control->SetPersonInformation(QStringLiteral("7"), QStringLiteral("2"));
  try {
    control->SetPersonInformation(QStringLiteral("seven"), QStringLiteral("2"));
    std::puts("consumer_qt: a person that is not a number was taken");
    return 1;
  } catch (const std::invalid_argument&) {
  }
  window.show();
  const QImage drawn = window.grab().toImage();
  if (control->outgoingLoadID() != -1 || drawn.width() < 400) {
    std::puts("consumer_qt: the control is not drawn as an empty control");
    return 1;
  }
  std::puts("consumer_qt: ok");
  return 0;
}
