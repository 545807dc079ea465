// SPDX-License-Identifier: GPL-3.0-or-later
// The skinned list's in-place editor: which rows open it, how a number is held to its range, and
// which endings report to the owner.
#include "controls/ui/InPlaceEditor.h"
#include "controls/ui/SkinListBox.h"

#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace q905 {
namespace {

class SkinListBoxTest : public ::testing::Test {
  protected:
    void SetUp() override {
        list.resize(120, 200);
        list.setTextFont(16, QStringLiteral("Arial"), Qt::white, QColor(0, 255, 255), true,
                         Qt::black, 2);
        list.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
        list.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&list));
    }
    void type(const QString& text, Qt::Key ending) {
        ASSERT_NE(list.editor(), nullptr);
        list.editor()->selectAll();
        QTest::keyClicks(list.editor(), text);
        QTest::keyClick(list.editor(), ending);
    }

    SkinListBox list;
    QSignalSpy begun{&list, &SkinListBox::editBegin};
    QSignalSpy done{&list, &SkinListBox::editDone};
};

TEST_F(SkinListBoxTest, NumberRowsAreHeldToTheirRange) {
    using Icon = SkinListBox::RowIcon;
    list.setEditMode(SkinListBox::EditMode::Number);
    list.setNumberRange(2, 60000, QStringLiteral("ms"));
    list.addRow(QStringLiteral("A"), Icon::Down, false);
    list.addRow(QStringLiteral("50 ms"), Icon::Clock, true);
    list.addRow(QStringLiteral("A"), Icon::Up, false);
    EXPECT_FALSE(list.beginEdit(0)) << "a row not added as editable";
    list.setCurrentRow(0);
    QTest::keyClick(&list, Qt::Key_F2);
    EXPECT_EQ(begun.count(), 0);

    list.setCurrentRow(1);
    QTest::keyClick(&list, Qt::Key_F2); // F2 edits the current row
    ASSERT_NE(list.editor(), nullptr);
    EXPECT_EQ(list.editor()->text(), "50");
    type(QStringLiteral("0"), Qt::Key_Return);
    EXPECT_EQ(list.item(1)->text(), "2 ms");
    ASSERT_TRUE(list.beginEdit(1));
    type(QStringLiteral("70000"), Qt::Key_Enter);
    EXPECT_EQ(list.item(1)->text(), "60000 ms");
    ASSERT_TRUE(list.beginEdit(1));
    type(QStringLiteral("60000"), Qt::Key_Return); // unchanged: still reported
    ASSERT_EQ(done.count(), 3);
    EXPECT_EQ(done[0], (QList<QVariant>{1, 2}));
    EXPECT_EQ(done[1], (QList<QVariant>{1, 60000}));
    EXPECT_EQ(begun.count(), 3);

    ASSERT_TRUE(list.beginEdit(1));
    type(QStringLiteral("999"), Qt::Key_Escape);
    EXPECT_EQ(list.item(1)->text(), "60000 ms");
    EXPECT_EQ(done.count(), 3) << "Esc reports nothing";
    EXPECT_EQ(list.editor(), nullptr);

    // A wheel turn commits the open edit.
    ASSERT_TRUE(list.beginEdit(1));
    list.editor()->setText(QStringLiteral("300"));
    QWheelEvent wheel(QPointF(10, 10), list.mapToGlobal(QPointF(10, 10)), {}, {0, -120},
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(list.viewport(), &wheel);
    EXPECT_EQ(list.item(1)->text(), "300 ms");
}

TEST_F(SkinListBoxTest, RenameReportsOnlyAChangedText) {
    list.setEditMode(SkinListBox::EditMode::Rename);
    for (const char* row : {"a", "b", "c"})
        list.addRow(QString::fromLatin1(row));
    ASSERT_TRUE(list.beginEdit(2));
    type(QStringLiteral("c"), Qt::Key_Return);
    EXPECT_EQ(done.count(), 0);
    ASSERT_TRUE(list.beginEdit(2));
    type(QStringLiteral("Work"), Qt::Key_Return);
    ASSERT_EQ(done.count(), 1);
    EXPECT_EQ(done[0], (QList<QVariant>{2, 2}));
    EXPECT_EQ(list.rowTexts(), (QStringList{"a", "b", "Work"}));
    EXPECT_EQ(list.selectedRow(), 2);
}

} // namespace
} // namespace q905
