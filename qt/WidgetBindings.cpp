#include "WidgetBindings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <functional>
#include <string_view>

#include "Layout.h"
#include "ReportListView.h"
#include "platform/ListView.h"

namespace tarvine::qt {
namespace {

// Draws the headless widget now and after each of its changes; returns the drawing step so
// that a user action the headless widget ignored can be drawn back.
template <typename Q, typename H, typename Draw>
std::function<void()> follow(H& headless, Q* view, Draw draw) {
  QPointer<Q> target(view);
  std::function<void()> apply = [target, &headless, draw] {
    if (target) draw(*target, headless);
  };
  apply();
  headless.changed.connect(apply);
  return apply;
}

// The access keys of the buttons, by caption: the position of the letter underlined.
struct AccessKey {
  std::string_view caption;
  qsizetype letter;
};
constexpr AccessKey kAccessKeys[] = {{"Save", 0}, {"Cancel", 0}, {"Add Astray Item", 4}};

// A button's caption as Qt shows it: its access key marked, any other ampersand shown as is.
QString buttonText(const std::string& caption) {
  QString text = toQString(caption);
  text.replace(QLatin1Char('&'), QStringLiteral("&&"));
  for (const AccessKey& key : kAccessKeys) {
    if (caption == key.caption) text.insert(key.letter, QLatin1Char('&'));
  }
  return text;
}

QWidget* makeLabel(Label& label, QWidget* parent) {
  auto* view = new QLabel(parent);
  view->setTextFormat(Qt::PlainText);
  view->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  view->setWordWrap(true);
  follow(label, view, [](QLabel& q, const Label& h) {
    q.setText(toQString(h.caption()));
    q.setEnabled(h.enabled());
  });
  return view;
}

QWidget* makeFrame(Frame& frame, QWidget* parent) {
  auto* view = new QGroupBox(parent);
  follow(frame, view, [](QGroupBox& q, const Frame& h) {
    q.setTitle(toQString(h.caption()));
    q.setEnabled(h.enabled());
  });
  return view;
}

QWidget* makeButton(CommandButton& button, QWidget* parent, const UserActionRunner& runner) {
  auto* view = new QPushButton(parent);
  view->setAutoDefault(false);
  follow(button, view, [](QPushButton& q, const CommandButton& h) {
    q.setText(buttonText(h.caption()));
    q.setEnabled(h.enabled());
  });
  QObject::connect(view, &QPushButton::clicked, view,
                   [&button, runner] { runner.run([&button] { button.userClick(); }); });
  return view;
}

Qt::CheckState checkState(int value) {
  if (value == 1) return Qt::Checked;
  if (value == 2) return Qt::PartiallyChecked;
  return Qt::Unchecked;
}

QWidget* makeCheckBox(CheckBox& box, QWidget* parent, const UserActionRunner& runner) {
  auto* view = new QCheckBox(parent);
  auto draw = follow(box, view, [](QCheckBox& q, const CheckBox& h) {
    q.setText(toQString(h.caption()));
    q.setCheckState(checkState(h.value()));
    q.setEnabled(h.enabled());
  });
  // Qt has toggled its box already; the headless box decides, and is drawn back.
  QObject::connect(view, &QCheckBox::clicked, view, [&box, runner, draw] {
    runner.run([&box] { box.userClick(); });
    draw();
  });
  return view;
}

void drawEntries(QComboBox& q, const ComboBox& h) {
  const auto& entries = h.entries();
  int same = 0;
  while (same < q.count() && static_cast<std::size_t>(same) < entries.size() &&
         q.itemText(same) == toQString(entries[static_cast<std::size_t>(same)].text)) {
    ++same;
  }
  const QSignalBlocker blocker(&q);
  while (q.count() > same) q.removeItem(q.count() - 1);
  for (std::size_t i = static_cast<std::size_t>(same); i < entries.size(); ++i) {
    q.addItem(toQString(entries[i].text));
  }
  if (q.currentIndex() != h.listIndex()) q.setCurrentIndex(h.listIndex());
}

QWidget* makeComboBox(ComboBox& box, QWidget* parent, const UserActionRunner& runner) {
  auto* view = new QComboBox(parent);
  view->setEditable(false);
  auto draw = follow(box, view, [](QComboBox& q, const ComboBox& h) {
    drawEntries(q, h);
    q.setEnabled(h.enabled());
  });
  // activated is raised for the user's choices only, also when the entry was selected already.
  QObject::connect(view, &QComboBox::activated, view, [&box, runner, draw](int index) {
    runner.run([&box, index] { box.userSelect(index); });
    draw();
  });
  return view;
}

QWidget* makeLineEdit(TextBox& box, QWidget* parent) {
  auto* view = new QLineEdit(parent);
  if (box.maxLength() > 0) view->setMaxLength(box.maxLength());
  follow(box, view, [](QLineEdit& q, const TextBox& h) {
    const QString text = toQString(h.text());
    if (q.text() != text) q.setText(text);
    q.setEnabled(h.enabled());
  });
  // textEdited is raised for typing only, not for texts set from code.
  QObject::connect(view, &QLineEdit::textEdited, view,
                   [&box](const QString& text) { box.setText(fromQString(text)); });
  return view;
}

QWidget* makeTextEdit(TextBox& box, QWidget* parent) {
  auto* view = new QPlainTextEdit(parent);
  view->setTabChangesFocus(true);
  view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  view->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  follow(box, view, [](QPlainTextEdit& q, const TextBox& h) {
    const QString text = fromCrLf(h.text());
    if (q.toPlainText() != text) {
      const QSignalBlocker blocker(&q);
      q.setPlainText(text);
    }
    q.setEnabled(h.enabled());
  });
  QObject::connect(view, &QPlainTextEdit::textChanged, view,
                   [&box, view] { box.setText(toCrLf(view->toPlainText())); });
  return view;
}

QWidget* makeListView(ListView& list, QWidget* parent, const UserActionRunner& runner) {
  return new ReportListView(list, runner, parent);
}

QWidget* make(Widget& widget, QWidget* parent, const UserActionRunner& runner) {
  switch (widget.kind()) {
    case WidgetKind::Label:
      return makeLabel(static_cast<Label&>(widget), parent);
    case WidgetKind::Frame:
      return makeFrame(static_cast<Frame&>(widget), parent);
    case WidgetKind::CommandButton:
      return makeButton(static_cast<CommandButton&>(widget), parent, runner);
    case WidgetKind::CheckBox:
      return makeCheckBox(static_cast<CheckBox&>(widget), parent, runner);
    case WidgetKind::ComboBox:
      return makeComboBox(static_cast<ComboBox&>(widget), parent, runner);
    case WidgetKind::TextBox: {
      auto& box = static_cast<TextBox&>(widget);
      return box.multiLine() ? makeTextEdit(box, parent) : makeLineEdit(box, parent);
    }
    case WidgetKind::ListView:
      return makeListView(static_cast<ListView&>(widget), parent, runner);
  }
  return new QWidget(parent);
}

}  // namespace

QString fromCrLf(const std::string& text) {
  QString result = toQString(text);
  result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return result;
}

std::string toCrLf(const QString& text) {
  QString result = text;
  result.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
  return fromQString(result);
}

QWidget* createBoundWidget(Widget& widget, QWidget* parent, double logicalDpi,
                           const UserActionRunner& runner) {
  QWidget* view = make(widget, parent, runner);
  view->setObjectName(toQString(widget.name()));
  view->setGeometry(toPixels(widget.rect(), logicalDpi));
  if (widget.font()) view->setFont(layoutFont(*widget.font()));
  return view;
}

}  // namespace tarvine::qt
