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
        r.face = u"Monospace";
    }
    return r;
}

}  // namespace rt
