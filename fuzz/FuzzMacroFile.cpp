// SPDX-License-Identifier: GPL-3.0-or-later
// MacroDefine.bin: the macro list taken from any bytes, listed as the macro dialog lists it,
// and written back.

#include "base/Utf16.h"
#include "macros/MacroModel.h"

#include <cstdlib>
#include <memory>

using namespace q905;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static auto macros = std::make_unique<MacroList>();
    *macros = MacroList{};
    macros->fillFromBytes({data, size});
    const std::size_t count = macros->namedCount();
    for (std::size_t i = 0; i < count; ++i) {
        const MacroRecord& record = (*macros)[i];
        (void)utf16ToUtf8(record.name());
        (void)listMacroEvents(record);
    }
    if (macros->toBytes().size() != kMacroListSize)
        std::abort();
    return 0;
}
