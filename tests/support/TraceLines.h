#pragma once
// Collects trace lines in memory, for tests that check the traffic line by line.

#include "device/Trace.h"

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace q905::testing {

class TraceLines {
  public:
    TraceLines()
        : m_trace(std::make_unique<Trace>([this](const std::string& line) {
              std::lock_guard lock(m_mutex);
              m_lines.push_back(line);
          })) {}

    Trace& trace() { return *m_trace; }
    std::vector<std::string> all() const {
        std::lock_guard lock(m_mutex);
        return m_lines;
    }
    // Everything but the notification reader's lines, whose place among the command lines
    // depends on thread timing.
    std::vector<std::string> commands() const {
        std::vector<std::string> result;
        for (const std::string& line : all())
            if (line.rfind("notify", 0) != 0)
                result.push_back(line);
        return result;
    }
    // Only the frames sent with set-feature.
    std::vector<std::string> sentFrames() const {
        std::vector<std::string> result;
        for (const std::string& line : all())
            if (line.rfind("set-feature ", 0) == 0)
                result.push_back(line.substr(12));
        return result;
    }
    void clear() {
        std::lock_guard lock(m_mutex);
        m_lines.clear();
    }

  private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_lines;
    std::unique_ptr<Trace> m_trace;
};

} // namespace q905::testing
