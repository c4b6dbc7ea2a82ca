// Builds the two field-entry specs of the limits capture from a file's fields and the catalog's
// labels "(Desde)" and "(Hasta)".
#include "runtime/sql/limits_form.h"

#include "runtime/data/file_table.h"
#include "runtime/env/catalog.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/text_build.h"
#include "runtime/text/text_clean.h"
#include "runtime/text/text_lists.h"

namespace rt {
namespace {

// The expression language's operators in their list order; the specs take 11 (==), 12 (>=), 13 (<=).
constexpr StrDesc kOperators = S("*,/,!,%,\xF7,+,-,=,>,<,==,>=,<=,<>,&,|,@,&&,||,@@");
constexpr std::uint16_t kOpEqual = 11, kOpFrom = 12, kOpTo = 13;
// Items of catalog message "0080" used as label suffixes.
constexpr std::uint16_t kLabelFrom = 4, kLabelTo = 5;

// Appends one entry to spec (with ',' when spec is not empty); the new spec on DynStrings.
StrDesc AddEntry(StrDesc spec, std::uint8_t file, std::uint16_t field, StrDesc suffix, std::uint16_t op) {
    FieldDesc f = FieldInfo(file, field);
    StrDesc name = FieldName(file, field);
    StrDesc entry = Format(0xFFFF, "'%.*s %.*s:':'%c%u':%.*s{}%.*s", int(name.len), name.ptr, int(suffix.len),
                           suffix.ptr, f.type, unsigned(f.width), int(name.len), name.ptr,
                           int(Item(kOperators, ',', op).len), Item(kOperators, ',', op).ptr);
    return spec.len == 0 ? entry : StrJoin(spec, S(","), entry);
}

}  // namespace

StrDesc LimitsChoiceSpec(std::uint8_t file) {
    DynScope scope;
    std::uint16_t count = FieldCount(file);
    if (count > kLimitsChoiceFields) count = kLimitsChoiceFields;
    StrDesc spec = StrEmpty();
    for (std::uint16_t i = 1; i <= count; ++i) {
        StrDesc name = FieldName(file, i);
        StrDesc entry = Format(0xFFFF, "'%.*s(L/S):':'A1'", int(name.len), name.ptr);
        spec = i == 1 ? entry : StrJoin(spec, S(","), entry);
        if (spec.IsError()) break;
    }
    return scope.Keep(spec);
}

StrDesc LimitsSpec(std::uint8_t file, StrDesc answer, std::uint16_t* first) {
    if (first) *first = 0;
    DynScope scope;
    StrDesc labels = MsgText("0080");
    StrDesc from = Item(labels, ',', kLabelFrom), to = Item(labels, ',', kLabelTo);
    std::uint16_t count = FieldCount(file);
    StrDesc spec = StrEmpty();
    ItemCursor items(answer, ',');
    StrDesc item;
    std::uint16_t i = 0;
    while (items.Next(&item) && !spec.IsError()) {
        ++i;
        StrDesc letter = Trim(Unquote(Trim(item, kTrimBoth)), kTrimBoth);
        if (letter.len == 0) continue;
        if (first && *first == 0) *first = i;
        if (i > count) continue;
        unsigned char c = letter.bytes()[0];
        if (c >= 'a' && c <= 'z') c = static_cast<unsigned char>(c - 'a' + 'A');
        if (c == kLimitsRange) {
            spec = AddEntry(spec, file, i, from, kOpFrom);
            spec = AddEntry(spec, file, i, to, kOpTo);
        } else if (c == kLimitsSelection) {
            spec = AddEntry(spec, file, i, StrEmpty(), kOpEqual);
        }
    }
    return scope.Keep(spec);
}

}  // namespace rt
