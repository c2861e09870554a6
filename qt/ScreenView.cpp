#include "ScreenView.h"

#include <QEvent>
#include <QPointer>
#include <algorithm>

#include "Layout.h"
#include "ReportListView.h"
#include "WidgetBindings.h"

namespace tarvine::qt {

ScreenView::ScreenView(Screen& screen, QWidget* parent)
    : QWidget(parent),
      screen_(screen),
      runner_(
          [self = QPointer<ScreenView>(this)] {
            if (self) self->refresh();
          },
          this,
          [self = QPointer<ScreenView>(this)](bool cancelled) {
            if (!self) return;
            self->lastActionCancelled_ = cancelled;
            Q_EMIT self->actionEnded(cancelled);
          }) {
  setFont(defaultLayoutFont());
  build();
  orderTabs();
  QPointer<ScreenView> self(this);
  screen_.focusChanged.connect([self] {
    if (self) self->applyFocus();
  });
  applyFocus();
}

void ScreenView::build() {
  const double dpi = logicalDpiX();
  designSize_ = toPixels(Rect{0, 0, screen_.width(), screen_.height()}, dpi).size();
  setFixedSize(designSize_);
  // Frames come before their contents in layout order, so every container exists in time.
  for (const auto& widget : screen_.widgets()) {
    const auto container = byName_.find(widget->container());
    QWidget* parent = container == byName_.end() ? this : container->second;
    QWidget* view = createBoundWidget(*widget, parent, dpi, runner_);
    byName_[widget->name()] = view;
    if (auto* list = qobject_cast<ReportListView*>(view)) lists_.push_back(&list->listModel());
    if (view->focusPolicy() != Qt::NoFocus) view->installEventFilter(this);
  }
}

void ScreenView::orderTabs() {
  std::vector<std::pair<int, QWidget*>> ordered;
  for (const auto& widget : screen_.widgets()) {
    QWidget* view = widgetFor(widget->name());
    if (widget->tabIndex() && view->focusPolicy() != Qt::NoFocus) {
      ordered.emplace_back(*widget->tabIndex(), view);
    }
  }
  std::stable_sort(ordered.begin(), ordered.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (std::size_t i = 1; i < ordered.size(); ++i) {
    QWidget::setTabOrder(ordered[i - 1].second, ordered[i].second);
  }
}

QWidget* ScreenView::widgetFor(const std::string& name) const {
  const auto found = byName_.find(name);
  return found == byName_.end() ? nullptr : found->second;
}

void ScreenView::refresh() {
  for (ReportListModel* list : lists_) {
    if (list->pending()) list->refresh();
  }
}

void ScreenView::applyFocus() {
  QWidget* view = widgetFor(screen_.focus());
  if (view && view->focusPolicy() != Qt::NoFocus) view->setFocus(Qt::OtherFocusReason);
}

bool ScreenView::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn) {
    const std::string name = fromQString(watched->objectName());
    if (screen_.focus() != name) screen_.setFocusName(name);
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace tarvine::qt
