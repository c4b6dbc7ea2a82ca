// Preparation of expression texts and the cursor that starts a scan.
#include "runtime/expr/exp_prepare.h"

#include <cstring>

#include "runtime/env/errors.h"
#include "runtime/expr/evaluator.h"
#include "runtime/expr/exp_scan.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/text_build.h"
#include "runtime/text/text_search.h"

namespace rt {
namespace {

struct Macro {
    StrDesc name;    // the macro name with its '('
    StrDesc prefix;  // what replaces the name
    StrDesc suffix;  // what replaces the macro's ')'
};
// The dialog macros read item x of the current dialog's parameter text.
const Macro kMacros[] = {
    {S("_ACCEPT#("), S("FN#VALN(FN$TRIM(FN$PARM(_$(.envvar;.dialog);"), S(");'FIT'))")},
    {S("_ACCEPT$("), S("FN$TRIM(FN$PARM(_$(.envvar;.dialog);"), S(");'FIT')")},
};

bool MayHoldMacro(StrDesc text) {
    return text.len >= 8 && memmem(text.ptr, text.len, "_ACCEPT", 7) != nullptr;
}

// Replaces every occurrence of the macro in *text; 129 when one has no closing parenthesis.
ErrCode ExpandMacro(const Macro& m, StrDesc* text) {
    for (;;) {
        std::uint16_t at = FindText(*text, m.name, kQuoteAware);
        if (at == kNone) return 0;
        std::uint16_t open = static_cast<std::uint16_t>(at + m.name.len - 1);
        std::uint16_t close = ExpMatchParen(*text, open);
        if (close == kNone) return kErrLoopFailure;
        StrDesc before{text->ptr, at};
        StrDesc inner{text->ptr + open + 1, static_cast<std::uint16_t>(close - open - 1)};
        StrDesc after{text->ptr + close + 1, static_cast<std::uint16_t>(text->len - close - 1)};
        StrDesc out = StrAssemble({before, m.prefix, inner, m.suffix, after});
        if (out.IsError()) return out.len;
        *text = out;
    }
}

}  // namespace

ErrCode ExpPrepare(StrDesc text, StrDesc* prepared) {
    *prepared = StrEmpty();
    if (ErrCode e = StrCheck(text)) return e;
    std::uint16_t mark = DynMark();
    StrDesc out = DynAlloc(text.len);
    if (out.IsError()) return out.len;

    // One pass: copy without the spaces outside quotes, count parentheses, judge each run of spaces.
    const unsigned char* b = text.bytes();
    char* o = out.mut();
    std::uint32_t len = text.len, n = 0;
    std::int32_t depth = 0;
    bool misordered = false;
    std::uint32_t badSpace = len + 1;
    for (std::uint32_t i = 0; i < len;) {
        unsigned char c = b[i];
        if (c == '\'' || c == '"') {
            const void* close = std::memchr(b + i + 1, c, len - i - 1);
            std::uint32_t end = close ? std::uint32_t(static_cast<const unsigned char*>(close) - b) + 1 : len;
            std::memcpy(o + n, b + i, end - i);
            n += end - i;
            i = end;
            continue;
        }
        if (c == ' ') {
            std::uint32_t j = i;
            while (j < len && b[j] == ' ') ++j;
            bool beforeOp = i > 0 && ExpIsOperatorChar(b[i - 1]);
            bool afterOp = j < len && ExpIsOperatorChar(b[j]);
            if (!beforeOp && !afterOp && badSpace > len) badSpace = i;
            i = j;
            continue;
        }
        if (c == '(') {
            ++depth;
        } else if (c == ')') {
            if (--depth < 0) misordered = true;
        }
        o[n++] = static_cast<char>(c);
        ++i;
    }
    out.len = static_cast<std::uint16_t>(n);

    ErrCode status = 0;
    if (MayHoldMacro(out)) {
        for (const Macro& m : kMacros) {
            status = ExpandMacro(m, &out);
            if (status != 0) break;
        }
        if (status == 0) {
            out = DynKeep(mark, out);
            if (out.IsError()) return out.len;
        } else {
            ErrSetText(status, text);
        }
    }
    *prepared = out;
    if (status != 0) return status;
    // A ')' before its '(' counts as unbalanced as well.
    if (depth != 0 || misordered) return ErrSetText(kErrLoopFailure, text);
    if (badSpace <= len)
        return ErrSetText(kErrSintaxError, StrDesc{text.ptr + badSpace, static_cast<std::uint16_t>(len - badSpace)});
    return 0;
}

ExpCursor ExpStart(StrDesc text) {
    ExpCursor c;
    c.status = ExpPrepare(text, &c.text);
    c.next = 0;
    return c;
}

}  // namespace rt
