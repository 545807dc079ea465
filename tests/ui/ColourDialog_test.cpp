#include "controls/ui/SkinCache.h"
#include "lighting/BasicColourTable.h"
#include "lighting/ui/ColourDialog.h"
#include "lighting/ui/ColourSpectrum.h"
#include "lighting/ui/DialogColourPicker.h"

#include <QApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace q905 {
namespace {

class ColourDialogTest : public ::testing::Test {
  protected:
    std::unique_ptr<ColourDialog> open(ColourValue colour) {
        auto dialog = std::make_unique<ColourDialog>(skin, Language::English, colour);
        dialog->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        return dialog;
    }
    static QStringList fields(const ColourDialog& dialog) {
        QStringList texts;
        for (int i = 0; i < 6; ++i)
            texts << dialog.fieldText(i);
        return texts;
    }
    static void clickAt(QWidget* widget, int x, int y) {
        QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(x, y));
    }
    static void clickCell(QWidget* dialog, int cell) {
        clickAt(dialog, BasicColourTable[cell].x + 5, BasicColourTable[cell].y + 5);
    }

    SkinCache skin{QStringLiteral(Q905_SKIN_DIR "/png/english")};
};

TEST_F(ColourDialogTest, OpensOnTheCallersColourWithoutACell) {
    auto dialog = open(makeColour(12, 12, 12));
    EXPECT_EQ(dialog->selectedCell(), -1);
    EXPECT_EQ(fields(*dialog), (QStringList{"12", "12", "12", "0", "0", "11"}));
    EXPECT_TRUE(dialog->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(dialog->spectrum()->geometry(), QRect(171, 27, 160, 140));
    EXPECT_EQ(dialog->grab().toImage().pixelColor(30, 170), QColor(12, 12, 12)) << "preview";
}

TEST_F(ColourDialogTest, CellsChooseTheirColourAndTheFirstWhiteWins) {
    auto dialog = open(makeColour(12, 12, 12));
    clickCell(dialog.get(), 40);
    EXPECT_EQ(dialog->selectedCell(), 40);
    EXPECT_EQ(dialog->currentColour(), makeColour(0, 0, 0));
    clickCell(dialog.get(), 8);
    EXPECT_EQ(dialog->currentColour(), makeColour(255, 0, 0));
    EXPECT_EQ(fields(*dialog), (QStringList{"255", "0", "0", "0", "240", "120"}));
    EXPECT_EQ(dialog->spectrum()->colour(), makeColour(255, 0, 0));
    clickCell(dialog.get(), 55);
    EXPECT_EQ(dialog->currentColour(), makeColour(255, 255, 255));

    // Between two cells: the selection goes, the colour stays.
    clickAt(dialog.get(), BasicColourTable[0].x + 16, BasicColourTable[0].y + 5);
    EXPECT_EQ(dialog->selectedCell(), -1);
    EXPECT_EQ(dialog->currentColour(), makeColour(255, 255, 255));

    EXPECT_EQ(open(makeColour(255, 255, 255))->selectedCell(), 47);
}

TEST_F(ColourDialogTest, TheSpectrumChangesTheColourButNotTheCell) {
    auto dialog = open(makeColour(12, 12, 12));
    clickCell(dialog.get(), 8);
    QSignalSpy changes(dialog->spectrum(), &ColourSpectrum::selectionChanged);
    dialog->spectrum()->setFocus();
    QTest::keyClick(dialog->spectrum(), Qt::Key_End);
    ASSERT_EQ(changes.size(), 1);
    EXPECT_EQ(changes.first().at(1).toInt(), 9001);
    EXPECT_EQ(dialog->spectrum()->model().crosshairX(), 160 - 36);
    EXPECT_EQ(dialog->currentColour(), changes.first().at(0).toUInt());
    EXPECT_EQ(dialog->fieldText(3), "239");
    EXPECT_EQ(dialog->selectedCell(), 8);

    QTest::keyClick(dialog->spectrum(), Qt::Key_Home);
    EXPECT_EQ(dialog->spectrum()->model().crosshairX(), 0);
}

TEST_F(ColourDialogTest, TheCloseMarkCancels) {
    auto dialog = open(makeColour(12, 12, 12));
    clickAt(dialog.get(), 325, 10);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(ColourDialogTest, DraggingTheBackgroundMovesTheDialogAndPicksNothing) {
    auto dialog = open(makeColour(12, 12, 12));
    const QPoint start = dialog->pos();
    const QPoint cell(BasicColourTable[8].x + 5, BasicColourTable[8].y + 5);
    QTest::mousePress(dialog.get(), Qt::LeftButton, {}, cell);
    QMouseEvent move(QEvent::MouseMove, QPointF(cell + QPoint(40, 30)),
                     dialog->mapToGlobal(QPointF(cell + QPoint(40, 30))), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(dialog.get(), &move);
    QTest::mouseRelease(dialog.get(), Qt::LeftButton, {}, cell + QPoint(40, 30));
    EXPECT_EQ(dialog->selectedCell(), -1);
    EXPECT_EQ(dialog->currentColour(), makeColour(12, 12, 12));
    // Without a window manager the dialog moves itself; with one the manager does.
    if (dialog->pos() != start) {
        EXPECT_EQ(dialog->pos(), start + QPoint(40, 30));
    }
}

TEST_F(ColourDialogTest, ThePickerReturnsTheColourOnOkOnly) {
    DialogColourPicker picker(skin, Language::English);
    auto answer = [](bool ok) {
        QTimer::singleShot(0, [ok] {
            auto* dialog = qobject_cast<ColourDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            clickCell(dialog, 18);
            dialog->findChild<QPushButton*>(ok ? "ok" : "cancel")->click();
        });
    };
    answer(true);
    EXPECT_EQ(picker.pickColour(nullptr, kDialogStartColour), makeColour(0, 255, 0));
    answer(false);
    EXPECT_EQ(picker.pickColour(nullptr, kDialogStartColour), std::nullopt);
}

} // namespace
} // namespace q905
