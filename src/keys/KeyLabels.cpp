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

} // namespace

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
