// Real dialogs: the message box's icon and buttons, its title, the input box's answers; and the
// layout conversions that place every widget.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest/QTest>

#include "Layout.h"
#include "QtDialogs.h"
#include "QtTestSupport.h"

namespace tarvine::qt::test {
namespace {

// The buttons value's low digits choose the buttons, its 16s the icon; the pressed button is
// numbered as the platform did.
TEST(MessageButtons, GiveTheIconButtonsAndResultNumbersOfTheValue) {
  using B = QMessageBox;
  const std::tuple<int, QMessageBox::Icon, QMessageBox::StandardButtons> cases[] = {
      {kMsgInformationOk, B::Information, B::Ok},
      {0, B::NoIcon, B::Ok},
      {16 + 1, B::Critical, B::Ok | B::Cancel},
      {32 + 4, B::Question, B::Yes | B::No},
      {48 + 3, B::Warning, B::Yes | B::No | B::Cancel},
      {2, B::NoIcon, B::Abort | B::Retry | B::Ignore},
      {5, B::NoIcon, B::Retry | B::Cancel}};
  for (const auto& [buttons, icon, shown] : cases) {
    EXPECT_EQ(messageIcon(buttons), icon) << buttons;
    EXPECT_EQ(messageButtons(buttons), shown) << buttons;
  }
  int number = kMsgResultOk;
  for (auto button : {B::Ok, B::Cancel, B::Abort, B::Retry, B::Ignore, B::Yes, B::No}) {
    EXPECT_EQ(messageResult(button), number++);
  }
}

// A message box is modal and titled with the title or the application; an input box gives the
// typed answer, or nothing when cancelled.
TEST(RealDialogs, AskAndGiveTheAnswer) {
  QtDialogs dialogs;
  ModalScript script;
  script.expect(kMessageBoxName, [](QWidget& dialog) {
    auto& box = static_cast<QMessageBox&>(dialog);
    EXPECT_TRUE(box.isModal());
    EXPECT_EQ(box.windowTitle(), "Outgoing Load Save");
    EXPECT_EQ(box.icon(), QMessageBox::Information);
    box.button(QMessageBox::Ok)->click();
  });
  script.expect(kMessageBoxName, [](QWidget& dialog) {
    auto& box = static_cast<QMessageBox&>(dialog);
    EXPECT_EQ(box.windowTitle(), "TarvineOrderPick");
    EXPECT_EQ(box.text(), "first line\nsecond line");
    QTest::keyClick(&box, Qt::Key_Escape);
  });
  script.expect(kInputBoxName, [](QWidget& dialog) {
    auto* edit = dialog.findChild<QLineEdit*>();
    edit->selectAll();
    QTest::keyClicks(edit, "99");
    QTest::keyClick(edit, Qt::Key_Return);
  });
  script.expect(kInputBoxName, [](QWidget& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "TarvineOrderPick");
    static_cast<QDialog&>(dialog).reject();
  });
  script.start();
  EXPECT_EQ(dialogs.messageBox("Saved", kMsgInformationOk, std::string("Outgoing Load Save")),
            kMsgResultOk);
  EXPECT_EQ(dialogs.messageBox("first line\r\nsecond line", kMsgInformationOk, std::nullopt),
            kMsgResultOk);
  EXPECT_EQ(dialogs.inputBox("Please enter the new Freight", "Outgoing Load", "12.50"), "99");
  EXPECT_EQ(dialogs.inputBox("Why?", "", "because"), std::nullopt);
  EXPECT_TRUE(script.done());
}

// Fifteen twips to a pixel at 96 DPI, scaled with the DPI, rounded to the nearest pixel; the
// edges of neighbouring rectangles stay flush when they round.
TEST(TwipsToPixels, ConvertsAtFifteenTwipsPerPixelScaledWithTheDpi) {
  const std::tuple<double, double, int> cases[] = {{15, 96, 1},      {8820, 96, 588},
                                                   {8820, 144, 882}, {8415.0 / 6.0, 96, 94},
                                                   {7, 96, 0},       {8, 96, 1}};
  for (const auto& [twips, dpi, pixels] : cases) {
    EXPECT_EQ(twipsToPixels(twips, dpi), pixels) << twips << " twips at " << dpi;
  }
  const QRect left = toPixels(Rect{0, 0, 22, 22}, 96), right = toPixels(Rect{22, 22, 22, 22}, 96);
  EXPECT_EQ(QPoint(left.right() + 1, left.bottom() + 1), right.topLeft());
}

// An installed face is taken as it is; a missing one gets an installed sans serif whose
// captions fit their boxes.
TEST(LayoutFonts, AMissingFaceGetsAnInstalledSansSerifWhoseCaptionsFitTheirBoxes) {
  const QString installed = QFontInfo(QApplication::font()).family();
  const QFont kept = layoutFont(Font{installed.toStdString(), 9.75});
  EXPECT_EQ(QFontInfo(kept).family(), installed);
  EXPECT_DOUBLE_EQ(kept.pointSizeF(), 9.75);
  const QFont font = layoutFont(Font{"MS Sans Serif No Such Face", 8});
  EXPECT_NE(QFontInfo(font).family(), "MS Sans Serif No Such Face");
  EXPECT_EQ(QFontInfo(font).styleHint(), QFont::SansSerif);
  // The widest captions of the layout against their boxes (twips / 15 at 96 DPI).
  const QFontMetricsF metrics(font);
  const double scale = metrics.fontDpi() / 96.0;
  EXPECT_LE(metrics.horizontalAdvance("Manifest Number :"), 80 * scale);
  EXPECT_LE(metrics.horizontalAdvance("Weight (lbs) :"), 73 * scale);
  EXPECT_GE(font.pointSizeF(), 6.0);
}

}  // namespace
}  // namespace tarvine::qt::test
