// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Work the first frame needs, done on another thread while the main thread connects to the
// display and builds the window: the skin pictures are decoded and the font configuration is
// read; once the application object exists, the pictures are prepared and the font database
// is filled too. It runs as a task
// of Qt's global thread pool: Qt splits its own conversions of large pictures over that pool,
// and from inside it keeps them on this one thread instead of starting two more.

#include "controls/ui/SkinCache.h"

#include <QString>
#include <QStringList>

#include <future>

namespace q905 {

class StartupWarmUp {
  public:
    // skinFolder: the language's skin folder; its pictures (not those of the dialogs' folders)
    // are decoded, from the set the screens will likely need (the other set once the
    // application object says so), except those named in onDemand, which wait until they are
    // drawn, and those the composition draws in, when it comes from its cache file. Otherwise
    // it is composed there once the application object exists.
    StartupWarmUp(QString skinFolder, QStringList onDemand, SkinComposition composition = {});
    // Joins the thread.
    ~StartupWarmUp();
    StartupWarmUp(const StartupWarmUp&) = delete;
    StartupWarmUp& operator=(const StartupWarmUp&) = delete;

    // The application object exists: the font database may be filled, and the pictures are
    // those of the set its screens need. Call finish() before that object goes.
    void applicationCreated();
    // Waits for the pictures (prepared, after applicationCreated()); the decoded pictures.
    SkinCache take();
    // Waits for the task to end; it ends without filling the font database when
    // applicationCreated() was not called.
    void finish();

  private:
    SkinCache m_skin;
    std::promise<void> m_picturesDone;
    std::promise<int> m_application; // the screens' picture scale; 0: no application
    bool m_applicationSaid = false;
    std::future<void> m_ended;
};

} // namespace q905
