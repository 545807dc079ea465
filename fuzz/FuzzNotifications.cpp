// SPDX-License-Identifier: GPL-3.0-or-later
// Reports the keyboard sends on its own: any sequence of 4-byte reports, handled as the
// reader thread handles them.

#include "app/NotificationReader.h"

#include <memory>

using namespace q905;

namespace {
class Events final : public NotificationEvents {
  public:
    void lightingChanged(std::uint8_t, std::uint8_t) override {}
    void launchRequested(std::uint8_t) override {}
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static auto settings = std::make_unique<Settings>();
    AckFlag ack;
    NotificationReader reader(*settings, ack);
    for (std::size_t at = 0; at + kNotificationReportSize <= size; at += kNotificationReportSize) {
        NotificationReport report;
        std::copy_n(data + at, kNotificationReportSize, report.begin());
        reader.dispatch(report);
    }
    return 0;
}
