// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/ui/SkinCache.h"
#include "lighting/BasicColourTable.h"
#include "lighting/ColourDialogControls.h"
#include "lighting/ui/ColourDialog.h"
#include "lighting/ui/ColourSpectrum.h"
#include "lighting/ui/DialogColourPicker.h"
#include "support/ControlChecks.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace q905 {
namespace {

class ColourDialogTest : public ::testing::Test {
  protected:
    std::unique_ptr<ColourDialog> open(ColourValue colour, Language language = Language::English) {
        auto dialog = std::make_unique<ColourDialog>(
            language == Language::German ? germanSkin : skin, language, colour);
        dialog->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        return dialog;
    }
    // R, G, B, H, S, L.
    static QStringList fields(const ColourDialog& dialog) {
        QStringList texts;
        for (const char* name : {"red", "green", "blue", "hue", "saturation", "luminosity"})
            texts << dialog.findChild<QLineEdit*>(name)->text();
        return texts;
    }
    // The printed cell the dialog reports selected, -1 for none.
    static int selectedCell(const ColourDialog& dialog) {
        for (int cell = 0; cell < colour_dialog::kPrintedCells; ++cell)
            if (dialog.controlStatus(cell).selected)
                return cell;
        return -1;
    }
    static ColourSpectrum* spectrum(const ColourDialog& dialog) {
        return dialog.findChild<ColourSpectrum*>("spectrum");
    }
    static void clickAt(QWidget* widget, int x, int y) {
        QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(x, y));
    }
    static void clickCell(QWidget* dialog, int cell) {
        clickAt(dialog, BasicColourTable[cell].x + 5, BasicColourTable[cell].y + 5);
    }

    SkinCache skin{QStringLiteral(Q905_SKIN_DIR "/png/english")};
    SkinCache germanSkin{QStringLiteral(Q905_SKIN_DIR "/png/german")};
};

TEST_F(ColourDialogTest, OpensOnTheCallersColourWithoutACell) {
    auto dialog = open(makeColour(12, 12, 12));
    EXPECT_EQ(selectedCell(*dialog), -1);
    EXPECT_EQ(fields(*dialog), (QStringList{"12", "12", "12", "0", "0", "11"}));
    EXPECT_TRUE(dialog->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(spectrum(*dialog)->geometry(), QRect(171, 27, 160, 140));
    EXPECT_EQ(dialog->grab().toImage().pixelColor(30, 170), QColor(12, 12, 12)) << "preview";
}

TEST_F(ColourDialogTest, CellsChooseTheirColourAndTheFirstWhiteWins) {
    auto dialog = open(makeColour(12, 12, 12));
    clickCell(dialog.get(), 40);
    EXPECT_EQ(selectedCell(*dialog), 40);
    EXPECT_EQ(dialog->currentColour(), makeColour(0, 0, 0));
    clickCell(dialog.get(), 8);
    EXPECT_EQ(dialog->currentColour(), makeColour(255, 0, 0));
    EXPECT_EQ(fields(*dialog), (QStringList{"255", "0", "0", "0", "240", "120"}));
    EXPECT_EQ(spectrum(*dialog)->colour(), makeColour(255, 0, 0));
    clickCell(dialog.get(), 55);
    EXPECT_EQ(dialog->currentColour(), makeColour(255, 255, 255));

    // Between two cells: the selection goes, the colour stays.
    clickAt(dialog.get(), BasicColourTable[0].x + 16, BasicColourTable[0].y + 5);
    EXPECT_EQ(selectedCell(*dialog), -1);
    EXPECT_EQ(dialog->currentColour(), makeColour(255, 255, 255));

    EXPECT_EQ(selectedCell(*open(makeColour(255, 255, 255))), 47);
}

TEST_F(ColourDialogTest, TheSpectrumChangesTheColourButNotTheCell) {
    auto dialog = open(makeColour(12, 12, 12));
    clickCell(dialog.get(), 8);
    QSignalSpy changes(spectrum(*dialog), &ColourSpectrum::selectionChanged);
    spectrum(*dialog)->setFocus();
    QTest::keyClick(spectrum(*dialog), Qt::Key_End);
    ASSERT_EQ(changes.size(), 1);
    EXPECT_EQ(changes.first().at(1).toInt(), 9001);
    EXPECT_EQ(spectrum(*dialog)->model().crosshairX(), 160 - 36);
    EXPECT_EQ(dialog->currentColour(), changes.first().at(0).toUInt());
    EXPECT_EQ(fields(*dialog)[3], "239");
    EXPECT_EQ(selectedCell(*dialog), 8);

    QTest::keyClick(spectrum(*dialog), Qt::Key_Home);
    EXPECT_EQ(spectrum(*dialog)->model().crosshairX(), 0);
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
    EXPECT_EQ(selectedCell(*dialog), -1);
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

// The accessible child that stands for a painted control.
QAccessibleInterface* paintedChild(ColourDialog& dialog, int id) {
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(&dialog);
    for (int i = 0; i < root->childCount(); ++i)
        if (auto* child = dynamic_cast<PaintedControlAccessible*>(root->child(i));
            child && child->controlId() == id)
            return child;
    return nullptr;
}

TEST_F(ColourDialogTest, EveryControlIsNamedInBothLanguagesAndCellsByTheirColour) {
    for (Language language : {Language::English, Language::German}) {
        SCOPED_TRACE(language == Language::German ? "German" : "English");
        auto dialog = open(makeColour(255, 0, 0), language);
        test::expectEveryControlAccessible(*dialog);
    }
    auto dialog = open(makeColour(255, 0, 0), Language::German);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(dialog.get())->text(QAccessible::Name),
              "Farbe");
    EXPECT_EQ(dialog->findChild<QPushButton*>("cancel")->text(), "Abbrechen");
    QAccessibleInterface* red = paintedChild(*dialog, 8);
    ASSERT_NE(red, nullptr);
    EXPECT_EQ(red->text(QAccessible::Name), QString::fromUtf8("Rot 255, Grün 0, Blau 0"));
    EXPECT_TRUE(red->state().selected);
    EXPECT_EQ(paintedChild(*dialog, colour_dialog::kCells)->text(QAccessible::Value),
              red->text(QAccessible::Name));
    EXPECT_TRUE(dialog->findChild<QLineEdit*>("hue")->accessibleName() == "Farbton");
}

TEST_F(ColourDialogTest, TabVisitsTheGridTheSpectrumAndTheButtonsAndMarksTheCell) {
    using namespace colour_dialog;
    auto dialog = open(kDialogStartColour);
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    const auto expected = test::expectedTabCycle(*dialog, dialog->controlFocus());
    EXPECT_EQ(expected, (std::vector<int>{kCells, kSpectrum, kOk, kCancel}))
        << "the number fields only show";
    dialog->findChild<QPushButton*>("cancel")->setFocus(Qt::TabFocusReason);
    // The spectrum takes two presses: its field, then its luminosity bar.
    auto visited = test::tabRound(*dialog, dialog->controlFocus(), expected.size() + 1);
    visited.erase(std::unique(visited.begin(), visited.end()), visited.end());
    EXPECT_EQ(visited, expected);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(dialog->focusedControl(), kCells);
    EXPECT_TRUE(
        test::focusMarkDrawnAround(dialog.get(), toQRect(controlById(kControls, kCells)->rect)));
    QTest::keyClick(dialog.get(), Qt::Key_Right);
    EXPECT_TRUE(test::focusMarkDrawnAround(dialog.get(), toQRect(kControls[1].rect)))
        << "the mark follows the arrows";
}

TEST_F(ColourDialogTest, TheKeyboardAloneChoosesACellAndEnterReturnsIt) {
    DialogColourPicker picker(skin, Language::English);
    const auto play = [](std::vector<Qt::Key> keys) {
        QTimer::singleShot(0, [keys] {
            auto* dialog = qobject_cast<ColourDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            for (Qt::Key key : keys)
                QTest::keyClick(dialog->focusWidget(), key);
        });
    };
    // From the spectrum back to the grid; right, down and down again: cell 17.
    play({Qt::Key_Backtab, Qt::Key_Right, Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_Down,
          Qt::Key_Return});
    EXPECT_EQ(picker.pickColour(nullptr, kDialogStartColour), BasicColourTable[17].colour);
    // Enter on the spectrum is OK too; arrows there change the colour.
    play({Qt::Key_End, Qt::Key_Return});
    const auto fromSpectrum = picker.pickColour(nullptr, makeColour(255, 0, 0));
    ASSERT_TRUE(fromSpectrum);
    EXPECT_NE(*fromSpectrum, makeColour(255, 0, 0));
    play({Qt::Key_Backtab, Qt::Key_Left, Qt::Key_Escape});
    EXPECT_EQ(picker.pickColour(nullptr, kDialogStartColour), std::nullopt);
}

} // namespace
} // namespace q905
