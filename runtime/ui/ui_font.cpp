// The control font of runtime windows.
#include "runtime/ui/ui_font.h"

#include "runtime/env/fonts.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/ui/ui_text.h"

namespace rt {

FontRequest UiControlFont() {
    ControlFont cf;
    FontRequest r;
    if (ControlFontFor(2, &cf) != 0) return r;
    if (cf.source == ControlFontSource::kSpec) {
        DynScope scope;
        r.face = UiText(StrFromC(cf.spec.face));
        r.height = cf.spec.height;
        r.width = cf.spec.width;
        r.weight = cf.spec.weight;
    } else if (cf.source == ControlFontSource::kFixed) {
        // Without a font of the run, the grid's cells come from the desktop's default font, which
        // is proportional; a fixed face at its natural size is wider than those cells and labels
        // laid out in cells lose their first letters. The fixed face is therefore fitted to the
        // default font's character height and average width.
        const CellSize cell = FontCell();
        r.face = u"Monospace";
        r.height = static_cast<std::uint16_t>(cell.height > 3 ? cell.height - 3 : cell.height);
        r.width = static_cast<std::uint16_t>(cell.width > 1 ? cell.width - 1 : cell.width);
    }
    return r;
}

}  // namespace rt
