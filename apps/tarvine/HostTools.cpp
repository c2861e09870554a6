#include "HostTools.h"

#include <QAction>
#include <QFileDialog>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QToolBar>

#include "FillDialog.h"
#include "Layout.h"
#include "LoadSheetPaint.h"
#include "LoadSheetPrint.h"
#include "ReportListView.h"
#include "UserAction.h"
#include "platform/Text.h"
#include "tools/LoadSheetCsv.h"

namespace tarvine::app {
namespace {

// How long a tool's message stays in the status bar.
constexpr int kMessageMs = 10000;

enum class SheetChoice { SaveFirst, SavedLoad, Cancel };

// Asks what to print while changes on screen are unsaved: a question box (object name
// "sheetUnsavedBox") with "Save and print" (Alt+S), "Print the saved load" (Alt+P, the default:
// it changes nothing) and "Cancel" (Escape).
SheetChoice askBeforeSheet(QWidget* parent, std::string prompt) {
  text::replaceAllInPlace(prompt, "\r\n", "\n");
  QMessageBox box(QMessageBox::Question, QStringLiteral("Load sheet"), qt::toQString(prompt),
                  QMessageBox::NoButton, parent);
  box.setObjectName(QStringLiteral("sheetUnsavedBox"));
  box.setTextFormat(Qt::PlainText);
  box.setInformativeText(QStringLiteral("The sheet shows the load as the route service holds it."));
  QPushButton* save = box.addButton(QStringLiteral("&Save and print"), QMessageBox::AcceptRole);
  QPushButton* saved =
      box.addButton(QStringLiteral("&Print the saved load"), QMessageBox::AcceptRole);
  QPushButton* cancel = box.addButton(QMessageBox::Cancel);
  save->setObjectName(QStringLiteral("saveAndPrint"));
  saved->setObjectName(QStringLiteral("printSavedLoad"));
  box.setDefaultButton(saved);
  box.setEscapeButton(cancel);
  const qt::ArrowCursor arrow;
  box.exec();
  if (box.clickedButton() == save) return SheetChoice::SaveFirst;
  return box.clickedButton() == saved ? SheetChoice::SavedLoad : SheetChoice::Cancel;
}

}  // namespace

HostTools::HostTools(QMainWindow& window, OrderPick& control, qt::OrderPickWidget& view,
                     const std::optional<tools::TrailerLimits>& limits)
    : QObject(&window), window_(window), control_(control), view_(&view), capacity_(control) {
  capacity_.setLimits(limits);

  auto* findBar = window_.addToolBar(QStringLiteral("P.O."));
  findBar->setObjectName(QStringLiteral("orderBar"));
  findBar->setMovable(false);
  findBox_ =
      new qt::OrderFindBox(control_, view.runner(), view.findChild<qt::ReportListView*>(), findBar);
  findBar->addWidget(findBox_);
  connect(findBox_, &qt::OrderFindBox::statusMessage, this,
          [this](const QString& text) { tell(text); });
  auto* find = new QShortcut(QKeySequence::Find, &window_);
  added_ = {findBar, find};
  connect(find, &QShortcut::activated, this, [this] { findBox_->focusBox(); });
  // Tab reaches the find bar right after the load bar, as the window reads.
  if (auto* open = window_.findChild<QWidget*>(QStringLiteral("openLoad"))) {
    QWidget* idBox = findBox_->findChild<QWidget*>(QStringLiteral("orderIdBox"));
    QWidget::setTabOrder(open, idBox);
    QWidget::setTabOrder(idBox, findBox_->findChild<QWidget*>(QStringLiteral("pickOnScan")));
  }

  if (limits) {
    // Beside the control, at the height of its totals.
    auto* gaugeBar = new QToolBar(QStringLiteral("Trailer"), &window_);
    gaugeBar->setObjectName(QStringLiteral("trailerBar"));
    gaugeBar->setMovable(false);
    window_.addToolBar(Qt::RightToolBarArea, gaugeBar);
    auto* above = new QWidget(gaugeBar);
    above->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    gaugeBar->addWidget(above);
    gauges_ = new qt::CapacityGauges(capacity_, gaugeBar);
    gaugeBar->addWidget(gauges_);
    added_.emplace_back(gaugeBar);
  }
  addFileMenu();
  addFillTrailer(*findBar);
}

void HostTools::addFileMenu() {
  // The window may have a File menu of its own already: the tools join it.
  auto* file = window_.findChild<QMenu*>(QStringLiteral("fileMenu"));
  if (!file) {
    file = window_.menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("fileMenu"));
  }
  auto* exportMenu = file->addMenu(QStringLiteral("&Export load sheet"));
  added_.emplace_back(exportMenu);
  exportMenu->setObjectName(QStringLiteral("exportSheetMenu"));
  auto* csv = exportMenu->addAction(QStringLiteral("&CSV..."));
  csv->setObjectName(QStringLiteral("exportSheetCsv"));
  connect(csv, &QAction::triggered, this, [this] { exportCsv(); });
  auto* pdf = exportMenu->addAction(QStringLiteral("&PDF..."));
  pdf->setObjectName(QStringLiteral("exportSheetPdf"));
  connect(pdf, &QAction::triggered, this, [this] { exportPdf(); });
  auto* printAction = file->addAction(QStringLiteral("&Print load sheet..."));
  printAction->setObjectName(QStringLiteral("printSheet"));
  printAction->setShortcut(QKeySequence::Print);
  printAction->setShortcutContext(Qt::WindowShortcut);
  window_.addAction(printAction);
  added_.emplace_back(printAction);
  connect(printAction, &QAction::triggered, this, [this] { print(); });
}

void HostTools::addFillTrailer(QToolBar& bar) {
  auto* menu = window_.menuBar()->addMenu(QStringLiteral("&Tools"));
  menu->setObjectName(QStringLiteral("toolsMenu"));
  auto* fill = menu->addAction(QStringLiteral("&Fill trailer\u2026"));
  fill->setObjectName(QStringLiteral("fillTrailer"));
  fill->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
  fill->setShortcutContext(Qt::WindowShortcut);
  fill->setStatusTip(
      QStringLiteral("Propose P.O.s to put on the load: the most hot P.O.s, then "
                     "the most weight, within the trailer's limits"));
  window_.addAction(fill);
  bar.addAction(fill);
  added_.emplace_back(menu);
  added_.emplace_back(fill);
  const auto enable = [this, fill = QPointer<QAction>(fill)] {
    if (fill) fill->setEnabled(capacity_.limits().has_value());
  };
  enable();
  capacity_.changed.connect(enable);
  connect(fill, &QAction::triggered, this, [this] {
    if (!view_ || !capacity_.limits()) return;
    auto* list = view_->findChild<qt::ReportListView*>();
    tell(qt::fillTrailer(window_, control_, fill_, *capacity_.limits(), view_->runner(),
                         list ? &list->listModel() : nullptr));
  });
}

HostTools::~HostTools() {
  for (const QPointer<QObject>& object : added_) delete object.data();
}

std::optional<tools::LoadSheet> HostTools::sheet() {
  const UnsavedChanges changes = control_.unsavedChanges();
  if (changes.rows > 0) {
    const SheetChoice choice =
        askBeforeSheet(&window_, unsavedWorkQuestion(changes, "printing the load sheet"));
    if (choice == SheetChoice::Cancel) return std::nullopt;
    if (choice == SheetChoice::SaveFirst && view_) {
      view_->perform([this] { control_.widgets().cmdSave.userClick(); });
      if (control_.unsavedChanges().rows > 0) {
        tell(QStringLiteral("The changes were not saved, so no load sheet was made."));
        return std::nullopt;
      }
    }
  }
  if (const auto refusal = tools::sheetRefusal(control_)) {
    tell(QStringLiteral("No load sheet: %1.").arg(qt::toQString(*refusal)));
    return std::nullopt;
  }
  return tools::buildLoadSheet(control_, tools::printedNow(), capacity_.limits());
}

QString HostTools::chooseFile(const QString& title, const QString& suffix, const QString& filter) {
  const QString manifest = qt::toQString(control_.widgets().lblTarvineID.caption());
  const QString suggested = QStringLiteral("load-sheet-%1.%2").arg(manifest, suffix);
  const qt::ArrowCursor arrow;
  return QFileDialog::getSaveFileName(&window_, title, suggested, filter);
}

void HostTools::exportCsv() {
  const std::optional<tools::LoadSheet> built = sheet();
  if (!built) return;
  const QString path = chooseFile(QStringLiteral("Export load sheet as CSV"), QStringLiteral("csv"),
                                  QStringLiteral("CSV files (*.csv)"));
  if (path.isEmpty()) return;
  const std::string problem = tools::saveLoadSheetCsv(*built, qt::fromQString(path));
  tell(problem.empty() ? QStringLiteral("Load sheet written to %1.").arg(path)
                       : qt::toQString(problem));
}

void HostTools::exportPdf() {
  const std::optional<tools::LoadSheet> built = sheet();
  if (!built) return;
  const QString path = chooseFile(QStringLiteral("Export load sheet as PDF"), QStringLiteral("pdf"),
                                  QStringLiteral("PDF files (*.pdf)"));
  if (path.isEmpty()) return;
  const qt::BusyCursor busy;
  const std::string problem = qt::writeLoadSheetPdf(*built, path, qt::defaultPaper());
  tell(problem.empty() ? QStringLiteral("Load sheet written to %1.").arg(path)
                       : qt::toQString(problem));
}

void HostTools::print() {
  const std::optional<tools::LoadSheet> built = sheet();
  if (built && qt::printLoadSheet(*built, &window_)) {
    tell(QStringLiteral("Load sheet sent to the printer."));
  }
}

void HostTools::tell(const QString& text) {
  window_.statusBar()->showMessage(text, kMessageMs);
}

}  // namespace tarvine::app
