#pragma once
// The key assignment dialog's texts and where they are drawn, in both languages.

#include "base/Language.h"

#include <QPoint>
#include <QString>

#include <array>

namespace q905::key_texts {

struct Text {
    const char* english; // UTF-8
    const char* german;
    QString in(Language language) const {
        return QString::fromUtf8(language == Language::German ? german : english);
    }
};

struct PlacedText {
    Text text;
    QPoint english;
    QPoint german;
    QPoint at(Language language) const { return language == Language::German ? german : english; }
};

// Left of the key's name in the title line, which starts at (127, 3) or (180, 5) in German.
inline constexpr Text kTitle{"Selected key:", "Gewählte Taste:"};
inline const QPoint kTitleLabel{12, 3};
inline const QPoint kKeyName{127, 3};
inline const QPoint kKeyNameGerman{180, 5};
inline constexpr int kTitleHeight = 18;

inline constexpr int kTabTextY = 32;
inline constexpr int kPageTextHeight = 15;
inline const std::array<PlacedText, 4> kTabs{{
    {{"Single/Combine", "Einzeln/Kombi"}, {2, 32}, {2, 32}},
    {{"Macro", "Makro"}, {123, 32}, {123, 32}},
    {{"Basic", "Einfach"}, {220, 32}, {220, 32}},
    {{"Advance", "Fortgeschritten"}, {314, 32}, {295, 32}},
}};
inline const PlacedText kSingleLabel{{"Single", "Einzeln"}, {13, 81}, {13, 81}};
inline const PlacedText kCombineLabel{{"Combine", "Kombiniere"}, {13, 166}, {13, 166}};

inline constexpr int kLaunchLabelX = 15;
inline constexpr int kLaunchLabelXGerman = 12;

inline const PlacedText kDisableKey{{"Disable key", "Deaktivieren Taste"}, {34, 349}, {34, 349}};
inline constexpr int kDisableKeyHeight = 14;

// Reset, Close, Save.
inline const std::array<PlacedText, 3> kButtons{{
    {{"Reset", "Rücksetzen"}, {151, 350}, {138, 350}},
    {{"Close", "Schließen"}, {241, 350}, {228, 350}},
    {{"Save", "Speichern"}, {331, 350}, {318, 350}},
}};
inline constexpr int kButtonTextHeight = 15;
inline constexpr int kButtonTextHeightGerman = 14;

inline constexpr Text kSelectSubItem{"Please select Sub item", "Bitte wähle einen Unterpunkt aus"};
inline constexpr Text kFolderPickerTitle{"modification path", "Ordner wählen"};
inline constexpr Text kNotAProgram{
    "This file is not a program you may start. Please select a program.",
    "Diese Datei ist kein Programm, das Du starten darfst. Bitte wähle ein Programm aus."};
inline constexpr Text kAssignFailed{"The key could not be assigned.",
                                    "Die Taste konnte nicht belegt werden."};
inline constexpr Text kPathTooLong{
    "The key could not be assigned: the path is longer than 255 characters.",
    "Die Taste konnte nicht belegt werden: der Pfad ist länger als 255 Zeichen."};
inline constexpr Text kCannotSendKey{
    "The keyboard cannot send the key you pressed. Please choose another key.",
    "Die gedrückte Taste kann die Tastatur nicht senden. Bitte wähle eine andere Taste."};

// File pickers: the classic file type first, then what else fits, then everything.
inline constexpr const char* kMusicFilter =
    "mp3 Files(*.mp3);;Audio files (*.mp3 *.ogg *.oga *.opus *.flac *.wav *.m4a *.aac *.wma "
    "*.mid *.midi);;All files (*)";
inline constexpr const char* kProgramFilter = "All files (*)";
inline constexpr const char* kTextFilter = "txt Files(*.txt);;All files (*)";

} // namespace q905::key_texts
