// SPDX-License-Identifier: GPL-3.0-or-later
#include "macros/WorkingMacro.h"

#include "macros/KeyNameTable.h"

#include <algorithm>
#include <chrono>

namespace q905 {

WorkingMacro::WorkingMacro(MacroList& macros, Clock& clock, KeyCaptureControl& capture)
    : m_macros(macros), m_clock(clock), m_capture(capture) {}

WorkingMacro::~WorkingMacro() {
    if (m_capturing)
        m_capture.stopCapture();
}

void WorkingMacro::select(std::optional<int> index) {
    // An armed insertion names a row of the macro it was armed on.
    if (m_insertMode) {
        m_insertMode = false;
        releaseCaptureUnlessRecording();
    }
    if (!index || *index < 0 || static_cast<std::size_t>(*index) >= m_macros.size()) {
        m_selected.reset();
        m_device = {};
        m_key = {};
        rebuildRows();
        return;
    }
    m_selected = index;
    const MacroRecord& record = m_macros[static_cast<std::size_t>(*index)];
    m_options.name = record.name();
    m_options.hasDelay = record.hasDelay();
    const std::uint16_t loopCount = record.loopCount();
    m_options.loopOn = loopCount > 1;
    m_options.loopText = loopCount > 1 ? std::to_string(loopCount) : "1";

    m_device = record.deviceEvents();
    m_key = record.keyEvents();
    // A damaged or foreign record may carry bytes past the events both sequences agree on. They
    // are cut here: recording appends at the end of the events and would bring them back to
    // life behind the new event.
    const auto events = pairedEvents(m_device, m_key);
    const std::size_t end = events.empty() ? 0 : events.back().end();
    m_device.truncate(end);
    m_key.truncate(end);
    normaliseFirstEvent(m_device, m_key);
    rebuildRows();
}

void WorkingMacro::setLoop(bool on, std::string text) {
    m_options.loopOn = on;
    m_options.loopText = std::move(text);
}

std::vector<std::string> WorkingMacro::rowTexts() const {
    std::vector<std::string> texts;
    texts.reserve(m_rows.size());
    for (const EventRow& row : m_rows)
        texts.push_back(row.text);
    return texts;
}

RecordingResult WorkingMacro::startStopRecording() {
    if (!m_selected)
        return RecordingResult::NoMacroSelected;
    m_recording = !m_recording;
    if (!m_recording) {
        if (m_capturing) {
            m_capture.stopCapture();
            m_capturing = false;
        }
        return RecordingResult::Stopped;
    }
    // A recording replaces the macro; an insertion still armed would swallow its first key.
    m_insertMode = false;
    m_stopKeyDown.reset();
    if (!m_capturing)
        m_capturing = m_capture.startCapture(KeyCaptureMode::Macro);
    m_device = {};
    m_key = {};
    m_lastText.clear();
    rebuildRows();
    MacroRecord& record = m_macros[static_cast<std::size_t>(*m_selected)];
    record.setDeviceEvents({});
    record.setKeyEvents({});
    return RecordingResult::Started;
}

void WorkingMacro::stopCapture() {
    if (m_capturing) {
        m_capture.stopCapture();
        m_capturing = false;
    }
    m_recording = false;
    // Without the capture no key can complete the insertion; left armed, it would take the first
    // key of the next recording.
    m_insertMode = false;
}

CapturedKeyResult WorkingMacro::onCapturedKey(std::uint8_t code, bool release,
                                              std::chrono::milliseconds ago) {
    m_eventTime = m_clock.now() - ago;
    CapturedKeyResult result = CapturedKeyResult::Ignored;
    // A key the keyboard has no usage for would write key byte 0, which ends the macro.
    if (usageOf(code) == 0)
        result = CapturedKeyResult::Ignored;
    else if (m_insertMode)
        result = insertOneKey(code, release);
    else if (m_recording && m_capturing) {
        if (code != kStopRecordingKey && !release)
            m_stopKeyDown.reset(); // typing on: not a hold
        const auto stop = code == kStopRecordingKey ? stopKey(release) : std::nullopt;
        if (stop)
            result = *stop;
        else
            result = recordKey(code, release);
        if (code == kStopRecordingKey && result == CapturedKeyResult::Recorded && !release &&
            !m_stopKeyOffset)
            m_stopKeyOffset = m_rows.back().offset;
    }
    commit();
    return result;
}

CapturedKeyResult WorkingMacro::onKeyRepeat(std::uint8_t code) {
    if (code != kStopRecordingKey || !m_recording || !m_capturing || m_insertMode)
        return CapturedKeyResult::Ignored;
    m_eventTime = m_clock.now();
    const auto stop = checkStopKeyHold();
    if (!stop)
        return CapturedKeyResult::Dropped;
    commit();
    return *stop;
}

std::optional<CapturedKeyResult> WorkingMacro::stopKey(bool release) {
    if (!m_stopKeyDown) {
        if (!release) {
            m_stopKeyDown = m_eventTime;
            m_stopKeyOffset.reset();
        }
        return std::nullopt;
    }
    if (!release) // a repeating press, from a capture that reports them so
        return checkStopKeyHold().value_or(CapturedKeyResult::Dropped);
    if (const auto stop = checkStopKeyHold())
        return stop;
    m_stopKeyDown.reset(); // a short Esc: recorded as any key
    return std::nullopt;
}

std::optional<CapturedKeyResult> WorkingMacro::checkStopKeyHold() {
    if (!m_stopKeyDown || m_eventTime - *m_stopKeyDown < kStopRecordingHold)
        return std::nullopt;
    m_stopKeyDown.reset();
    // The press that began the hold goes; the releases of keys let go during it stay, or the
    // macro would end with them held.
    if (m_stopKeyOffset) {
        if (const auto press = m_key.eventAt(*m_stopKeyOffset)) {
            m_device.erase(*m_stopKeyOffset, press->size());
            m_key.erase(*m_stopKeyOffset, press->size());
        }
        normaliseFirstEvent(m_device, m_key);
        rebuildRows();
        m_stopKeyOffset.reset();
    }
    m_recording = false;
    if (m_capturing) {
        m_capture.stopCapture();
        m_capturing = false;
    }
    m_stoppedByKey = m_clock.now();
    return CapturedKeyResult::RecordingStopped;
}

bool WorkingMacro::isStopKeyRepeat() const {
    return m_stoppedByKey && m_clock.now() - *m_stoppedByKey <= kKeyRepeatInterval;
}

void WorkingMacro::noteStopKeyReport() {
    if (isStopKeyRepeat())
        m_stoppedByKey = m_clock.now();
    else
        m_stoppedByKey.reset();
}

int WorkingMacro::measureGap() {
    const Clock::TimePoint now = m_eventTime;
    const auto gap = std::chrono::duration_cast<std::chrono::microseconds>(now - m_lastTime);
    m_lastTime = now;
    const long long ms = gap.count() / 1000;
    return static_cast<int>(std::clamp<long long>(ms, 0, kMaxDelayMs));
}

CapturedKeyResult WorkingMacro::recordKey(std::uint8_t code, bool release) {
    const std::string text = keyRowText(code, release);
    if (release) {
        // A release moves the time mark even when it is dropped.
        const int ms = measureGap();
        if (text == m_lastText || writePos() >= kLastReleaseWritePos)
            return CapturedKeyResult::Dropped;
        insertMacroToList(code, writePos(), ms, true);
        return CapturedKeyResult::Recorded;
    }
    int ms = 0;
    if (m_rows.empty())
        m_lastTime = m_eventTime; // the first event has nothing to wait for
    else if (text != m_lastText)
        ms = measureGap();
    // A held key repeats its press; only the first one counts, and it leaves the time mark.
    if (text == m_lastText || writePos() >= kLastPressWritePos)
        return CapturedKeyResult::Dropped;
    insertMacroToList(code, writePos(), ms, false);
    return CapturedKeyResult::Recorded;
}

std::size_t WorkingMacro::insertMacroToList(std::uint8_t code, std::size_t pos, int ms,
                                            bool release) {
    const bool timed = m_options.hasDelay && !m_rows.empty();
    // A gap that measured 0 ms is stored as "no delay", so that no event carries d = 0: the
    // list would show a 0 ms row that eventAtRow does not count.
    const int delayMs = timed ? std::max(ms, int{kNoDelay}) : kNoDelay;
    const std::size_t before = m_key.end();
    if (!insertEvent(pos, release, delayMs, code))
        return pos;
    m_lastText = keyRowText(code, release);
    return pos + (m_key.end() - before);
}

CapturedKeyResult WorkingMacro::insertOneKey(std::uint8_t code, bool release) {
    if (!release) {
        // Keep room for the release that ends the insertion, so a press never stays alone.
        if (roomLeft() < 2 * kShortEventSize)
            return CapturedKeyResult::Dropped;
        insertEvent(eventAtRow(m_key, m_insertRow), false, kNoDelay, code);
        m_insertPresses.set(code);
        ++m_insertRow;
        return CapturedKeyResult::Inserted;
    }
    // The release of a key pressed before the insertion began (the Return that chose the menu
    // item) is not the end of this one.
    if (!m_insertPresses.test(code))
        return CapturedKeyResult::Ignored;
    m_insertMode = false;
    releaseCaptureUnlessRecording();
    insertEvent(eventAtRow(m_key, m_insertRow), true, kNoDelay, code);
    return CapturedKeyResult::InsertionEnded;
}

bool WorkingMacro::insertEvent(std::size_t offset, bool release, int delayMs, std::uint8_t code) {
    const auto deviceBytes = encodeEvent(release, delayMs, usageOf(code));
    const auto keyBytes = encodeEvent(release, delayMs, code);
    if (offset > m_key.end() || roomLeft() < keyBytes.size() ||
        m_device.end() + deviceBytes.size() > kEventSequenceSize)
        return false;
    const bool stored = m_device.insert(offset, deviceBytes) && m_key.insert(offset, keyBytes);
    rebuildRows();
    return stored;
}

bool WorkingMacro::setEventDelay(std::size_t offset, int delayMs) {
    const auto event = m_key.eventAt(offset);
    const auto deviceEvent = m_device.eventAt(offset);
    if (!event || !deviceEvent)
        return false;
    const auto keyBytes = encodeEvent(event->release, delayMs, event->key);
    if (keyBytes.size() > event->size() && roomLeft() < keyBytes.size() - event->size())
        return false;
    m_key.erase(offset, event->size());
    m_device.erase(offset, event->size());
    // Both fit again: the room for the growth was checked above.
    const bool stored =
        m_key.insert(offset, keyBytes) &&
        m_device.insert(offset, encodeEvent(event->release, delayMs, deviceEvent->key));
    rebuildRows();
    return stored;
}

void WorkingMacro::releaseCaptureUnlessRecording() {
    if (m_capturing && !m_recording) {
        m_capture.stopCapture();
        m_capturing = false;
    }
}

void WorkingMacro::finishEdit() {
    m_insertMode = false;
    // The capture was held only for the insertion this command dropped.
    releaseCaptureUnlessRecording();
    commit();
}

void WorkingMacro::rebuildRows() {
    m_rows = eventRows(m_device, m_key);
}

void WorkingMacro::commit() {
    if (!m_selected)
        return;
    // Nothing is refused: the selected record exists, and the dialog never lets its name go
    // empty.
    (void)commitMacro(m_macros, *m_selected, m_options.name, m_options.loopOn, m_options.loopText,
                      m_options.hasDelay, m_device, m_key);
}

} // namespace q905
