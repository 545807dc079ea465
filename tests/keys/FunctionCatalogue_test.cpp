// SPDX-License-Identifier: GPL-3.0-or-later
#include "keys/FunctionCatalogue.h"

#include <gtest/gtest.h>

namespace q905 {
namespace {

TEST(FunctionCatalogue, TreeOrderAndGroups) {
    const auto tree = FunctionCatalogue::tree();
    std::vector<std::string_view> roots;
    for (const auto& item : tree)
        roots.push_back(item.text);
    EXPECT_EQ(roots, (std::vector<std::string_view>{
                         "Search", "Run", "Media", "Shortcut", "Windows", "Computer / My Computer",
                         "Windows security screen", "Internet browser", "Close window"}));
    EXPECT_EQ(tree[2].function, nullptr);
    EXPECT_EQ(tree[2].children.size(), 8u);
    EXPECT_EQ(tree[3].children.size(), 7u);
    EXPECT_EQ(tree[4].children.back()->name, "Minimize window");
}

TEST(FunctionCatalogue, LookupsCompareAllFourBytes) {
    for (const CatalogueFunction& function : FunctionCatalogue::functions())
        EXPECT_EQ(FunctionCatalogue::nameOf(function.entry), function.name);
    EXPECT_EQ(FunctionCatalogue::entryOf("Windows security screen"),
              (KeyMapEntry{0, 0xE0, 0xE2, 0x4C}));
    EXPECT_EQ(FunctionCatalogue::nameOf({0, 0, 0xE9, 0}), "");
    EXPECT_FALSE(FunctionCatalogue::entryOf("Media"));
    EXPECT_FALSE(FunctionCatalogue::entryOf("copy"));
}

} // namespace
} // namespace q905
