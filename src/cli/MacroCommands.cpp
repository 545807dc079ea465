// macro list | show N: the macros the host keeps, as the macro dialog lists them.

#include "app/HostState.h"
#include "cli/Command.h"
#include "macros/MacroModel.h"
#include "platform/Paths.h"
#include "base/Utf16.h"

#include <charconv>
#include <ostream>

namespace q905 {

int runMacro(CliContext& context, std::span<const std::string> args) {
    const std::string action = args.empty() ? "" : args[0];
    int index = -1;
    if (action == "show" && args.size() == 2) {
        const std::string& text = args[1];
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), index);
        if (ec != std::errc{} || end != text.data() + text.size())
            index = -1;
    }
    if (!(action == "list" && args.size() == 1) && !(action == "show" && index >= 0)) {
        context.err << "q905ctl: macro list | show N\n";
        return exitcode::kUsage;
    }
    HostState host(dataFolder(context.options.dataDir));
    host.loadAtStartUp();
    const MacroList& macros = host.macros();
    const std::size_t count = macros.namedCount();
    if (action == "list") {
        for (std::size_t i = 0; i < count; ++i) {
            const MacroRecord& record = macros[i];
            context.out << i << "  " << utf16ToUtf8(record.name()) << "  loop "
                        << record.loopCount() << (record.hasDelay() ? "  with delays" : "") << '\n';
        }
        if (count == 0)
            context.out << "no macros\n";
        return exitcode::kOk;
    }
    if (static_cast<std::size_t>(index) >= count) {
        context.err << "q905ctl: there is no macro " << index << " (" << count << " defined)\n";
        return exitcode::kUsage;
    }
    const MacroRecord& record = macros[static_cast<std::size_t>(index)];
    context.out << utf16ToUtf8(record.name()) << "  loop " << record.loopCount() << '\n';
    for (const std::string& row : listMacroEvents(record))
        context.out << "  " << row << '\n';
    return exitcode::kOk;
}

} // namespace q905
