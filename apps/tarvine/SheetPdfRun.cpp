// The load sheet as PDF on Qt, offscreen.

#include <QGuiApplication>
#include <cstdlib>
#include <memory>

#include "LoadSheetPaint.h"
#include "SheetPdf.h"

namespace tarvine::app {

std::string writeSheetPdf(const tools::LoadSheet& sheet, const std::string& path,
                          const std::string& paper) {
  const auto size = paper.empty() ? qt::defaultPaper() : qt::paperNamed(paper);
  if (!size) return "unknown paper " + paper + " (letter or a4)";
  // Fonts and drawing need an application, but no display.
  if (!QGuiApplication::instance() && !std::getenv("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  static int argc = 1;
  static char name[] = "tarvine";
  static char* argv[] = {name, nullptr};
  std::unique_ptr<QGuiApplication> application;
  if (!QGuiApplication::instance()) application = std::make_unique<QGuiApplication>(argc, argv);
  return qt::writeLoadSheetPdf(sheet, QString::fromStdString(path), *size);
}

}  // namespace tarvine::app
