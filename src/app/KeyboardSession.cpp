// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/KeyboardSession.h"

namespace q905 {

KeyboardSession::KeyboardSession(HidBackend& backend, Clock& clock, Trace* trace,
                                 NotificationEvents* events,
                                 std::optional<std::filesystem::path> lockFile)
    : m_lock(lockFile ? std::make_unique<KeyboardLock>(*lockFile, "q905") : nullptr), m_link(backend, clock, trace), m_reader(m_settings, m_ack, trace), m_events(events),
      m_thread([this] { run(); }) {}

KeyboardSession::~KeyboardSession() {
    stop();
    {
        std::lock_guard lock(m_queueMutex);
        m_queue.emplace_back(); // an empty job ends the thread
    }
    m_queueChanged.notify_one();
    m_thread.join();
    m_reader.stop();
    m_link.closeCommandHandle();
    m_link.closeNotifyHandle();
}

void KeyboardSession::stop() {
    std::lock_guard lock(m_queueMutex);
    m_stopping = true;
    m_queue.clear();
}

bool KeyboardSession::enqueue(std::function<void()> work) {
    {
        std::lock_guard lock(m_queueMutex);
        if (m_stopping)
            return false;
        m_queue.push_back(std::move(work));
    }
    m_queueChanged.notify_one();
    return true;
}

void KeyboardSession::run() {
    for (;;) {
        std::function<void()> work;
        {
            std::unique_lock lock(m_queueMutex);
            m_queueChanged.wait(lock, [this] { return !m_queue.empty(); });
            work = std::move(m_queue.front());
            m_queue.pop_front();
        }
        if (!work)
            return;
        work();
    }
}

KeyboardImages KeyboardSession::images() const {
    KeyboardImages images;
    {
        // Both under one lock: the reader stores the keyboard's own changes into both.
        std::lock_guard lock(m_settings.mutex());
        images.device = m_settings.deviceSettings();
        images.applied = m_settings.appliedSettings();
    }
    images.version = m_settings.deviceVersion();
    return images;
}

OpenReport KeyboardSession::openHandles() {
    OpenReport report;
    if (!m_link.commandHandleValid()) {
        const Status opened = m_link.openCommandHandle();
        report.keyboardSeen = m_link.keyboardSeen();
        if (!opened) {
            report.error = opened.message();
            return report;
        }
        ++m_generation;
    }
    report.opened = true;
    report.readerStarted = startReaderNow();
    return report;
}

bool KeyboardSession::startReaderNow() {
    if (m_reader.isRunning())
        return true;
    if (!m_link.commandHandleValid())
        return false;
    if (!m_link.notifyHandleValid() && !m_link.openNotifyHandle())
        return false;
    m_reader.stop(); // joins a reader that ended by itself
    m_reader.start(m_link.notifyHandle(), m_events);
    return true;
}

ReadReport KeyboardSession::readNow(ReadKind kind, const KeyboardImages& base,
                                   bool lightingAgain) {
    {
        std::lock_guard lock(m_settings.mutex());
        m_settings.deviceSettings() = base.device;
        m_settings.appliedSettings() = base.applied;
    }
    ReadReport report;
    report.kind = kind;
    report.connected = m_link.commandHandleValid();
    if (report.connected) {
        report.result = kind == ReadKind::StartUp
                            ? initialRead(m_link, m_settings, {}, base.gameMode)
                            : plugInRead(m_link, m_settings, base.gameMode);
        if (lightingAgain && report.result == ReadResult::Complete)
            report.result = readLightingParams(m_link, m_settings);
    }
    report.images = images();
    return report;
}

ApplyReport KeyboardSession::applyNow(const SettingsImage& edited, const SettingsImage& base) {
    {
        std::lock_guard lock(m_settings.mutex());
        SettingsImage& device = m_settings.deviceSettings();
        device = m_settings.appliedSettings();
        for (std::size_t i = 0; i < kSettingsImageSize; ++i)
            if (edited.at(i) != base.at(i))
                device.at(i) = edited.at(i);
    }
    ApplyReport report;
    ApplyOptions options;
    options.stop = &m_stopping;
    report.result = applyChanges(m_link, m_settings, m_ack, options);
    report.images = images();
    return report;
}

ResetReport KeyboardSession::resetNow() {
    ResetReport report;
    report.reset = resetKeyboard(m_link);
    if (report.reset == ApplyResult::Applied) {
        report.read = readAll(m_link, m_settings);
        // What was read is what the keyboard holds now.
        m_settings.snapshot();
    }
    report.images = images();
    return report;
}

OpenReport KeyboardSession::open() {
    return now([this] { return openHandles(); });
}

void KeyboardSession::startReader(std::function<void(bool)> done) {
    later([this] { return startReaderNow(); }, std::move(done));
}

ReadReport KeyboardSession::read(ReadKind kind, const KeyboardImages& base) {
    return now([this, kind, &base] { return readLocked(kind, base, false); });
}

void KeyboardSession::read(ReadKind kind, const KeyboardImages& base, bool lightingAgain,
                           std::function<void(ReadReport)> done) {
    later([this, kind, base, lightingAgain] { return readLocked(kind, base, lightingAgain); },
          std::move(done));
}

ApplyReport KeyboardSession::apply(const SettingsImage& edited, const SettingsImage& base) {
    return now([this, &edited, &base] { return applyLocked(edited, base); });
}

void KeyboardSession::apply(const SettingsImage& edited, const SettingsImage& base,
                            std::function<void(ApplyReport)> done) {
    later([this, edited, base] { return applyLocked(edited, base); }, std::move(done));
}

ResetReport KeyboardSession::factoryReset() {
    return now([this] { return resetLocked(); });
}

void KeyboardSession::factoryReset(std::function<void(ResetReport)> done) {
    later([this] { return resetLocked(); }, std::move(done));
}

ReadReport KeyboardSession::readLocked(ReadKind kind, const KeyboardImages& base,
                                       bool lightingAgain) {
    auto report = holdingLock([&] { return readNow(kind, base, lightingAgain); });
    return report ? *report : ReadReport{kind, false, ReadResult::TransferFailed, images()};
}

ApplyReport KeyboardSession::applyLocked(const SettingsImage& edited, const SettingsImage& base) {
    auto report = holdingLock([&] { return applyNow(edited, base); });
    return report ? *report : ApplyReport{ApplyResult::Stopped, images()};
}

ResetReport KeyboardSession::resetLocked() {
    auto report = holdingLock([this] { return resetNow(); });
    return report ? *report : ResetReport{ApplyResult::NotConnected, ReadResult::TransferFailed, images()};
}

void KeyboardSession::stopReader(std::function<void()> done) {
    later(
        [this] {
            m_reader.stop();
            return true;
        },
        [done = std::move(done)](bool) { done(); });
}

void KeyboardSession::closeHandles(std::uint64_t generation, std::function<void(bool)> done) {
    later(
        [this, generation] {
            // The keyboard came back meanwhile and was opened again: keep it, reader and all.
            if (generation != m_generation)
                return false;
            m_reader.stop();
            m_link.closeCommandHandle();
            m_link.closeNotifyHandle();
            return true;
        },
        std::move(done));
}

void KeyboardSession::reopen(std::function<void(OpenReport)> done) {
    later(
        [this] {
            if (m_link.commandHandleValid())
                return OpenReport{};
            return openHandles();
        },
        std::move(done));
}

ReadReport KeyboardSession::readVersion() {
    return now([this] {
        auto report = holdingLock([this] {
            ReadReport read;
            read.connected = m_link.commandHandleValid();
            if (read.connected)
                read.result = readDeviceVersion(m_link, m_settings);
            return read;
        });
        ReadReport read = report ? *report : ReadReport{};
        read.images = images();
        return read;
    });
}

} // namespace q905
