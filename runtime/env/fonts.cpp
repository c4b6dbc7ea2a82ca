// The run's font settings: the kept entries, the current screen font, the character cell measured
// on the desktop and the fonts of runtime controls.
#include "runtime/env/fonts.h"

#include <cstring>

#include "platform/desktop.h"
#include "runtime/text/err_codes.h"

namespace rt {
namespace {

FontSpec g_specs[kFontSpecMax];
std::uint16_t g_count = 0;

CellSize DefaultCell() {
    CellSize c;
    if (Desktop* d = DesktopGet()) {
        CharMetrics m = d->DefaultFontMetrics();
        c.width = static_cast<std::uint16_t>(m.avg_width + 1);
        c.height = static_cast<std::uint16_t>(m.height + 3);
    } else {
        c.width = 8 + 1;
        c.height = 16 + 3;
    }
    return c;
}

}  // namespace

ErrCode FontSet(std::uint16_t height, std::uint16_t width, std::uint16_t weight, StrDesc face) {
    if (g_count >= kFontSpecMax) return 0;
    if (ErrCode e = StrCheck(face)) return e;
    FontSpec s;
    if (height == 0xFFFF || width == 0xFFFF) {
        CellSize c = DefaultCell();
        if (height == 0xFFFF) height = c.height;
        if (width == 0xFFFF) width = c.width;
    }
    s.height = height;
    s.width = width;
    s.weight = weight == 0 ? 400 : weight == 1 ? 700 : weight;
    if (face.len < kFontFaceSize) std::memcpy(s.face, face.ptr, face.len);
    g_specs[g_count++] = s;
    return 0;
}

const FontSpec* FontCurrent() { return g_count ? &g_specs[g_count - 1] : nullptr; }
std::uint16_t FontCount() { return g_count; }

void FontReset() {
    g_count = 0;
    for (FontSpec& s : g_specs) s = FontSpec{};
}

CellSize FontCell() {
    const FontSpec* s = FontCurrent();
    if (s != nullptr && s->height != 0) return CellSize{s->width, s->height};
    return DefaultCell();
}

ErrCode ControlFontFor(std::uint16_t kind, ControlFont* out) {
    ControlFont f;
    if (kind == 0) {
        f.source = ControlFontSource::kSystem;
    } else if (kind == 2) {
        const FontSpec* s = FontCurrent();
        if (s == nullptr) {
            f.source = ControlFontSource::kFixed;
        } else {
            f.source = ControlFontSource::kSpec;
            f.spec = *s;
            f.spec.height = static_cast<std::uint16_t>(s->height > 3 ? s->height - 3 : 0);
            // Narrower by a sixteenth of the width, rounded, and by at least one pixel.
            std::uint16_t less = static_cast<std::uint16_t>((s->width + 8) / 16);
            if (less < 1) less = 1;
            f.spec.width = static_cast<std::uint16_t>(s->width > less ? s->width - less : 0);
        }
    } else {
        return kErrData;
    }
    if (out) *out = f;
    return 0;
}

}  // namespace rt
