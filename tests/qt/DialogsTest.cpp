// Real dialogs: the message box's icon and buttons, its title, the input box's answers; and the
// layout conversions that place every widget.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest/QTest>

#include "Layout.h"
#include "QtDialogs.h"
#include "QtTestSupport.h"

namespace tarvine::qt::test {
namespace {

struct ButtonsCase {
  int buttons;
  QMessageBox::Icon icon;
  QMessageBox::StandardButtons shown;
};

std::ostream& operator<<(std::ostream& out, const ButtonsCase& c) {
  return out << "buttons value " << c.buttons;
}

class MessageButtons : public ::testing::TestWithParam<ButtonsCase> {};

TEST_P(MessageButtons, GiveTheIconAndButtonsOfTheValue) {
  EXPECT_EQ(messageIcon(GetParam().buttons), GetParam().icon);
  EXPECT_EQ(messageButtons(GetParam().buttons), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Values, MessageButtons,
    ::testing::Values(
        ButtonsCase{kMsgInformationOk, QMessageBox::Information, QMessageBox::Ok},
        ButtonsCase{0, QMessageBox::NoIcon, QMessageBox::Ok},
        ButtonsCase{16 + 1, QMessageBox::Critical, QMessageBox::Ok | QMessageBox::Cancel},
        ButtonsCase{32 + 4, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No},
        ButtonsCase{48 + 3, QMessageBox::Warning,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel},
        ButtonsCase{2, QMessageBox::NoIcon,
                    QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore},
        ButtonsCase{5, QMessageBox::NoIcon, QMessageBox::Retry | QMessageBox::Cancel}));

TEST(MessageResult, NumbersThePressedButtonAsThePlatformDid) {
  EXPECT_EQ(messageResult(QMessageBox::Ok), kMsgResultOk);
  EXPECT_EQ(messageResult(QMessageBox::Cancel), 2);
  EXPECT_EQ(messageResult(QMessageBox::Abort), 3);
  EXPECT_EQ(messageResult(QMessageBox::Retry), 4);
  EXPECT_EQ(messageResult(QMessageBox::Ignore), 5);
  EXPECT_EQ(messageResult(QMessageBox::Yes), 6);
  EXPECT_EQ(messageResult(QMessageBox::No), 7);
}

class RealDialogs : public ::testing::Test {
 protected:
  QtDialogs dialogs;
  ModalScript script;
};

TEST_F(RealDialogs, AMessageBoxIsModalAndTitledWithTheTitleOrTheApplication) {
  script.expect(kMessageBoxName, [](QWidget& dialog) {
    auto& box = static_cast<QMessageBox&>(dialog);
    EXPECT_TRUE(box.isModal());
    EXPECT_EQ(box.windowTitle(), "Outgoing Load Save");
    EXPECT_EQ(box.text(), "Outgoing load information has been updated successfully!!!");
    EXPECT_EQ(box.icon(), QMessageBox::Information);
    box.button(QMessageBox::Ok)->click();
  });
  script.expect(kMessageBoxName, [](QWidget& dialog) {
    auto& box = static_cast<QMessageBox&>(dialog);
    EXPECT_EQ(box.windowTitle(), "TarvineOrderPick");
    EXPECT_EQ(box.text(), "first line\nsecond line");
    QTest::keyClick(&box, Qt::Key_Escape);
  });
  script.start();
  EXPECT_EQ(dialogs.messageBox("Outgoing load information has been updated successfully!!!",
                               kMsgInformationOk, std::string("Outgoing Load Save")),
            kMsgResultOk);
  EXPECT_EQ(dialogs.messageBox("first line\r\nsecond line", kMsgInformationOk, std::nullopt),
            kMsgResultOk);
  EXPECT_TRUE(script.done());
}

TEST_F(RealDialogs, AnInputBoxGivesTheTypedAnswerOrNothingWhenCancelled) {
  script.expect(kInputBoxName, [](QWidget& dialog) {
    auto& input = static_cast<QInputDialog&>(dialog);
    EXPECT_EQ(input.windowTitle(), "Outgoing Load");
    EXPECT_EQ(input.labelText(), "Please enter the new Freight");
    EXPECT_EQ(input.textValue(), "12.50");
    auto* edit = input.findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    edit->selectAll();
    QTest::keyClicks(edit, "99");
    QTest::keyClick(edit, Qt::Key_Return);
  });
  script.expect(kInputBoxName, [](QWidget& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "TarvineOrderPick");
    static_cast<QDialog&>(dialog).reject();
  });
  script.start();
  EXPECT_EQ(dialogs.inputBox("Please enter the new Freight", "Outgoing Load", "12.50"), "99");
  EXPECT_EQ(dialogs.inputBox("Why?", "", "because"), std::nullopt);
  EXPECT_TRUE(script.done());
}

struct TwipsCase {
  double twips;
  double dpi;
  int pixels;
};

std::ostream& operator<<(std::ostream& out, const TwipsCase& c) {
  return out << c.twips << " twips at " << c.dpi << " dpi";
}

class TwipsToPixels : public ::testing::TestWithParam<TwipsCase> {};

TEST_P(TwipsToPixels, ConvertsAtFifteenTwipsPerPixelScaledWithTheDpi) {
  EXPECT_EQ(twipsToPixels(GetParam().twips, GetParam().dpi), GetParam().pixels);
}

INSTANTIATE_TEST_SUITE_P(Values, TwipsToPixels,
                         ::testing::Values(TwipsCase{15, 96, 1}, TwipsCase{8820, 96, 588},
                                           TwipsCase{7455, 96, 497}, TwipsCase{8820, 144, 882},
                                           TwipsCase{8415.0 / 6.0, 96, 94}, TwipsCase{7, 96, 0},
                                           TwipsCase{8, 96, 1}, TwipsCase{0, 192, 0}));

TEST(LayoutRectangles, NeighboursStayFlushWhenEdgesRound) {
  const QRect left = toPixels(Rect{0, 0, 22, 22}, 96);
  const QRect right = toPixels(Rect{22, 22, 22, 22}, 96);
  EXPECT_EQ(left.right() + 1, right.left());
  EXPECT_EQ(left.bottom() + 1, right.top());
}

TEST(LayoutFonts, AMissingFaceGetsAnInstalledSansSerifWhoseCaptionsFitTheirBoxes) {
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

TEST(LayoutFonts, AnInstalledFaceIsTakenAsItIs) {
  const QString installed = QFontInfo(QApplication::font()).family();
  const QFont font = layoutFont(Font{installed.toStdString(), 9.75});
  EXPECT_EQ(QFontInfo(font).family(), installed);
  EXPECT_DOUBLE_EQ(font.pointSizeF(), 9.75);
}

}  // namespace
}  // namespace tarvine::qt::test
