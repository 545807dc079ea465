// SPDX-License-Identifier: GPL-3.0-or-later
// Key names under real XKB layouts, compiled from the system's xkb-data as the window and
// q905ctl compile them when no X server gives its keymap.
#include "macros/ShownKeyNames.h"
#include "platform/SystemKeyboardLayout.h"
#include "platform/XkbKeyboardLayout.h"

#include <gtest/gtest.h>

namespace q905 {
namespace {

std::unique_ptr<XkbKeyboardLayout> compiled(const char* layout, const char* variant = "") {
    auto keys = XkbKeyboardLayout::fromNames({layout, variant});
    if (!keys)
        ADD_FAILURE() << "no keymap for " << layout << " (is xkb-data installed?)";
    return keys;
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
