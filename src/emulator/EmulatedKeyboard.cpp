// SPDX-License-Identifier: GPL-3.0-or-later
#include "emulator/EmulatedKeyboard.h"

#include "base/AtomicFile.h"
#include "base/RegularFile.h"
#include "emulator/EmulatedBackend.h"
#include "emulator/KeyboardState.h"

#include <algorithm>
#include <thread>

namespace q905 {

namespace {
// Key map entry kind whose press the keyboard reports to the host instead of sending a key.
constexpr std::uint8_t kHostActionKind = 10;
constexpr std::size_t kKeyMapPositions = layout::kKeyMapBlock.size / 4;
constexpr std::uint8_t kLaunchRequest = 2;
} // namespace

class EmulatedKeyboard::Impl {
  public:
    Impl() : state(std::make_shared<KeyboardState>()), backend(state) {}

    // Brings a replugged keyboard back after its time away, for as long as the keyboard lives.
    void comeBackLoop();

    std::shared_ptr<KeyboardState> state;
    EmulatedBackend backend;
    SystemClock systemClock;
    std::thread comeBack; // started with the first replug fault
};

void EmulatedKeyboard::Impl::comeBackLoop() {
    // Slices of the time away, so that the keyboard's end is not held up by a long one.
    constexpr std::chrono::milliseconds kAwaySlice{50};
    KeyboardState& keyboard = *state;
    std::unique_lock lock(keyboard.mutex);
    for (;;) {
        keyboard.comeBackChanged.wait(
            lock, [&] { return keyboard.destroyed || keyboard.comeBackAfter.has_value(); });
        if (keyboard.destroyed)
            return;
        std::chrono::milliseconds away = *keyboard.comeBackAfter;
        keyboard.comeBackAfter.reset();
        while (away.count() > 0) {
            if (keyboard.destroyed)
                return;
            const std::chrono::milliseconds slice = std::min(away, kAwaySlice);
            lock.unlock();
            keyboard.clock->sleep(slice);
            lock.lock();
            away -= slice;
        }
        if (!keyboard.plugLocked())
            continue;
        lock.unlock();
        keyboard.announcePlug(true);
        lock.lock();
    }
}

EmulatedKeyboard::EmulatedKeyboard(Options options) : m_impl(std::make_unique<Impl>()) {
    KeyboardState& state = *m_impl->state;
    state.firmware.setVersion(options.firmwareMajor, options.firmwareMinor);
    state.latency = options.latency;
    state.clock = options.clock ? options.clock : &m_impl->systemClock;
}

EmulatedKeyboard::EmulatedKeyboard() : EmulatedKeyboard(Options{}) {}

EmulatedKeyboard::~EmulatedKeyboard() {
    KeyboardState& state = *m_impl->state;
    {
        std::lock_guard lock(state.mutex);
        state.destroyed = true;
        state.readers.clear();
        state.notificationsChanged.notify_all();
        state.comeBackChanged.notify_all();
    }
    if (m_impl->comeBack.joinable())
        m_impl->comeBack.join();
}

HidBackend& EmulatedKeyboard::backend() {
    return m_impl->backend;
}

SettingsImage EmulatedKeyboard::memory() const {
    std::lock_guard lock(m_impl->state->mutex);
    return m_impl->state->firmware.memory();
}

void EmulatedKeyboard::setMemory(const SettingsImage& memory) {
    std::lock_guard lock(m_impl->state->mutex);
    m_impl->state->firmware.setMemory(memory);
}

void EmulatedKeyboard::factoryReset() {
    std::lock_guard lock(m_impl->state->mutex);
    m_impl->state->firmware.factoryReset();
}

Status EmulatedKeyboard::loadMemory(const std::filesystem::path& file) {
    const FileContents contents = readRegularFile(file, kSettingsImageSize);
    if (contents.status == FileReadStatus::Missing)
        return Status::success();
    if (!contents.ok())
        return Status::failure(contents.message);
    if (contents.bytes.size() != kSettingsImageSize)
        return Status::failure(file.string() + " is not a keyboard memory file: it holds " +
                               std::to_string(contents.bytes.size()) + " bytes instead of " +
                               std::to_string(kSettingsImageSize));
    SettingsImage memory;
    std::copy(contents.bytes.begin(), contents.bytes.end(), memory.bytes().begin());
    setMemory(memory);
    return Status::success();
}

Status EmulatedKeyboard::saveMemory(const std::filesystem::path& file) const {
    const SettingsImage image = memory();
    return saveFileAtomically(file, image.bytes());
}

void EmulatedKeyboard::setFirmwareVersion(std::uint8_t major, std::uint8_t minor) {
    std::lock_guard lock(m_impl->state->mutex);
    m_impl->state->firmware.setVersion(major, minor);
}

void EmulatedKeyboard::setLatency(std::chrono::microseconds latency) {
    std::lock_guard lock(m_impl->state->mutex);
    m_impl->state->latency = latency;
}

void EmulatedKeyboard::sendLightingChange(std::uint8_t field, std::uint8_t wireValue) {
    std::lock_guard lock(m_impl->state->mutex);
    // An unplugged keyboard has no power for its hot keys.
    if (!m_impl->state->plugged)
        return;
    m_impl->state->firmware.changeLighting(field, wireValue);
    m_impl->state->queueNotification(
        {kNotificationReportId, notification::kLightingChanged, field, wireValue});
}

void EmulatedKeyboard::sendLaunchRequest(std::uint8_t keyCode) {
    sendNotification({kNotificationReportId, kLaunchRequest, keyCode, 0});
}

void EmulatedKeyboard::sendNotification(const NotificationReport& report) {
    std::lock_guard lock(m_impl->state->mutex);
    m_impl->state->queueNotification(report);
}

bool EmulatedKeyboard::pressKey(int matrixPosition) {
    if (matrixPosition < 0 || static_cast<std::size_t>(matrixPosition) >= kKeyMapPositions)
        return false;
    std::lock_guard lock(m_impl->state->mutex);
    if (!m_impl->state->plugged)
        return false;
    const auto entry =
        m_impl->state->firmware.keyMapEntry(static_cast<std::size_t>(matrixPosition));
    if (entry[0] != kHostActionKind)
        return false;
    m_impl->state->queueNotification({kNotificationReportId, kLaunchRequest, entry[2], 0});
    return true;
}

void EmulatedKeyboard::unplug() {
    m_impl->state->setPlugged(false);
}

void EmulatedKeyboard::plug() {
    m_impl->state->setPlugged(true);
}

bool EmulatedKeyboard::isPlugged() const {
    std::lock_guard lock(m_impl->state->mutex);
    return m_impl->state->plugged;
}

void EmulatedKeyboard::setPlugListener(std::function<void(bool plugged)> listener) {
    m_impl->state->setPlugListener(std::move(listener));
}

std::vector<std::string> EmulatedKeyboard::errors() const {
    std::lock_guard lock(m_impl->state->mutex);
    return m_impl->state->errors;
}

void EmulatedKeyboard::clearErrors() {
    std::lock_guard lock(m_impl->state->mutex);
    m_impl->state->errors.clear();
}

void EmulatedKeyboard::setErrorListener(std::function<void(const std::string&)> listener) {
    std::lock_guard lock(m_impl->state->mutex);
    m_impl->state->errorListener = std::move(listener);
}

bool EmulatedKeyboard::waitForBlockedReads(std::size_t count,
                                           std::chrono::milliseconds timeout) const {
    KeyboardState& state = *m_impl->state;
    std::unique_lock lock(state.mutex);
    return state.blockedReadsChanged.wait_for(lock, timeout,
                                              [&] { return state.blockedReads >= count; });
}

void EmulatedKeyboard::setFaults(std::vector<Fault> faults) {
    KeyboardState& state = *m_impl->state;
    std::lock_guard lock(state.mutex);
    state.replugs.clear();
    for (const Fault& fault : faults)
        if (fault.kind == Fault::Kind::Replug)
            state.replugs.push_back(fault);
    std::erase_if(faults, [](const Fault& fault) { return fault.kind == Fault::Kind::Replug; });
    state.faults = std::move(faults);
    state.faultTransfers = 0;
    state.transfersSinceReplug = 0;
    if (!state.replugs.empty() && !m_impl->comeBack.joinable())
        m_impl->comeBack = std::thread([impl = m_impl.get()] { impl->comeBackLoop(); });
}

void EmulatedKeyboard::refuseNotificationOpens(int count) {
    std::lock_guard lock(m_impl->state->mutex);
    m_impl->state->refusedNotificationOpens = count;
}

std::size_t EmulatedKeyboard::transferCount() const {
    std::lock_guard lock(m_impl->state->mutex);
    return m_impl->state->transfers;
}

} // namespace q905
