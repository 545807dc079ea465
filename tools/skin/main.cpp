// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the skin pictures into <output>/english and <output>/german at build time, each at 1x
// and at 2x ("name@2x.png") for screens of a higher device pixel ratio.
// The pictures carry no words that change with the language, so both sets are the same.
#include "controls/PictureScale.h"
#include "skin/SkinPaint.h"
#include "skin/SkinPictures.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: q905_skin_generator <png folder>\n");
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[1]);

    for (const int scale : {1, q905::kHighPictureScale}) {
        q905::skin::setPictureScale(scale);
        q905::skin::PictureSet pictures;
        try {
            q905::skin::addWindowPictures(pictures);
            q905::skin::addKeyboardPictures(pictures);
            q905::skin::addPanelPictures(pictures);
            q905::skin::addColourDialogPictures(pictures);
            q905::skin::addKeyDialogPictures(pictures);
            q905::skin::addDialogPictures(pictures);
        } catch (const std::exception& error) {
            std::fprintf(stderr, "q905_skin_generator: %s\n", error.what());
            return 1;
        }
        for (const char* language : {"english", "german"}) {
            const QDir folder(output + QLatin1Char('/') + QLatin1String(language));
            for (const q905::skin::NamedPicture& entry : pictures) {
                const QString path = folder.filePath(QString::fromStdString(
                    q905::scaledPictureName(entry.name.toStdString(), scale)));
                if (!QDir().mkpath(QFileInfo(path).path()) || !entry.picture.save(path, "PNG")) {
                    std::fprintf(stderr, "q905_skin_generator: cannot write %s\n",
                                 qPrintable(path));
                    return 1;
                }
            }
        }
    }
    return 0;
}
