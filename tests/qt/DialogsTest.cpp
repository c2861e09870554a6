// Real dialogs: the default button of a question (their titles, texts and answers: the window
// tests' transcripts); and the layout conversions that place every widget.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest/QTest>

#include "Layout.h"
#include "QtDialogs.h"
#include "QtTestSupport.h"

namespace tarvine::qt::test {
namespace {

// Enter presses the button a question names as its default, the one that loses nothing: No for
// a question before a save, Cancel for Save / Discard / Cancel, whose first two carry Alt+S, Alt+D.
TEST(RealDialogs, EnterKeepsWhatAQuestionWouldOverwriteOrDrop) {
  QtDialogs dialogs;
  ModalScript script;
  script.answer("Enter");
  script.expect([](QWidget& dialog) {
    auto& box = static_cast<QMessageBox&>(dialog);
    EXPECT_EQ(box.button(QMessageBox::Save)->text() + box.button(QMessageBox::Discard)->text(),
              "&Save&Discard");
    QTest::keyClick(&box, Qt::Key_Return);
  });
  script.start();
  EXPECT_EQ(dialogs.messageBox("Save\r\nanyway?", kMsgSaveQuestion, "Trailer"), kMsgResultNo);
  EXPECT_EQ(dialogs.saveDiscardCancel("Save them first?", "Unsaved"), kMsgResultCancel);
  // A prompt's CR LF is one line break.
  EXPECT_NE(script.transcript().find(": Save\nanyway? -> Enter"), std::string::npos);
}

// Fifteen twips to a pixel at 96 DPI, scaled with the DPI (a tenth at 144), each edge rounded to
// the nearest pixel so that neighbours stay flush: 0.7 and 1.4 become 1, 882.6 and 883.3 883.
TEST(TwipsToPixels, ScaleWithTheDpiAndRoundEachEdge) {
  EXPECT_EQ(toPixels(Rect{7, 8826, 7, 7}, 144), QRect(1, 883, 0, 0));
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
