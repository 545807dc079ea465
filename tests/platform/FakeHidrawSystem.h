// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A scripted stand-in for the kernel under the hidraw channels: input reports are queued per
// descriptor, failures are injected per call, and the calls that reach the device are logged.

#include "device/Trace.h"
#include "platform/HidrawSystem.h"

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace q905::testing {

class FakeHidrawSystem final : public HidrawSystem {
  public:
    enum class Call { Open, SetFeature, GetFeature, Write, Read, Poll, CreateWakeup };

    void failNext(Call call, int error) {
        locked([&] { m_failures[call].push_back(error); });
    }
    void queueInput(int fd, std::vector<std::uint8_t> report) {
        locked([&] { m_input[fd].push_back(std::move(report)); });
    }
    void hangUp(int fd) {
        locked([&] { m_hungUp.insert(fd); });
    }
    // What the next HIDIOCGFEATURE leaves in the buffer, and the count it returns.
    void setFeatureReply(std::vector<std::uint8_t> bytes, long returned) {
        locked([&] { m_featureReply = std::move(bytes), m_featureReturned = returned; });
    }

    std::vector<std::string> log() const { return copy(m_log); }
    std::set<int> openDescriptors() const { return copy(m_open); }
    bool blockedInPoll() const { return copy(m_waiters) > 0; }

    SystemResult open(const std::string& devnode) override {
        std::lock_guard lock(m_mutex);
        if (const int error = takeFailure(Call::Open))
            return {-1, error};
        m_open.insert(m_nextFd);
        m_log.push_back("open " + devnode + " -> " + std::to_string(m_nextFd));
        return {m_nextFd++, 0};
    }
    void close(int fd) override {
        std::lock_guard lock(m_mutex);
        m_open.erase(fd);
    }
    SystemResult setFeature(int fd, std::span<const std::uint8_t> buffer) override {
        return logged(Call::SetFeature, "set-feature", fd, buffer);
    }
    SystemResult getFeature(int fd, std::span<std::uint8_t> buffer) override {
        std::lock_guard lock(m_mutex);
        m_log.push_back("get-feature " + std::to_string(fd) + " " + Trace::hex(buffer));
        if (const int error = takeFailure(Call::GetFeature))
            return {-1, error};
        std::copy_n(m_featureReply.begin(), std::min(m_featureReply.size(), buffer.size()),
                    buffer.begin());
        return {m_featureReturned, 0};
    }
    SystemResult write(int fd, std::span<const std::uint8_t> bytes) override {
        return logged(Call::Write, "write", fd, bytes);
    }
    SystemResult read(int fd, std::span<std::uint8_t> bytes) override {
        std::lock_guard lock(m_mutex);
        if (const int error = takeFailure(Call::Read))
            return {-1, error};
        if (m_hungUp.count(fd))
            return {-1, EIO};
        auto& queue = m_input[fd];
        if (queue.empty())
            return {-1, EAGAIN};
        const std::vector<std::uint8_t> report = std::move(queue.front());
        queue.pop_front();
        // Like hidraw: a report longer than the buffer is cut to the buffer.
        const std::size_t count = std::min(report.size(), bytes.size());
        std::copy_n(report.begin(), count, bytes.begin());
        return {static_cast<long>(count), 0};
    }
    // Never sleeps on a timeout: a poll with a limit that finds nothing ready times out at once.
    SystemResult poll(std::span<pollfd> fds, int timeoutMs) override {
        std::unique_lock lock(m_mutex);
        if (const int error = takeFailure(Call::Poll))
            return {-1, error};
        for (;;) {
            long ready = 0;
            for (pollfd& watch : fds) {
                watch.revents = m_signalled.count(watch.fd)  ? POLLIN
                                : m_hungUp.count(watch.fd)   ? POLLHUP | POLLERR
                                : !m_input[watch.fd].empty() ? POLLIN
                                                             : 0;
                ready += watch.revents != 0;
            }
            if (ready > 0 || timeoutMs >= 0)
                return {ready, 0};
            ++m_waiters;
            m_changed.wait(lock);
            --m_waiters;
        }
    }
    SystemResult createWakeup() override {
        std::lock_guard lock(m_mutex);
        if (const int error = takeFailure(Call::CreateWakeup))
            return {-1, error};
        m_open.insert(m_nextFd);
        return {m_nextFd++, 0};
    }
    void signalWakeup(int fd) override {
        locked([&] { m_signalled.insert(fd); });
    }

  private:
    template <typename Change> void locked(Change change) {
        std::lock_guard lock(m_mutex);
        change();
        m_changed.notify_all();
    }
    template <typename T> T copy(const T& value) const {
        std::lock_guard lock(m_mutex);
        return value;
    }
    SystemResult logged(Call call, const char* name, int fd, std::span<const std::uint8_t> bytes) {
        std::lock_guard lock(m_mutex);
        if (const int error = takeFailure(call))
            return {-1, error};
        m_log.push_back(name + (" " + std::to_string(fd)) + " " + Trace::hex(bytes));
        return {static_cast<long>(bytes.size()), 0};
    }
    int takeFailure(Call call) {
        auto& queue = m_failures[call];
        if (queue.empty())
            return 0;
        const int error = queue.front();
        queue.pop_front();
        return error;
    }

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_nextFd = 3;
    int m_waiters = 0;
    std::set<int> m_open, m_hungUp, m_signalled;
    std::map<int, std::deque<std::vector<std::uint8_t>>> m_input;
    std::map<Call, std::deque<int>> m_failures;
    std::vector<std::uint8_t> m_featureReply;
    long m_featureReturned = 9;
    std::vector<std::string> m_log;
};

} // namespace q905::testing
