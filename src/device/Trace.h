// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One line per transfer on the command handle, per protocol wait and per notification received:
// the recording of a session with the keyboard.
//   set-feature 00 81 00 00 00 00 00 00 7E
//   get-feature ..., write ..., read ...   (report bytes, report id first)
//   sleep 10        (a yield is "sleep 0")
//   wait-ack        (one line per acknowledgement wait)
//   notify 04 04 00 00

#include <cstdint>
#include <fstream>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <string_view>

namespace q905 {

class Trace {
  public:
    using LineSink = std::function<void(const std::string&)>;

    // Appends to a file; good() tells whether it could be opened.
    explicit Trace(const std::string& path);
    // Hands every line to a sink (tests collect them).
    explicit Trace(LineSink sink);

    bool good() const;
    void transfer(std::string_view kind, std::span<const std::uint8_t> bytes);
    void sleep(long milliseconds);
    void waitAck();
    void notify(std::span<const std::uint8_t> report);

    static std::string hex(std::span<const std::uint8_t> bytes);

  private:
    void line(const std::string& text);

    std::mutex m_mutex; // the notification reader writes from its own thread
    std::ofstream m_file;
    LineSink m_sink;
};

} // namespace q905
