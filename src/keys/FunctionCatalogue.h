// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The fixed catalogue of named functions a key can carry (media control, editing shortcuts,
// window commands), in the order the function tree shows them. English in every language.

#include "keys/KeyMapEntry.h"

#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace q905 {

struct CatalogueFunction {
    std::string_view name;
    std::string_view group; // "Media", "Shortcut", "Windows", or empty at the top level
    KeyMapEntry entry;
};

// One root item of the function tree: a function, or a group node with its functions.
struct CatalogueTreeItem {
    std::string_view text;
    const CatalogueFunction* function = nullptr; // null for a group node
    std::vector<const CatalogueFunction*> children;
};

class FunctionCatalogue {
  public:
    // Every function in tree order.
    static std::span<const CatalogueFunction> functions();
    // The root items in tree order; a group node sits where its first function appears.
    static std::vector<CatalogueTreeItem> tree();

    static bool isGroupNode(std::string_view text);
    static std::optional<KeyMapEntry> entryOf(std::string_view name);
    // The four bytes are compared as one value; an entry no function has gives "".
    static std::string_view nameOf(const KeyMapEntry& entry);
};

} // namespace q905
