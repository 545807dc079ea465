// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/KeyboardSession.h"

namespace q905 {

KeyboardSession::KeyboardSession(HidBackend& backend, Clock& clock, Trace* trace,
                                 NotificationEvents* events,
                                 std::optional<std::filesystem::path> lockFile)
    : m_lock(lockFile ? std::make_unique<KeyboardLock>(*lockFile, "q905") : nullptr),
      m_link(backend, clock, trace), m_reader(m_settings, m_ack, trace), m_events(events),
      m_thread([this] { run(); }) {}

KeyboardSession::~KeyboardSession() {
    stop();
    {
        std::lock_guard lock(m_queueMutex);
        m_queue.emplace_back(); // a job without work ends the thread
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

void KeyboardSession::enqueue(Transfers transfers, std::function<void(bool)> work) {
    {
        std::lock_guard lock(m_queueMutex);
        // Once stopped the work is dropped: a caller waiting for it gets a report as not run.
        if (m_stopping)
            return;
        m_queue.push_back({transfers, std::move(work)});
    }
    m_queueChanged.notify_one();
}

void KeyboardSession::run() {
    for (;;) {
        Job job;
        {
            std::unique_lock lock(m_queueMutex);
            m_queueChanged.wait(lock, [this] { return !m_queue.empty(); });
            job = std::move(m_queue.front());
            m_queue.pop_front();
        }
        if (!job.work)
            return;
        // Another process's (q905ctl's) transfers never interleave with this one's.
        const bool locks = job.transfers == Transfers::Yes && m_lock;
        const bool haveKeyboard = !locks || m_lock->acquire(std::nullopt, &m_stopping).ok();
        job.work(haveKeyboard);
        if (locks && haveKeyboard)
            m_lock->release();
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
    report.readerStarted = startReaderThread();
    return report;
}

bool KeyboardSession::startReaderThread() {
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

ReadReport KeyboardSession::readBlocks(ReadKind kind, const KeyboardImages& base,
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
        const ReadOptions options{.gameMode = base.gameMode, .stop = &m_stopping};
        report.result = kind == ReadKind::StartUp ? initialRead(m_link, m_settings, {}, options)
                                                  : plugInRead(m_link, m_settings, options);
        if (lightingAgain && report.result == ReadResult::Complete)
            report.result = readLightingParams(m_link, m_settings);
    }
    report.images = images();
    return report;
}

ApplyReport KeyboardSession::sendEdits(const SettingsImage& edited, const SettingsImage& base) {
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

ResetReport KeyboardSession::resetAndRead() {
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

void KeyboardSession::open(Done<OpenReport> done) {
    enqueue(Transfers::No, [this, done = std::move(done)](bool) { done(openHandles()); });
}

void KeyboardSession::startReader(Done<bool> done) {
    enqueue(Transfers::No, [this, done = std::move(done)](bool) { done(startReaderThread()); });
}

void KeyboardSession::read(ReadKind kind, const KeyboardImages& base, bool lightingAgain,
                           Done<ReadReport> done) {
    enqueue(Transfers::Yes,
            [this, kind, base, lightingAgain, done = std::move(done)](bool haveKeyboard) {
                done(haveKeyboard ? readBlocks(kind, base, lightingAgain)
                                  : ReadReport{kind, false, ReadResult::TransferFailed, images()});
            });
}

void KeyboardSession::apply(const SettingsImage& edited, const SettingsImage& base,
                            Done<ApplyReport> done) {
    enqueue(Transfers::Yes, [this, edited, base, done = std::move(done)](bool haveKeyboard) {
        done(haveKeyboard ? sendEdits(edited, base) : ApplyReport{ApplyResult::Stopped, images()});
    });
}

void KeyboardSession::factoryReset(Done<ResetReport> done) {
    enqueue(Transfers::Yes, [this, done = std::move(done)](bool haveKeyboard) {
        done(haveKeyboard
                 ? resetAndRead()
                 : ResetReport{ApplyResult::NotConnected, ReadResult::TransferFailed, images()});
    });
}

void KeyboardSession::stopReader(std::function<void()> done) {
    enqueue(Transfers::No, [this, done = std::move(done)](bool) {
        m_reader.stop();
        done();
    });
}

void KeyboardSession::closeHandles(std::uint64_t generation, Done<bool> done) {
    enqueue(Transfers::No, [this, generation, done = std::move(done)](bool) {
        // The keyboard came back meanwhile and was opened again: keep it, reader and all.
        if (generation != m_generation) {
            done(false);
            return;
        }
        m_reader.stop();
        m_link.closeCommandHandle();
        m_link.closeNotifyHandle();
        done(true);
    });
}

void KeyboardSession::reopen(Done<OpenReport> done) {
    enqueue(Transfers::No, [this, done = std::move(done)](bool) {
        done(m_link.commandHandleValid() ? OpenReport{} : openHandles());
    });
}

void KeyboardSession::readVersion(Done<ReadReport> done) {
    enqueue(Transfers::Yes, [this, done = std::move(done)](bool haveKeyboard) {
        ReadReport read;
        read.connected = haveKeyboard && m_link.commandHandleValid();
        if (read.connected)
            read.result = readDeviceVersion(m_link, m_settings);
        read.images = images();
        done(read);
    });
}

} // namespace q905
