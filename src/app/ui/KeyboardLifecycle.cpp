// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/KeyboardLifecycle.h"

#include "app/ui/Delays.h"

#include <QCoreApplication>
#include <QLoggingCategory>

namespace q905 {

namespace {

Q_LOGGING_CATEGORY(lcHotPlug, "q905.hotplug", QtWarningMsg)

using std::chrono::milliseconds;
// The keyboard needs this long after it appears before it answers.
constexpr milliseconds kArrivalWait{2000};
// After the reader has been told to stop, before the handles close.
constexpr milliseconds kRemovalWait{500};
constexpr milliseconds kAfterRemovalWait{200};
constexpr milliseconds kFirstReaderRetry{250};
constexpr milliseconds kLongestReaderRetry{8000};

} // namespace

KeyboardLifecycle::KeyboardLifecycle(HidBackend& backend, Clock& clock, Trace* trace,
                                     Delays& delays, std::optional<std::filesystem::path> lockFile,
                                     QObject* parent)
    : QObject(parent), m_delays(delays),
      m_session(std::make_unique<KeyboardSession>(backend, clock, trace, &m_events,
                                                  std::move(lockFile))) {}

KeyboardLifecycle::~KeyboardLifecycle() {
    shutdown();
}

template <class Call> void KeyboardLifecycle::post(Call call) {
    m_posted.post(std::move(call));
}

template <class Report>
auto KeyboardLifecycle::finishWith(void (KeyboardLifecycle::*signal)(const Report&)) {
    return [this, signal](Report report) {
        post([this, signal, report] {
            end();
            emit(this->*signal)(report);
        });
    };
}

void KeyboardLifecycle::Events::lightingChanged(std::uint8_t field, std::uint8_t storedValue) {
    m_owner->post(
        [owner = m_owner, field, storedValue] { emit owner->lightingChanged(field, storedValue); });
}

void KeyboardLifecycle::Events::launchRequested(std::uint8_t keyCode) {
    m_owner->post([owner = m_owner, keyCode] { emit owner->launchRequested(keyCode); });
}

void KeyboardLifecycle::Events::readerEnded() {
    m_owner->post([owner = m_owner] { owner->deviceRemoved(); });
}

void KeyboardLifecycle::begin(Activity activity) {
    m_activities.push_back(activity);
    if (m_activities.size() == 1)
        emit activityChanged();
}

void KeyboardLifecycle::end() {
    if (!m_activities.empty())
        m_activities.pop_front();
    emit activityChanged();
}

OpenReport KeyboardLifecycle::openAtStart(const KeyboardImages& base) {
    const OpenReport opened = waitFor(*m_session, &KeyboardSession::open);
    m_connected = opened.opened;
    m_readerRunning = opened.readerStarted;
    if (!opened.opened)
        return opened;
    if (!opened.readerStarted)
        retryReaderAfter(kFirstReaderRetry);
    begin(Activity::Reading);
    m_session->read(ReadKind::StartUp, base, true, finishWith(&KeyboardLifecycle::readFinished));
    return opened;
}

void KeyboardLifecycle::adoptHotPlugSource(std::unique_ptr<HotPlugSource> source) {
    m_hotPlug = std::move(source);
    if (!m_hotPlug)
        return;
    connect(m_hotPlug.get(), &HotPlugSource::arrived, this, &KeyboardLifecycle::deviceArrived);
    connect(m_hotPlug.get(), &HotPlugSource::removed, this, &KeyboardLifecycle::deviceRemoved);
}

void KeyboardLifecycle::apply(const SettingsImage& edited, const SettingsImage& base) {
    if (m_shutDown)
        return;
    begin(Activity::Applying);
    m_session->apply(edited, base, finishWith(&KeyboardLifecycle::applyFinished));
}

void KeyboardLifecycle::factoryReset() {
    if (m_shutDown)
        return;
    begin(Activity::Resetting);
    m_session->factoryReset(finishWith(&KeyboardLifecycle::resetFinished));
}

void KeyboardLifecycle::shutdown() {
    if (m_shutDown)
        return;
    m_shutDown = true;
    m_hotPlug.reset();
    m_session->stop();
    m_session.reset();
    // The reports of the transactions that ran are waiting as posted calls: deliver them now,
    // so the window can put its files in place before the program ends.
    QCoreApplication::sendPostedEvents(&m_posted, QEvent::MetaCall);
    m_connected = false;
    m_readerRunning = false;
}

void KeyboardLifecycle::startReaderOrRetry(milliseconds backoff) {
    if (m_shutDown || !m_connected)
        return;
    const std::uint64_t generation = m_session->generation();
    m_session->startReader([this, generation, backoff](bool started) {
        post([this, generation, backoff, started] {
            if (m_shutDown || generation != m_session->generation())
                return;
            m_readerRunning = started;
            if (!started)
                retryReaderAfter(backoff);
        });
    });
}

void KeyboardLifecycle::retryReaderAfter(milliseconds backoff) {
    const std::uint64_t generation = m_session->generation();
    const auto next = std::min(backoff * 2, kLongestReaderRetry);
    m_delays.after(backoff, this, [this, generation, next] {
        if (!m_shutDown && generation == m_session->generation())
            startReaderOrRetry(next);
    });
}

void KeyboardLifecycle::deviceArrived() {
    m_delays.after(kArrivalWait, this, [this] { arrivalAfterWait(); });
}

void KeyboardLifecycle::arrivalAfterWait() {
    if (m_shutDown)
        return;
    m_session->reopen([this](OpenReport opened) {
        post([this, opened] {
            if (!opened.opened || m_shutDown)
                return;
            m_connected = true;
            m_readerRunning = opened.readerStarted;
            if (!opened.readerStarted)
                retryReaderAfter(kFirstReaderRetry);
            begin(Activity::Reading);
            m_session->read(ReadKind::PlugIn, m_readBase ? m_readBase() : KeyboardImages{}, true,
                            finishWith(&KeyboardLifecycle::readFinished));
        });
    });
}

void KeyboardLifecycle::deviceRemoved() {
    if (m_shutDown)
        return;
    const std::uint64_t generation = m_session->generation();
    m_session->stopReader([this] { post([this] { m_readerRunning = false; }); });
    m_delays.after(kRemovalWait, this, [this, generation] { closeAfterRemoval(generation); });
}

void KeyboardLifecycle::closeAfterRemoval(std::uint64_t generation) {
    if (m_shutDown)
        return;
    m_session->closeHandles(generation, [this](bool closed) {
        post([this, closed] {
            if (m_shutDown)
                return;
            if (!closed) {
                // The keyboard came back meanwhile and was opened again: keep it.
                startReaderOrRetry(kFirstReaderRetry);
                return;
            }
            m_connected = false;
            emit disconnected();
            m_delays.after(kAfterRemovalWait, this,
                           [] { qCDebug(lcHotPlug) << "keyboard removal complete"; });
        });
    });
}

} // namespace q905
