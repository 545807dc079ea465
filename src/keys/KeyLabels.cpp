// SPDX-License-Identifier: GPL-3.0-or-later
#include "keys/KeyLabels.h"

#include "keys/KeyTable.h"
#include "macros/KeyboardLayout.h"
#include "macros/ShownKeyNames.h"

#include <array>
#include <string_view>
#include <utility>

namespace q905 {

namespace {

// The named keys as a German keyboard prints them; the arrows are printed as arrows. The page
// keys' thin arrows would be lost beside "Bild" at a keycap's size: filled triangles are not.
constexpr std::array<std::pair<int, std::string_view>, 24> kGermanLabels{{
    {13, "Druck"},     {14, "Rollen"},  {33, "Rück"},      {34, "Einfg"},  {35, "Pos1"},
    {36, "Bild▲"},     {54, "Eingabe"}, {55, "Entf"},      {56, "Ende"},   {57, "Bild▼"},
    {62, "Feststell"}, {78, "Umsch"},   {89, "Umschalt"},  {90, "↑"},      {94, "Eing"},
    {95, "Strg"},      {97, "Alt"},     {98, "Leertaste"}, {99, "Alt Gr"}, {101, "Menü"},
    {102, "Strg"},     {103, "←"},      {104, "↓"},        {105, "→"},
}};

struct SpokenName {
    int keyIndex;
    std::string_view english;
    std::string_view german;
};

// Every key whose cap is abbreviated, or that the keyboard has twice.
constexpr std::array<SpokenName, 44> kSpokenNames{{
    {0, "Escape", "Escape"},
    {13, "Print Screen", "Druck"},
    {14, "Scroll Lock", "Rollen"},
    {33, "Backspace", "Rücktaste"},
    {34, "Insert", "Einfügen"},
    {35, "Home", "Pos1"},
    {36, "Page Up", "Bild auf"},
    {37, "Num Lock", "Num-Taste"},
    {38, "Number pad divide", "Ziffernblock geteilt"},
    {39, "Number pad multiply", "Ziffernblock mal"},
    {40, "Number pad minus", "Ziffernblock minus"},
    {41, "Tab", "Tabulator"},
    {54, "Enter", "Eingabe"},
    {55, "Delete", "Entfernen"},
    {56, "End", "Ende"},
    {57, "Page Down", "Bild ab"},
    {58, "Number pad 7", "Ziffernblock 7"},
    {59, "Number pad 8", "Ziffernblock 8"},
    {60, "Number pad 9", "Ziffernblock 9"},
    {61, "Number pad plus", "Ziffernblock plus"},
    {62, "Caps Lock", "Feststelltaste"},
    {75, "Number pad 4", "Ziffernblock 4"},
    {76, "Number pad 5", "Ziffernblock 5"},
    {77, "Number pad 6", "Ziffernblock 6"},
    {78, "Left Shift", "Umschalttaste links"},
    {89, "Right Shift", "Umschalttaste rechts"},
    {90, "Up arrow", "Pfeil nach oben"},
    {91, "Number pad 1", "Ziffernblock 1"},
    {92, "Number pad 2", "Ziffernblock 2"},
    {93, "Number pad 3", "Ziffernblock 3"},
    {94, "Number pad Enter", "Ziffernblock Eingabe"},
    {95, "Left Ctrl", "Strg links"},
    {96, "Windows", "Windows"},
    {97, "Left Alt", "Alt"},
    {98, "Space", "Leertaste"},
    {99, "Right Alt", "Alt Gr"},
    {100, "Fn", "Fn"},
    {101, "Menu", "Menü"},
    {102, "Right Ctrl", "Strg rechts"},
    {103, "Left arrow", "Pfeil nach links"},
    {104, "Down arrow", "Pfeil nach unten"},
    {105, "Right arrow", "Pfeil nach rechts"},
    {106, "Number pad 0", "Ziffernblock 0"},
    {107, "Number pad decimal point", "Ziffernblock Komma"},
}};

} // namespace

std::string spokenKeyName(int keyIndex, Language language, const KeyboardLayout* layout) {
    for (const SpokenName& name : kSpokenNames)
        if (name.keyIndex == keyIndex)
            return std::string(language == Language::German ? name.german : name.english);
    return pictureLabel(keyIndex, language, layout);
}

std::string pictureLabel(int keyIndex, Language language, const KeyboardLayout* layout) {
    const KeyEntry& key = KeyTable[static_cast<std::size_t>(keyIndex)];
    if (!key.isPlaced())
        return {};
    if (layout != nullptr && followsLayout(key.keyCode)) {
        if (std::string typed = layout->typedText(key.keyCode); !typed.empty())
            return typed;
    }
    if (language == Language::German) {
        for (const auto& [index, label] : kGermanLabels)
            if (index == keyIndex)
                return std::string(label);
    }
    return std::string(key.label);
}

} // namespace q905
