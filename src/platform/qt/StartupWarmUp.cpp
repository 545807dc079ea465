// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/StartupWarmUp.h"

#include "controls/PictureScale.h"

#include <QDir>
#include <QFontDatabase>
#include <QThreadPool>

#include <memory>

#ifdef Q905_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

namespace q905 {

StartupWarmUp::StartupWarmUp(QString skinFolder, QStringList onDemand, SkinComposition composition)
    : m_skin(std::move(skinFolder), likelyPictureScale(composition)) {
    auto ended = std::make_shared<std::promise<void>>();
    m_ended = ended->get_future();
    QThreadPool::globalInstance()->start([this, ended, onDemand = std::move(onDemand),
                                          composition = std::move(composition),
                                          applicationFuture = m_application.get_future().share()] {
        bool composed = false;
        const auto decode = [&] {
            composed = !composition.base.isEmpty() && m_skin.composeFromCache(composition);
            // Listed without a name filter: a wildcard would load the regular expression engine.
            const QDir folder(m_skin.folder());
            for (const QString& name : folder.entryList(QDir::Files))
                if (name.endsWith(QLatin1String(".png")) &&
                    !isScaledPictureName(name.toStdString()) && !onDemand.contains(name) &&
                    !m_skin.composedAway(name) && !(composed && name == composition.base))
                    (void)m_skin.image(name); // decoded now, kept in m_skin for the first frame
        };
        // Decoded before the screens are known: the set they will likely need.
        decode();
#ifdef Q905_HAVE_FONTCONFIG
        // Reading the font configuration and caches is the largest single cost of the first
        // text.
        FcInit();
#endif
        // Painting and Qt's font database need the application object; with it come the
        // screens, and the set they need.
        const int scale = applicationFuture.get();
        const bool application = scale != 0;
        if (application && scale != m_skin.scale()) {
            m_skin.setScale(scale);
            decode();
        }
        if (application && !composed && !composition.base.isEmpty())
            m_skin.compose(composition);
        m_picturesDone.set_value(); // m_skin belongs to the main thread from here on
        // Listing the families fills the font database, which is shared between threads; the
        // first text on the main thread then only has to match its font.
        if (application)
            (void)QFontDatabase::families();
        ended->set_value();
    });
}

StartupWarmUp::~StartupWarmUp() {
    finish();
}

void StartupWarmUp::applicationCreated() {
    if (m_applicationSaid)
        return;
    m_applicationSaid = true;
    m_application.set_value(pictureScaleForScreens());
}

SkinCache StartupWarmUp::take() {
    // Without an application object the pictures are taken unprepared, not waited for forever.
    if (!m_applicationSaid) {
        m_applicationSaid = true;
        m_application.set_value(0);
    }
    m_picturesDone.get_future().wait();
    return std::move(m_skin);
}

void StartupWarmUp::finish() {
    if (!m_applicationSaid) {
        m_applicationSaid = true;
        m_application.set_value(0);
    }
    if (m_ended.valid())
        m_ended.wait();
}

} // namespace q905
