// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/KeyCapture.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace q905 {
namespace {

using Reports = std::vector<std::pair<int, bool>>;

// A focused dialog with an edit, the way the key dialogs use the capture.
class KeyCaptureTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dialog = std::make_unique<QDialog>();
        edit = new QLineEdit(dialog.get());
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        edit->setFocus();
    }
    // A key as the window system delivers it: the native scan code is the evdev code + 8.
    // timestamp: the window system's time of the key, in ms; 0 when it gives none.
    void key(QEvent::Type type, int evdevCode, Qt::Key qtKey = Qt::Key_A, bool repeat = false,
             quint64 timestamp = 0) {
        QKeyEvent event(type, qtKey, Qt::NoModifier, quint32(evdevCode + 8), 0, 0,
                        qtKey == Qt::Key_A ? QStringLiteral("a") : QString(), repeat);
        event.setTimestamp(timestamp);
        QApplication::sendEvent(edit, &event);
    }
    void tap(int evdevCode, Qt::Key qtKey = Qt::Key_A) {
        key(QEvent::KeyPress, evdevCode, qtKey);
        key(QEvent::KeyRelease, evdevCode, qtKey);
    }
    static Reports reports(const QSignalSpy& spy) {
        Reports out;
        for (const auto& args : spy)
            out.emplace_back(args.at(0).value<quint8>(), args.at(1).toBool());
        return out;
    }

    std::unique_ptr<QDialog> dialog;
    QLineEdit* edit = nullptr;
};

TEST_F(KeyCaptureTest, PressesBecomeVirtualKeysAndNeverReachTheDialog) {
    KeyCapture capture(dialog.get());
    QSignalSpy spy(&capture, &KeyCapture::keyCaptured);
    ASSERT_TRUE(capture.startCapture(KeyCaptureMode::KeyAssignment));
    ASSERT_TRUE(capture.isCapturing());

    const std::pair<int, int> keys[] = {
        {30, 'A'},  {16, 'Q'},   {44, 'Z'},   {11, '0'},   {29, 0xA2},  {97, 0xA3}, {42, 0xA0},
        {54, 0xA1}, {56, 0xA4},  {100, 0xA5}, {125, 0x5B}, {126, 0x5C}, {59, 0x70}, {68, 0x79},
        {87, 0x7A}, {88, 0x7B},  {82, 0x60},  {79, 0x61},  {73, 0x69},  {96, 0x6C}, {83, 0x6E},
        {98, 0x6F}, {113, 0xAD}, {115, 0xAF}, {164, 0xB3}, {165, 0xB1}, {86, 0xE2}};
    Reports expected;
    for (const auto& [evdev, code] : keys) {
        tap(evdev);
        expected.emplace_back(code, false);
    }
    // Keys the table does not know, and events without a scan code, report nothing.
    tap(85);
    tap(240);
    tap(-8);
    EXPECT_EQ(reports(spy), expected);
    EXPECT_TRUE(edit->text().isEmpty());

    // Enter and Esc would close the dialog if they got there.
    tap(28, Qt::Key_Return);
    tap(1, Qt::Key_Escape);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(reports(spy).back(), std::make_pair(0x1B, false));

    // Another window (a message box, a picker) gets its keys; the capture sees none of them.
    const auto before = spy.size();
    QLineEdit other;
    QKeyEvent typed(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, 30 + 8, 0, 0, QStringLiteral("a"));
    QApplication::sendEvent(&other, &typed);
    EXPECT_EQ(other.text(), QStringLiteral("a"));
    EXPECT_EQ(spy.size(), before);

    capture.stopCapture();
    EXPECT_FALSE(capture.isCapturing());
    tap(30);
    EXPECT_EQ(spy.size(), before);
    EXPECT_EQ(edit->text(), QStringLiteral("a"));
}

// However the window system repeats a held key, the key counts once: marked repeats, presses
// without releases (XKB detectable autorepeat, Wayland), and release/press pairs with one
// timestamp that X sends unmarked. A release waits for its pair, but never reorders keys.
TEST_F(KeyCaptureTest, AHeldKeyCountsOnceHoweverItRepeats) {
    QSignalSpy* spy = nullptr;
    QSignalSpy* repeats = nullptr;
    {
        KeyCapture capture(dialog.get());
        spy = new QSignalSpy(&capture, &KeyCapture::keyCaptured);
        repeats = new QSignalSpy(&capture, &KeyCapture::keyRepeated);
        ASSERT_TRUE(capture.startCapture(KeyCaptureMode::Macro));
        key(QEvent::KeyPress, 29, Qt::Key_Control, false, 100);
        key(QEvent::KeyPress, 21, Qt::Key_Y, false, 110);
        key(QEvent::KeyRelease, 21, Qt::Key_Y, true, 600);
        key(QEvent::KeyPress, 21, Qt::Key_Y, true, 600);
        key(QEvent::KeyPress, 21, Qt::Key_Y, false, 630);
        key(QEvent::KeyRelease, 21, Qt::Key_Y, false, 660);
        key(QEvent::KeyPress, 21, Qt::Key_Y, false, 660);
        EXPECT_EQ(repeats->size(), 3);
        // A real release: held back, then given with the next key, in order.
        key(QEvent::KeyRelease, 21, Qt::Key_Y, false, 700);
        key(QEvent::KeyRelease, 29, Qt::Key_Control, false, 710);
        EXPECT_EQ(reports(*spy), (Reports{{0xA2, false}, {'Y', false}, {'Y', true}}));
        // The last one is given once no press of its instant has come.
        ASSERT_TRUE(spy->wait());
        EXPECT_EQ(reports(*spy).back(), std::make_pair(0xA2, true));
        EXPECT_EQ(spy->back().at(2).toInt() >= 0, true);
        // A press of a pair whose release was already given is still no new press.
        key(QEvent::KeyPress, 29, Qt::Key_Control, false, 710);
        EXPECT_EQ(spy->size(), 4);

        // A release whose press went to another window (the Esc that closed a message box)
        // is not this window's.
        key(QEvent::KeyRelease, 1, Qt::Key_Escape);
        EXPECT_EQ(spy->size(), 4);

        // The capture ending under a held key: its repeats and release stay the capture's,
        // unreported, so the Esc that ended a recording is not the dialog's Cancel.
        key(QEvent::KeyPress, 1, Qt::Key_Escape, false, 800);
        capture.stopCapture();
        key(QEvent::KeyRelease, 1, Qt::Key_Escape, false, 1300);
        key(QEvent::KeyPress, 1, Qt::Key_Escape, false, 1300);
        key(QEvent::KeyPress, 1, Qt::Key_Escape, true, 1330);
        key(QEvent::KeyRelease, 1, Qt::Key_Escape, false, 1400);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(spy->size(), 5);
        tap(30); // any other key is the dialog's again
        EXPECT_EQ(edit->text(), QStringLiteral("a"));
    }
    // Destroyed: the filter is gone with it.
    tap(30);
    EXPECT_EQ(edit->text(), QStringLiteral("aa"));
    delete spy;
    delete repeats;
}

} // namespace
} // namespace q905
