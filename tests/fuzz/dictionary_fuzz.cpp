// Fuzz target of structure dictionaries: an input is the pair X1DICC.DAT and X1REL.DAT (split at the
// first form feed) loaded as start-up loads them; every file it registers is then opened and its
// fields, keys and relations are read and written.
#include <cstdint>

#include "runtime/data/dictionary.h"
#include "runtime/data/fields.h"
#include "runtime/data/file_open.h"
#include "runtime/data/file_table.h"
#include "runtime/data/keys.h"
#include "runtime/data/record_buffer.h"
#include "runtime/data/relations.h"
#include "runtime/text/dyn_strings.h"
#include "tests/fuzz/support/fuzz_runtime.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace rt;
    fuzz::FuzzInput input;
    auto parts = fuzz::SplitInput(data, size, "\f", 2);
    fuzz::ScratchWrite("X1DICC.DAT", parts[0]);
    if (parts.size() > 1) fuzz::ScratchWrite("X1REL.DAT", parts[1]);
    std::string folder = fuzz::ScratchRuntimePath("");
    DynScope scope;
    DictLoadForStart(fuzz::View(folder), S("X1"));
    for (std::uint8_t n = 1; n <= FileCount(); ++n) {
        DynScope each;
        FileName(n, 0);
        FieldNameList(n, true);
        if (FileOpen(n, 1) != 0) continue;
        for (std::uint16_t f = 1; f <= FieldCount(n) && f <= 64; ++f) {
            DynScope field;
            FieldByName(n, FieldName(n, f));
            FieldSet(n, f, S("  -12,5 Jos\xE9 20250305 "));
            FieldGet(n, f);
            FieldSet(n, f, S(""));
            FieldGet(n, f);
        }
        RecBlank(n, 0);
        for (std::uint16_t k = 1; k <= KeyCount(n) && k <= 16; ++k) {
            DynScope key;
            KeyValue(n, k);
            KeyFields(n, k);
        }
        for (std::uint8_t t = 1; t <= FileCount(); ++t) {
            RelationKey(n, t, 1);
            DynScope rel;
            RelationValue(n, t, 1);
        }
        FileClose(n);
    }
    return 0;
}
