// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every picture of the skin, by the file name the program loads it with.

#include <QImage>
#include <QString>

#include <vector>

namespace q905::skin {

struct NamedPicture {
    QString name; // path below the language folder, as the program spells it
    QImage picture;
};
using PictureSet = std::vector<NamedPicture>;

// The main window's background, window buttons, help menu and button plates.
void addWindowPictures(PictureSet& pictures);
// "kb_BK.png" and its highlighted twin "kb_hl.png", drawn from the key table.
void addKeyboardPictures(PictureSet& pictures);
// The lighting panel's drop-down box, swatch, direction buttons, toggles, scales and sliders.
void addPanelPictures(PictureSet& pictures);
// The custom colour dialog's background with its printed colour grid.
void addColourDialogPictures(PictureSet& pictures);
// The key assignment dialog's pictures in "Custom/".
void addKeyDialogPictures(PictureSet& pictures);
// The macro dialog ("MacroManagement/") and the profile dialog ("Config/").
void addDialogPictures(PictureSet& pictures);

} // namespace q905::skin
