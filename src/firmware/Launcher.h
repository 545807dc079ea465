#pragma once
// Starting programs and opening documents through the desktop, without waiting for them. The
// real launcher lives with the platform code; tests record the calls instead.

#include <filesystem>

namespace q905 {

class Launcher {
  public:
    virtual ~Launcher() = default;
    // Starts a program with no arguments; an empty working folder leaves the choice to the
    // platform. False when it could not be started.
    virtual bool openDetached(const std::filesystem::path& program,
                              const std::filesystem::path& workingFolder) = 0;
    // Opens a file or folder with the desktop's default application.
    virtual bool openPath(const std::filesystem::path& path) = 0;
};

} // namespace q905
