#pragma once
// Work the first frame needs that does not need the display: the font configuration and the
// window's skin pictures. It runs on its own thread while the main thread connects to the
// display, and is taken over before the window is built.

#include "controls/ui/SkinCache.h"

#include <QString>

#include <thread>

namespace q905 {

class StartupWarmUp {
  public:
    // skinFolder: the language's skin folder; its pictures (not those of the dialogs' folders)
    // are decoded.
    explicit StartupWarmUp(QString skinFolder);
    ~StartupWarmUp();
    StartupWarmUp(const StartupWarmUp&) = delete;
    StartupWarmUp& operator=(const StartupWarmUp&) = delete;

    // Waits for the thread; the decoded pictures.
    SkinCache take();

  private:
    SkinCache m_skin;
    std::thread m_thread;
};

} // namespace q905
