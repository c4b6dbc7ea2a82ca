// The process-wide first-error note: the area and code of the first serious error of a run.
#include "runtime/text/error_note.h"

#include "runtime/text/err_codes.h"

namespace rt {
namespace {
ErrCode g_code = 0;
std::uint16_t g_area = 0;
}  // namespace

ErrCode ErrNote(int condition, std::uint16_t area, ErrCode code, ErrCode value) {
    if (condition == 0) return value;
    if (condition == 2) {
        g_code = code;
        g_area = area;
    } else if (g_code == 0 && code >= kErrSerious) {
        g_code = code;
        g_area = area;
    }
    return value;
}

StrDesc ErrNoteDesc(int condition, std::uint16_t area, ErrCode code, StrDesc other) {
    if (condition == 0) return other;
    ErrNote(condition, area, code, code);
    return StrError(code);
}

void ErrClear() {
    g_code = 0;
    g_area = 0;
}

std::uint32_t ErrNoted() { return (std::uint32_t(g_area) << 16) | g_code; }

}  // namespace rt
