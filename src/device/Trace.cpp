// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/Trace.h"

namespace q905 {

Trace::Trace(const std::string& path) : m_file(path, std::ios::app) {}

Trace::Trace(LineSink sink) : m_sink(std::move(sink)) {}

bool Trace::good() const {
    return m_sink || m_file.good();
}

std::string Trace::hex(std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 3);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0)
            text += ' ';
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0x0F];
    }
    return text;
}

void Trace::transfer(std::string_view kind, std::span<const std::uint8_t> bytes) {
    if (bytes.empty())
        line(std::string(kind));
    else
        line(std::string(kind) + ' ' + hex(bytes));
}

void Trace::sleep(long milliseconds) {
    line("sleep " + std::to_string(milliseconds));
}

void Trace::waitAck() {
    line("wait-ack");
}

void Trace::notify(std::span<const std::uint8_t> report) {
    line("notify " + hex(report));
}

void Trace::line(const std::string& text) {
    std::lock_guard lock(m_mutex);
    if (m_sink) {
        m_sink(text);
        return;
    }
    m_file << text << '\n';
    m_file.flush();
}

} // namespace q905
