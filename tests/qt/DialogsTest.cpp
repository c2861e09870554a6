// Real dialogs: the message box's icon and buttons, its title, the input box's answers; and the
// layout conversions that place every widget.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QMessageBox>

#include "Golden.h"
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
// typed answer, or nothing when cancelled (tests/golden/qt/dialogs.txt).
TEST(RealDialogs, AskAndGiveTheAnswer) {
  QtDialogs dialogs;
  ModalScript script;
  script.answer("Ok Escape =99 Escape");
  script.start();
  for (const auto& [text, title] :
       {std::pair<const char*, std::optional<std::string>>{"Saved", "Outgoing Load Save"},
        {"first line\r\nsecond line", std::nullopt}}) {
    script.note("result " + std::to_string(dialogs.messageBox(text, kMsgInformationOk, title)));
  }
  script.note(dialogs.inputBox("Please enter the new Freight", "Outgoing Load", "12.50")
                  .value_or("no answer"));
  script.note(dialogs.inputBox("Why?", "", "because").value_or("no answer"));
  tarvine::test::expectGolden(script.transcript(), "qt/dialogs.txt");
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
