// Fuzz target of parameter files and blocks: an input is a line "TYPE IDENTIFIER" and the file's
// content after it. The file's block of that identifier is assembled and pushed, then read as the
// runtime reads settings: by name (plain and list reading), by number, and item by item.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "runtime/env/parm_files.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/text_lists.h"
#include "runtime/text/text_search.h"
#include "runtime/vars/parm_blocks.h"
#include "runtime/vars/parm_syntax.h"
#include "tests/fuzz/support/fuzz_runtime.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace rt;
    fuzz::FuzzInput input;
    auto parts = fuzz::SplitInput(data, size, "\n", 2);
    std::string head(parts[0].substr(0, 32));
    std::uint16_t type = static_cast<std::uint16_t>(std::strtoul(head.c_str(), nullptr, 10) % 8);
    std::size_t blank = head.find(' ');
    std::int32_t id = blank == std::string::npos ? kParmAllLines
                                                 : static_cast<std::int32_t>(std::strtol(head.c_str() + blank, nullptr, 10));
    fuzz::ScratchWrite("PARM.PPN", parts.size() > 1 ? parts[1] : std::string_view());
    DynScope scope;
    if (ParmPush(S("PARM.PPN"), type, id) != 0) return 0;
    StrDesc block = ParmTopBlock();
    // Every name the block assigns, read back both ways.
    ItemCursor items(block, ':');
    StrDesc item;
    for (int i = 0; i < 64 && items.Next(&item); ++i) {
        DynScope each;
        std::uint16_t eq = FindAny(item, 0, S("=:"), kExact);
        StrDesc name = eq == kNone ? item : StrDesc{item.ptr, eq};
        ParmValue(ParmTopBlock(), name);
        ParmValueList(ParmTopBlock(), name);
        ParmTop(name);
    }
    for (std::uint16_t number = 0; number <= 24; ++number) {
        DynScope each;
        ParmTopByNumber(number);
        ParmFrom(ParmTopBlock(), number, static_cast<std::uint16_t>(number % 3));
    }
    ParmPop();
    return 0;
}
