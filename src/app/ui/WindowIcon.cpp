// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/WindowIcon.h"

#include <QFileInfo>
#include <QPainter>
#include <QPixmap>

namespace q905 {

namespace {

// A keyboard outline in the skin's colours, for a run without the SVG or its image plugin;
// a tray icon must never be empty.
QIcon drawnIcon() {
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(35, 35, 35));
    painter.setPen(QPen(QColor(200, 20, 20), 3));
    painter.drawRoundedRect(QRectF(4, 16, 56, 34), 6, 6);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(230, 230, 230));
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 6; ++column)
            painter.drawRect(10 + column * 8, 21 + row * 8, 5, 5);
    return QIcon(pixmap);
}

} // namespace

QIcon q905WindowIcon(const std::filesystem::path& assetRoot) {
    // The installed icon read from its file (it is installed once, in the hicolor theme beside
    // the shipped files' folder), not a lookup in the icon theme: that parses the theme's whole
    // index and would make the idle window hold most of a megabyte more.
    const QString shipped = QString::fromStdString(
        (assetRoot.parent_path() / "icons" / "hicolor" / "scalable" / "apps" / "q905.svg")
            .string());
    if (QFileInfo::exists(shipped)) {
        QIcon icon(shipped);
        if (!icon.pixmap(32, 32).isNull())
            return icon;
    }
    return drawnIcon();
}

} // namespace q905
