// SPDX-License-Identifier: GPL-3.0-or-later
// Key names under real XKB layouts, compiled from the system's xkb-data as the window and
// q905ctl compile them when no X server gives its keymap.
#include "keys/KeyLabels.h"
#include "keys/KeyTable.h"
#include "macros/ShownKeyNames.h"
#include "platform/SystemKeyboardLayout.h"
#include "platform/XkbKeyboardLayout.h"

#include <gtest/gtest.h>

#include <map>

namespace q905 {
namespace {

std::unique_ptr<XkbKeyboardLayout> compiled(const char* layout, const char* variant = "") {
    auto keys = XkbKeyboardLayout::fromNames({layout, variant});
    if (!keys)
        ADD_FAILURE() << "no keymap for " << layout << " (is xkb-data installed?)";
    return keys;
}

// A listener tells every key from every other by its name alone, under any layout, while the
// caps keep their short labels.
TEST(SpokenKeyNames, AreUniqueAndInFullWordsInBothLanguages) {
    const auto german = compiled("de");
    const auto french = compiled("fr");
    const auto us = compiled("us");
    for (const KeyboardLayout* layout : {static_cast<const KeyboardLayout*>(nullptr),
                                         static_cast<const KeyboardLayout*>(german.get()),
                                         static_cast<const KeyboardLayout*>(french.get()),
                                         static_cast<const KeyboardLayout*>(us.get())}) {
        for (const Language language : {Language::English, Language::German}) {
            std::map<std::string, int> seen;
            for (int key = 0; key < kKeyCount; ++key) {
                if (isUnplacedKey(key))
                    continue;
                const std::string name = spokenKeyName(key, language, layout);
                EXPECT_FALSE(name.empty()) << key;
                const auto [at, added] = seen.emplace(name, key);
                EXPECT_TRUE(added)
                    << "keys " << at->second << " and " << key << " both read \"" << name << "\"";
            }
        }
    }
    const std::map<int, std::pair<std::string, std::string>> expected{
        {58, {"Number pad 7", "Ziffernblock 7"}},
        {78, {"Left Shift", "Umschalttaste links"}},
        {89, {"Right Shift", "Umschalttaste rechts"}},
        {54, {"Enter", "Eingabe"}},
        {94, {"Number pad Enter", "Ziffernblock Eingabe"}},
        {13, {"Print Screen", "Druck"}},
        {14, {"Scroll Lock", "Rollen"}},
        {33, {"Backspace", "Rücktaste"}},
        {27, {"7", "7"}},
        {47, {"Y", "Y"}}};
    for (const auto& [key, names] : expected) {
        EXPECT_EQ(spokenKeyName(key, Language::English, nullptr), names.first);
        EXPECT_EQ(spokenKeyName(key, Language::German, nullptr), names.second);
    }
    EXPECT_EQ(spokenKeyName(47, Language::German, german.get()), "Z") << "the layout's letter";
    EXPECT_EQ(pictureLabel(58, Language::English, nullptr), "7") << "the cap keeps its label";
}

TEST(KeyboardLayout, GermanNamesTheKeysAsItsKeycapsDo) {
    const auto german = compiled("de");
    ASSERT_TRUE(german);
    EXPECT_EQ(german->typedText('Z'), "Y");
    EXPECT_EQ(german->typedText('Y'), "Z");
    EXPECT_EQ(german->typedText(0xBA), "Ö"); // US ';'
    EXPECT_EQ(german->typedText(0xDB), "Ü");
    EXPECT_EQ(german->typedText(0xBD), "ß"); // has no capital on a keycap
    EXPECT_EQ(german->typedText(0xE2), "<"); // the key the US layout lacks
    EXPECT_EQ(german->typedText(0xDC), "#");
    // Dead keys type nothing alone: their accent stands for them.
    EXPECT_EQ(german->typedText(0xC0), "^");
    EXPECT_EQ(german->typedText(0xBB), "´");
}

TEST(KeyboardLayout, FrenchNamesTheKeysAsItsKeycapsDo) {
    const auto french = compiled("fr");
    ASSERT_TRUE(french);
    EXPECT_EQ(french->typedText('Q'), "A");
    EXPECT_EQ(french->typedText('A'), "Q");
    EXPECT_EQ(french->typedText(0xBA), "M");
    EXPECT_EQ(french->typedText('2'), "É"); // the digit row types its symbols unshifted
    EXPECT_EQ(french->typedText('1'), "&");
    EXPECT_EQ(french->typedText(0xDB), "^");
}

TEST(KeyboardLayout, UsAndKeysWithoutACharacter) {
    const auto us = compiled("us");
    ASSERT_TRUE(us);
    EXPECT_EQ(us->typedText('Z'), "Z");
    EXPECT_EQ(us->typedText(0xBA), ";");
    EXPECT_EQ(us->typedText('0'), "0");
    // Blanks, controls and keys that only change other keys name nothing.
    for (const std::uint8_t code : {0x20, 0x09, 0x0D, 0x1B, 0x08, 0xA0, 0x14, 0x70, 0x00})
        EXPECT_EQ(us->typedText(code), "") << int(code);
    // A variant is taken with its layout.
    const auto dvorak = compiled("us", "dvorak");
    ASSERT_TRUE(dvorak);
    EXPECT_EQ(dvorak->typedText('Q'), "'");
    EXPECT_FALSE(XkbKeyboardLayout::fromNames({"no-such-layout", ""}));
}

TEST(KeyboardLayout, ShownNamesTakeOnlyCharacterKeysFromTheLayout) {
    const auto german = compiled("de");
    ASSERT_TRUE(german);
    EXPECT_EQ(shownKeyName('Z', german.get()), "Y");
    EXPECT_EQ(shownKeyName(0xE2, german.get()), "<"); // nameless in the US table
    // Keypad keys type digits or symbols too, but are named the same under every layout.
    EXPECT_EQ(shownKeyName(0x6F, german.get()), "/");
    EXPECT_EQ(shownKeyName(0x67, german.get()), "7-num");
    EXPECT_EQ(shownKeyName('Z', nullptr), "Z");
}

TEST(KeyboardLayout, ConfiguredLayoutFromTheSystemFile) {
    const auto names = configuredLayoutNames("# KEYBOARD CONFIGURATION FILE\n"
                                             "XKBMODEL=\"pc105\"\n"
                                             "XKBLAYOUT=\"de,us\"\n"
                                             "XKBVARIANT='nodeadkeys,'\n"
                                             "BACKSPACE=\"guess\"\n");
    EXPECT_EQ(names.layout, "de");
    EXPECT_EQ(names.variant, "nodeadkeys");
    EXPECT_EQ(configuredLayoutNames("XKBLAYOUT=fr\r\n").layout, "fr");
    // A variant without a layout would be applied to US: it is dropped.
    EXPECT_EQ(configuredLayoutNames("XKBVARIANT=dvorak\n").variant, "");
}

} // namespace
} // namespace q905
