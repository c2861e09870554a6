#include "CapacityGauges.h"

#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "Layout.h"
#include "tools/SheetText.h"

namespace tarvine::qt {
namespace {

constexpr const char* kOverStyle =
    "QProgressBar::chunk { background: #c62828; } QLabel { color: #c62828; font-weight: bold; }";

}  // namespace

QString gaugeText(const QString& name, double picked, double limit, const char* unit) {
  const QString units = *unit ? QStringLiteral(" ") + QString::fromLatin1(unit) : QString();
  return QStringLiteral("%1 %2 of %3%4 (%5)")
      .arg(name, toQString(tools::groupedAmount(picked)), toQString(tools::groupedAmount(limit)),
           units, toQString(tools::percentText(picked, limit)));
}

CapacityGauges::CapacityGauges(tools::TrailerCapacity& capacity, QWidget* parent)
    : QWidget(parent), capacity_(capacity) {
  setObjectName(QStringLiteral("capacityGauges"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 4, 8, 4);
  layout->setSpacing(10);
  auto* title = new QLabel(QStringLiteral("Trailer"), this);
  title->setStyleSheet(QStringLiteral("font-weight: bold;"));
  layout->addWidget(title);
  weight_ = addGauge(QStringLiteral("weightGauge"));
  cube_ = addGauge(QStringLiteral("cubeGauge"));
  cartons_ = addGauge(QStringLiteral("cartonsGauge"));
  QPointer<CapacityGauges> self(this);
  capacity_.changed.connect([self] {
    if (self) self->refresh();
  });
  refresh();
}

CapacityGauges::Gauge CapacityGauges::addGauge(const QString& name) {
  auto* box = new QWidget(this);
  box->setObjectName(name);
  auto* row = new QVBoxLayout(box);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(2);
  Gauge gauge{new QLabel(box), new QProgressBar(box)};
  gauge.text->setObjectName(name + QStringLiteral("Text"));
  // Room for a long figure from the start: the window does not grow when the texts do.
  gauge.text->setMinimumWidth(gauge.text->fontMetrics().horizontalAdvance(
      QStringLiteral("Weight 444,444.4 of 444,444.4 cu ft (444 %)")));
  gauge.bar->setObjectName(name + QStringLiteral("Bar"));
  gauge.bar->setRange(0, 100);
  gauge.bar->setTextVisible(false);
  gauge.bar->setFixedHeight(10);
  row->addWidget(gauge.text);
  row->addWidget(gauge.bar);
  static_cast<QVBoxLayout*>(layout())->addWidget(box);
  return gauge;
}

void CapacityGauges::draw(Gauge gauge, const QString& name, double picked, double limit,
                          const char* unit, bool over) {
  gauge.text->setText(gaugeText(name, picked, limit, unit));
  const double share = limit > 0 ? picked * 100.0 / limit : 0;
  gauge.bar->setValue(static_cast<int>(std::clamp(std::round(share), 0.0, 100.0)));
  QWidget* box = gauge.text->parentWidget();
  box->setStyleSheet(over ? QString::fromLatin1(kOverStyle) : QString());
  const QString counts = toQString(tools::gaugeCounts(name.toLower().toStdString()));
  box->setToolTip(over ? QStringLiteral("Over the trailer's limit. ") + counts : counts);
}

void CapacityGauges::refresh() {
  const auto& limits = capacity_.limits();
  if (!limits) return;
  const tools::FillFigures picked = capacity_.picked();
  const tools::OverLimits over = capacity_.over();
  draw(weight_, QStringLiteral("Weight"), picked.weight, limits->weight, "lb", over.weight);
  draw(cube_, QStringLiteral("Cube"), picked.cube, limits->cube, "cu ft", over.cube);
  cartons_.text->parentWidget()->setVisible(limits->cartons.has_value());
  if (limits->cartons) {
    draw(cartons_, QStringLiteral("Cartons"), picked.cartons, *limits->cartons, "", over.cartons);
  }
}

}  // namespace tarvine::qt
