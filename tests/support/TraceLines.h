// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Collects trace lines in memory, for tests that check the traffic line by line, and reads
// the frames back from trace text, so no test picks bytes out of a line by column.

#include "device/Reports.h"
#include "device/Trace.h"

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace q905::testing {

// A frame sent with set-feature, read back from its trace line.
struct SentFrame {
    FeatureFrame bytes{};

    std::uint8_t command() const { return bytes[frame::kCommand]; }
    std::uint8_t param(int n) const { return bytes[frame::kFirstParam + std::size_t(n) - 1]; }
    // The command, and the command with its first parameter, as the trace writes them:
    // "18" and "18 01".
    std::string commandHex() const { return Trace::hex(std::span(bytes).subspan(1, 1)); }
    std::string head() const { return Trace::hex(std::span(bytes).subspan(1, 2)); }

    bool operator==(const SentFrame&) const = default;
};

inline constexpr std::string_view kSetFeature = "set-feature ";

// The frame of a "set-feature" line; nullopt for any other line.
inline std::optional<SentFrame> parseSentFrame(std::string_view line) {
    if (!line.starts_with(kSetFeature))
        return std::nullopt;
    line.remove_prefix(kSetFeature.size());
    SentFrame frame;
    for (std::size_t i = 0; i < frame.bytes.size(); ++i) {
        if (line.size() < 3 * i + 2)
            return std::nullopt;
        frame.bytes[i] =
            static_cast<std::uint8_t>(std::stoul(std::string(line.substr(3 * i, 2)), nullptr, 16));
    }
    return frame;
}

// The frames among any trace lines, in order.
inline std::vector<SentFrame> sentFramesOf(const std::vector<std::string>& lines) {
    std::vector<SentFrame> frames;
    for (const std::string& line : lines)
        if (auto frame = parseSentFrame(line))
            frames.push_back(*frame);
    return frames;
}

// The commands with their first parameter ("18 01"), as most order checks want them.
inline std::vector<std::string> headsOf(const std::vector<SentFrame>& frames) {
    std::vector<std::string> heads;
    for (const SentFrame& frame : frames)
        heads.push_back(frame.head());
    return heads;
}

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
            if (!line.starts_with("notify"))
                result.push_back(line);
        return result;
    }
    // Only the frames sent with set-feature.
    std::vector<SentFrame> sentFrames() const { return sentFramesOf(all()); }
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
