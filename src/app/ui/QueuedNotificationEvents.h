#pragma once
// The notification reader's events, posted to the main window's thread. Posting never blocks:
// the window may itself be waiting for an acknowledgement the reader has to deliver.

#include "app/NotificationReader.h"

namespace q905 {

class MainWindow;

class QueuedNotificationEvents final : public NotificationEvents {
  public:
    explicit QueuedNotificationEvents(MainWindow* window);
    void lightingChanged(std::uint8_t field, std::uint8_t storedValue) override;
    void launchRequested(std::uint8_t keyCode) override;
    // The notification interface went away: the same as a removal.
    void readerEnded() override;

  private:
    MainWindow* m_window;
};

} // namespace q905
