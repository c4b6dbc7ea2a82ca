// Relation texts of data files and the two lookups that relational reads make in them.
#include "runtime/data/relations.h"

#include "runtime/data/file_table.h"
#include "runtime/data/file_table_state.h"
#include "runtime/text/err_codes.h"
#include "runtime/vars/parm_syntax.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/slot_table.h"
#include "runtime/text/text_build.h"
#include "runtime/text/text_clean.h"
#include "runtime/text/text_search.h"

namespace rt {

namespace {

bool IsParmSeparator(unsigned char c) { return c == ':' || c == ' ' || c == '&' || c == '/'; }

// First occurrence of sub that starts the text or follows a separator, so that 2R1K is not found
// inside 12R1K.
std::uint16_t FindItemStart(StrDesc text, StrDesc sub) {
    std::uint16_t from = 0;
    while (from < text.len) {
        std::uint16_t at = FindTextFrom(text, from, sub, kExact);
        if (at == kNone) return kNone;
        if (at == 0 || IsParmSeparator(text.bytes()[at - 1])) return at;
        from = static_cast<std::uint16_t>(at + 1);
    }
    return kNone;
}

StrDesc RelationPrefix(std::uint8_t target, std::uint16_t relation) {
    return Format(16, "%uR%uK", unsigned{target}, unsigned{relation});
}

}  // namespace

ErrCode RelationAdd(std::uint8_t file, StrDesc text) {
    if (ErrCode e = StrCheck(text)) return e;
    if (!FileValid(file)) return kErrBadFileNumber;
    DynScope scope;
    StrDesc old = StrCopy(SlotGet(kRelationsGroup, file - 1));
    StrDesc joined = old.len == 0 ? text : text.len == 0 ? old : StrJoin(old, S(":"), text);
    if (joined.IsError()) return joined.len;
    return SlotSet(kRelationsGroup, file - 1, joined);
}

StrDesc RelationText(std::uint8_t file) {
    return FileValid(file) ? SlotGet(kRelationsGroup, file - 1) : StrEmpty();
}

std::uint16_t RelationKey(std::uint8_t file, std::uint8_t target, std::uint16_t relation) {
    DynScope scope;
    StrDesc text = RelationText(file);
    StrDesc prefix = RelationPrefix(target, relation);
    if (prefix.IsError()) return 0;
    std::uint16_t at = FindItemStart(text, prefix);
    if (at == kNone) return 0;
    std::uint16_t start = static_cast<std::uint16_t>(at + prefix.len);
    return static_cast<std::uint16_t>(StrToNum(StrDesc{text.ptr + start, static_cast<std::uint16_t>(text.len - start)}));
}

StrDesc RelationValue(std::uint8_t file, std::uint8_t target, std::uint16_t relation) {
    DynScope scope;
    std::uint16_t key = RelationKey(file, target, relation);
    StrDesc prefix = RelationPrefix(target, relation);
    StrDesc name = key == 0 ? prefix : StrConcat(prefix, Format(8, "%u", unsigned{key}));
    if (name.IsError()) return scope.Keep(name);
    // The name is on DynStrings; the relation text is read in place after it was made.
    return scope.Keep(ParmValue(RelationText(file), name));
}

}  // namespace rt
