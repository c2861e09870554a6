#pragma once
// Gauges of the trailer's capacity, one above the other: for weight, cube and (when limited)
// cartons, the picked figure against the limit as a text ("Weight 20,920 of 44,000 lb (48 %)")
// and a bar under it, red when
// over; the tooltip says what the gauge counts (tools::gaugeCounts). They draw nothing new while
// no limits are set, and follow every change of the capacity.

#include <QWidget>

#include "tools/TrailerCapacity.h"

class QLabel;
class QProgressBar;

namespace tarvine::qt {

class CapacityGauges : public QWidget {
  Q_OBJECT

 public:
  // The capacity must outlive the gauges, or stop changing once they are gone.
  explicit CapacityGauges(tools::TrailerCapacity& capacity, QWidget* parent = nullptr);

  // Redraws from the capacity now.
  void refresh();

 private:
  struct Gauge {
    QLabel* text = nullptr;
    QProgressBar* bar = nullptr;
  };
  Gauge addGauge(const QString& name);
  static void draw(Gauge gauge, const QString& name, double picked, double limit, const char* unit,
                   bool over);

  tools::TrailerCapacity& capacity_;
  Gauge weight_, cube_, cartons_;
};

// The text of one gauge: "Weight 20,920 of 44,000 lb (48 %)"; unit may be empty.
QString gaugeText(const QString& name, double picked, double limit, const char* unit);

}  // namespace tarvine::qt
