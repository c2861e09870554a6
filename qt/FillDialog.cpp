#include "FillDialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QEventLoop>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <unordered_set>

#include "CapacityGauges.h"
#include "Layout.h"

namespace tarvine::qt {
namespace {

// How many proposed P.O.s the box names; the list highlights them all.
constexpr std::size_t kNamedOrders = 12;

// The search runs on a thread of its own over the request's plain figures (no control state),
// so the window keeps drawing; the user's input waits until it ends, within the request's
// budget.
tools::FillProposal searchKeepingWindowDrawn(const tools::FillRequest& request) {
  tools::FillProposal proposal;
  QEventLoop loop;
  QThread* search = QThread::create([&] { proposal = tools::proposeFill(request); });
  QObject::connect(search, &QThread::finished, &loop, &QEventLoop::quit);
  search->start();
  const BusyCursor busy;
  if (!search->isFinished()) loop.exec(QEventLoop::ExcludeUserInputEvents);
  search->wait();
  delete search;
  return proposal;
}

QString summary(const tools::FillProposal& proposal, std::size_t orders) {
  if (!proposal.refusal.empty()) return toQString(proposal.refusal);
  if (orders == 0) return QStringLiteral("No P.O. of the list fits the trailer.");
  return QStringLiteral("Add %1 P.O.%2, %3 of them hot: %4.")
      .arg(orders)
      .arg(orders == 1 ? QString() : QStringLiteral("s"))
      .arg(proposal.hotAdded)
      .arg(toQString(tools::fillQuality(proposal)));
}

QString orderNames(const tools::FillRequest& request, const tools::FillProposal& proposal) {
  QStringList names;
  for (std::size_t index : proposal.chosen) {
    if (static_cast<std::size_t>(names.size()) == kNamedOrders) break;
    const tools::FillCandidate& order = request.candidates.at(index);
    names << toQString(order.id) + (order.hot ? QStringLiteral(" (hot)") : QString());
  }
  QString text = names.join(QStringLiteral(", "));
  if (proposal.chosen.size() > kNamedOrders) {
    text += QStringLiteral(" and %1 more").arg(proposal.chosen.size() - kNamedOrders);
  }
  return text;
}

// One gauge of the box: its text over a bar.
void addGauge(QGridLayout& grid, int row, int column, const QString& text, double share) {
  auto* label = new QLabel(text);
  auto* bar = new QProgressBar;
  bar->setRange(0, 100);
  bar->setTextVisible(false);
  bar->setFixedHeight(10);
  bar->setValue(static_cast<int>(std::clamp(std::round(share * 100.0), 0.0, 100.0)));
  grid.addWidget(label, row * 2 + 1, column);
  grid.addWidget(bar, row * 2 + 2, column);
}

void addGauges(QGridLayout& grid, const tools::FillRequest& request,
               const tools::FillProposal& proposal) {
  grid.addWidget(new QLabel(QStringLiteral("<b>Now</b>")), 0, 0);
  grid.addWidget(new QLabel(QStringLiteral("<b>After the proposal</b>")), 0, 1);
  const tools::TrailerLimits& limits = request.limits;
  struct Figure {
    const char* name;
    double now, after, limit;
    const char* unit;
  };
  std::vector<Figure> figures = {
      {"Weight", request.onLoad.weight, proposal.after.weight, limits.weight, "lb"},
      {"Cube", request.onLoad.cube, proposal.after.cube, limits.cube, "cu ft"}};
  if (limits.cartons) {
    figures.push_back(
        {"Cartons", request.onLoad.cartons, proposal.after.cartons, 1.0 * *limits.cartons, ""});
  }
  // Refused, nothing is added: after is what is on the load now.
  const bool refused = !proposal.refusal.empty();
  for (std::size_t i = 0; i < figures.size(); ++i) {
    const Figure& f = figures[i];
    const double after = refused ? f.now : f.after;
    const QString name = QString::fromLatin1(f.name);
    addGauge(grid, static_cast<int>(i), 0, gaugeText(name, f.now, f.limit, f.unit),
             f.now / f.limit);
    addGauge(grid, static_cast<int>(i), 1, gaugeText(name, after, f.limit, f.unit),
             after / f.limit);
  }
}

// The box; true when the user applies the proposal.
bool confirm(QWidget& parent, const tools::FillRequest& request,
             const tools::FillProposal& proposal) {
  QDialog box(&parent);
  box.setObjectName(QStringLiteral("fillTrailer"));
  box.setWindowTitle(QStringLiteral("Fill trailer"));
  auto* layout = new QVBoxLayout(&box);
  auto* said = new QLabel(summary(proposal, proposal.chosen.size()), &box);
  said->setObjectName(QStringLiteral("fillSummary"));
  said->setWordWrap(true);
  layout->addWidget(said);
  if (!proposal.chosen.empty()) {
    auto* orders = new QLabel(orderNames(request, proposal), &box);
    orders->setObjectName(QStringLiteral("fillOrders"));
    orders->setWordWrap(true);
    layout->addWidget(orders);
  }
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(24);
  addGauges(*grid, request, proposal);
  layout->addLayout(grid);
  auto* buttons = new QDialogButtonBox(&box);
  QPushButton* apply = buttons->addButton(QStringLiteral("&Apply"), QDialogButtonBox::AcceptRole);
  apply->setObjectName(QStringLiteral("fillApply"));
  apply->setEnabled(!proposal.chosen.empty());
  QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
  cancel->setObjectName(QStringLiteral("fillCancel"));
  (apply->isEnabled() ? apply : cancel)->setDefault(true);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &box, &QDialog::reject);
  layout->addWidget(buttons);
  const ArrowCursor arrow;
  return box.exec() == QDialog::Accepted;
}

}  // namespace

QString fillTrailer(QWidget& parent, OrderPick& control, tools::LoadFill& fill,
                    const tools::TrailerLimits& limits, const UserActionRunner& runner,
                    ReportListModel* list) {
  tools::FillRequest request = tools::fillRequest(control, limits);
  tools::FillProposal proposal = searchKeepingWindowDrawn(request);
  const std::vector<std::string> chosen = tools::chosenOrders(request, proposal);
  fill.keep(request, proposal);
  if (list) list->setHighlighted({chosen.begin(), chosen.end()});
  const bool applied = confirm(parent, request, proposal);
  if (list) list->setHighlighted({});
  if (!applied) {
    fill.forget();
    return QStringLiteral("Fill trailer cancelled; nothing changed.");
  }
  tools::FillApplyResult result;
  runner.run([&] { result = fill.apply(control, limits); });
  return toQString(result.message);
}

}  // namespace tarvine::qt
