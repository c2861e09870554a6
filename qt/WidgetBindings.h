#pragma once
// One Qt widget per headless widget, bound both ways.

#include <QWidget>

#include "UserAction.h"
#include "platform/Widget.h"

namespace tarvine::qt {

// Creates the Qt widget drawn for a headless widget as a child of parent, at its layout
// position and size (pixels at the given logical DPI), with its font when it names one, and
// named after it (cboCenter, lblTotal4...). Every change of the headless widget is drawn; the
// user's clicks, selections and typing become its user actions through the runner. The Qt
// widget belongs to parent; the headless widget must outlive it or stop changing once the Qt
// widget is gone (changes after that are ignored).
QWidget* createBoundWidget(Widget& widget, QWidget* parent, double logicalDpi,
                           const UserActionRunner& runner);

// Multi-line texts of the headless text boxes end their lines with CR LF; Qt uses LF alone.
QString fromCrLf(const std::string& text);
std::string toCrLf(const QString& text);

}  // namespace tarvine::qt
