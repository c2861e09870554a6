#include "LoadSheetPrint.h"

#include <QPrintDialog>
#include <QPrinter>

#include "LoadSheetPaint.h"
#include "UserAction.h"

namespace tarvine::qt {

bool printLoadSheet(const tools::LoadSheet& sheet, QWidget* parent) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageSize(QPageSize(defaultPaper()));
  printer.setDocName(QStringLiteral("Load sheet %1").arg(QString::fromStdString(sheet.manifest)));
  QPrintDialog dialog(&printer, parent);
  dialog.setWindowTitle(QStringLiteral("Print load sheet"));
  {
    const ArrowCursor arrow;
    if (dialog.exec() != QDialog::Accepted) return false;
  }
  const BusyCursor busy;
  return paintLoadSheet(sheet, printer) > 0;
}

}  // namespace tarvine::qt
