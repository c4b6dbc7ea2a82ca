// Fuzz target of language files: an input is the file KV_LANG_ES.MSJ found in the program's folder
// at the run's first message lookup; the messages the runtime shows are then looked up, as texts, as
// comma lists and inside error texts.
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/env/catalog.h"
#include "runtime/env/errors.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/slot_table.h"
#include "runtime/text/text_lists.h"
#include "tests/fuzz/support/fuzz_runtime.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace rt;
    fuzz::FuzzInput input;
    fuzz::ScratchWrite("KV_LANG_ES.MSJ", std::string_view(reinterpret_cast<const char*>(data), size));
    std::string folder = fuzz::ScratchRuntimePath("");
    folder.pop_back();  // without the closing separator
    SlotSet(kRunGroup, kSlotDefaultFolder, fuzz::View(folder));
    SlotSet(kRunGroup, kSlotLanguage, S("ES"));
    MsgLangReset();
    DynScope scope;
    // The codes the file names (the first four bytes of each line), and codes the runtime shows.
    std::vector<std::string> codes = {"0005", "0008", "0009", "0019", "0023", "0101", "0117", "9999"};
    for (std::string_view line : fuzz::SplitInput(data, size, "\n", 64)) codes.emplace_back(line.substr(0, 4));
    for (const std::string& code : codes) {
        DynScope each;
        StrDesc text = MsgText(fuzz::View(code));
        fuzz::FuzzCheck(!text.IsError(), "a message lookup never fails");
        std::uint16_t items = ItemCount(text, ',');
        for (std::uint16_t i = 1; i <= items && i <= 8; ++i) Item(text, ',', i);
    }
    // A code that carries its own default, and the error texts built from messages.
    MsgText(S("0023 Fin de fichero"));
    for (ErrCode c : {ErrCode{2}, ErrCode{5}, ErrCode{127}, ErrCode{128}, ErrCode{147}, ErrCode{164}}) {
        DynScope each;
        ErrSetText(c, S("detalle"));
        ErrText(c);
    }
    LangFileName(S("C:\\datos\\trans.ppn"), -1);
    return 0;
}
