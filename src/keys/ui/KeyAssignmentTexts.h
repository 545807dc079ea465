// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The key assignment dialog's texts in both languages; its controls' names are in its table.

#include "base/WindowText.h"

namespace q905::key_texts {

// Left of the key's name in the title line.
inline constexpr WindowText kTitle{"Selected key:", "Gew\u00E4hlte Taste:"};

// In an armed capture field until a key is pressed; also what a screen reader hears then.
inline constexpr WindowText kPressKey{"Press the key to assign", "Zu belegende Taste dr\u00FCcken"};
inline constexpr WindowText kPressCombination{"Press up to three keys together",
                                              "Bis zu drei Tasten zusammen dr\u00FCcken"};
// A capture field's description while not armed.
inline constexpr WindowText kArmHint{"Enter or a click: assign keys",
                                     "Eingabetaste oder Klick: Tasten belegen"};

inline constexpr WindowText kSelectSubItem{"Please select Sub item",
                                           "Bitte w\u00E4hle einen Unterpunkt aus"};
inline constexpr WindowText kFolderPickerTitle{"modification path", "Ordner w\u00E4hlen"};
inline constexpr WindowText kNotAProgram{
    "This file is not a program you may start. Please select a program.",
    "Diese Datei ist kein Programm, das Du starten darfst. Bitte w\u00E4hle ein Programm aus."};
inline constexpr WindowText kAssignFailed{"The key could not be assigned.",
                                          "Die Taste konnte nicht belegt werden."};
inline constexpr WindowText kPathTooLong{
    "The key could not be assigned: the path is longer than 255 characters.",
    "Die Taste konnte nicht belegt werden: der Pfad ist l\u00E4nger als 255 Zeichen."};
inline constexpr WindowText kCannotSendKey{
    "The keyboard cannot send the key you pressed. Please choose another key.",
    "Die gedr\u00FCckte Taste kann die Tastatur nicht senden. Bitte w\u00E4hle eine andere Taste."};

// File pickers: the classic file type first, then what else fits, then everything.
inline constexpr const char* kMusicFilter =
    "mp3 Files(*.mp3);;Audio files (*.mp3 *.ogg *.oga *.opus *.flac *.wav *.m4a *.aac *.wma "
    "*.mid *.midi);;All files (*)";
inline constexpr const char* kProgramFilter = "All files (*)";
inline constexpr const char* kTextFilter = "txt Files(*.txt);;All files (*)";

} // namespace q905::key_texts
