#include "platform/qt/StartupWarmUp.h"

#include <QDir>

#ifdef Q905_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

namespace q905 {

StartupWarmUp::StartupWarmUp(QString skinFolder) : m_skin(std::move(skinFolder)) {
    m_thread = std::thread([this] {
#ifdef Q905_HAVE_FONTCONFIG
        // Reading the font configuration and caches is the largest single cost of the first
        // text; Qt's font database finds it done.
        FcInit();
#endif
        const QDir folder(m_skin.folder());
        for (const QString& name : folder.entryList({QStringLiteral("*.png")}, QDir::Files))
            (void)m_skin.image(name);
    });
}

StartupWarmUp::~StartupWarmUp() {
    if (m_thread.joinable())
        m_thread.join();
}

SkinCache StartupWarmUp::take() {
    if (m_thread.joinable())
        m_thread.join();
    return std::move(m_skin);
}

} // namespace q905
