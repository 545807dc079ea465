// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The macro being recorded or edited in the macro dialog: its two event sequences (usages for
// the keyboard, key codes for the host), the rows of the event list, and the recording state.
// The rows are always derived from the bytes, so the list, both sequences and the write
// position cannot drift apart. Every change is stored into the selected record of the list
// being edited with commitMacro. The dialog forwards clicks, menu commands and key capture reports
// here and redraws from rows().

#include "device/Clock.h"
#include "macros/EventSequence.h"
#include "macros/KeyCaptureControl.h"
#include "macros/MacroModel.h"

#include <bitset>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace q905 {

// Recording stops taking presses here (room for the press and its release) and releases here
// (room for an extended release), so a recorded macro never outgrows its 190 bytes.
inline constexpr std::size_t kLastPressWritePos = 184;
inline constexpr std::size_t kLastReleaseWritePos = 188;

// Recording takes every key, so its own end must be a key it would never record that way: Esc
// held this long stops it, and the held press is not kept. A shorter Esc is recorded as usual.
// The hold is timed from the first press, so a busy window that handles the key's repeats late
// still stops at the same moment.
inline constexpr std::uint8_t kStopRecordingKey = 0x1B;
inline constexpr std::chrono::milliseconds kStopRecordingHold{1000};
// Reports of a held key come at least this often.
inline constexpr std::chrono::milliseconds kKeyRepeatInterval{250};

enum class MouseButton : std::uint8_t { Left = 0xF0, Right = 0xF1, Middle = 0xF2 };
enum class MouseAction { Down, Up, Click };

// The dialog's settings that commitMacro stores with the events.
struct MacroOptions {
    std::u16string name; // the selected row of the name list
    bool loopOn = false;
    std::string loopText = "1"; // the loop box
    bool hasDelay = false;      // "Delay between keystrokes": record measured gaps
};

enum class RecordingResult { Started, Stopped, NoMacroSelected };

enum class CapturedKeyResult {
    Ignored,          // not recording and no insertion armed, a key without a usage, or the
                      // release of a key pressed before the insertion began
    Recorded,         // appended; the dialog selects the last row
    Dropped,          // a repeating press, a doubled release, or no room left
    Inserted,         // a press of a one-key insertion
    InsertionEnded,   // the release of a key the insertion took, which ends it (inserted when it
                      // fitted)
    RecordingStopped, // Esc held long enough: recording is off and the capture stopped
};

enum class EditResult {
    Changed,            // bytes and rows changed; the macro was stored
    Armed,              // the next key pressed and released is inserted
    Ignored,            // no such row, no selected macro, or nothing to do
    DelayRowSelected,   // Insert Delay on a delay row: the dialog asks to edit that delay instead
    NoRoom,             // refused whole: the events would not fit in 190 bytes
    CaptureUnavailable, // the key capture could not be started
};

class WorkingMacro {
  public:
    // macros is the list being edited (the dialog's working copy); the key capture and the clock
    // must outlive this object.
    WorkingMacro(MacroList& macros, Clock& clock, KeyCaptureControl& capture);
    ~WorkingMacro();
    WorkingMacro(const WorkingMacro&) = delete;
    WorkingMacro& operator=(const WorkingMacro&) = delete;

    // Selection change in the name list: takes the record's events, delay flag, loop count and
    // name, and drops an armed insertion. Recording, if on, continues into this macro. No index,
    // or one outside the list, clears the selection and the events.
    void select(std::optional<int> index);
    std::optional<int> selected() const { return m_selected; }

    const MacroOptions& options() const { return m_options; }
    // A rename in the name list must reach here too: every store uses this name, and a macro
    // without one is not stored.
    void setName(std::u16string name) { m_options.name = std::move(name); }
    void setLoop(bool on, std::string text);
    void setHasDelay(bool on) { m_options.hasDelay = on; }

    const std::vector<EventRow>& rows() const { return m_rows; }
    // "A dn", "50 ms", "A up": the rows as the key name table names them.
    std::vector<std::string> rowTexts() const;
    const EventSequence& deviceEvents() const { return m_device; }
    const EventSequence& keyEvents() const { return m_key; }
    // Recording always appends, so the write position is the end of the events.
    std::size_t writePos() const { return m_key.end(); }

    bool recording() const { return m_recording; }
    bool insertMode() const { return m_insertMode; }
    int insertRow() const { return m_insertRow; }

    // Recording (the record button).
    RecordingResult startStopRecording();
    // A key transition reported by the key capture, which happened ago before now.
    CapturedKeyResult onCapturedKey(std::uint8_t code, bool release,
                                    std::chrono::milliseconds ago = std::chrono::milliseconds{0});
    // The key capture's report that the key pressed last is still held and repeating; only
    // the stop key's hold cares (RecordingStopped once it is long enough).
    CapturedKeyResult onKeyRepeat(std::uint8_t code);
    // Once a hold of the stop key ended the recording, the window gets the key's further repeats
    // and its release: true for those, the reports that follow the last one closely.
    bool isStopKeyRepeat() const;
    // A report of the stop key reached the window: a repeat moves the hold's end on, any other
    // report ends the hold.
    void noteStopKeyReport();
    // An in-place edit begins, or New, Delete, Save or closing: the capture stops, recording stops
    // and an armed insertion is dropped.
    void stopCapture();

    // Editing commands on the selected row of the event list.
    EditResult recordBefore(int row);
    EditResult recordAfter(int row);
    EditResult insertMouseKey(int row, MouseButton button, MouseAction action);
    EditResult insertDelay(int row);
    EditResult deleteRow(int row);
    // The in-place edit of a delay row ended with value ms (held to 2..60000).
    EditResult editDelay(int row, int ms);

  private:
    std::size_t insertMacroToList(std::uint8_t code, std::size_t pos, int ms, bool release);
    CapturedKeyResult insertOneKey(std::uint8_t code, bool release);
    CapturedKeyResult recordKey(std::uint8_t code, bool release);
    // The stop key's reports while recording; none when they are recorded as any other key's.
    std::optional<CapturedKeyResult> stopKey(bool release);
    std::optional<CapturedKeyResult> checkStopKeyHold();
    // The time of the event being handled, and the gap since the last measured one.
    int measureGap();
    EditResult arm(int row);

    bool validRow(int row) const { return row >= 0 && row < static_cast<int>(m_rows.size()); }
    bool isDelayRow(int row) const { return validRow(row) && m_rows[row].isDelay(); }
    std::size_t roomLeft() const { return kEventSequenceSize - m_key.end(); }
    // Both sequences get the event at offset; false (nothing changed) when it does not fit.
    bool insertEvent(std::size_t offset, bool release, int delayMs, std::uint8_t code);
    // The event at offset keeps its key and direction but waits delayMs (1 = no wait).
    bool setEventDelay(std::size_t offset, int delayMs);
    // Bytes changed by a command: the armed insertion is dropped and the macro stored.
    void finishEdit();
    void releaseCaptureUnlessRecording();
    void rebuildRows();
    void commit();

    MacroList& m_macros;
    Clock& m_clock;
    KeyCaptureControl& m_capture;

    std::optional<int> m_selected;
    MacroOptions m_options;
    EventSequence m_device;
    EventSequence m_key;
    std::vector<EventRow> m_rows;

    bool m_capturing = false;
    bool m_recording = false;
    bool m_insertMode = false;
    int m_insertRow = 0;
    std::bitset<256> m_insertPresses; // key codes pressed since the insertion was armed
    std::string m_lastText;
    Clock::TimePoint m_lastTime{};
    Clock::TimePoint m_eventTime{};                 // when the event being handled happened
    std::optional<Clock::TimePoint> m_stopKeyDown;  // the stop key is held since then
    std::optional<Clock::TimePoint> m_stoppedByKey; // the last report of the hold that stopped
    std::optional<std::size_t> m_stopKeyOffset;     // where its press was recorded
};

} // namespace q905
