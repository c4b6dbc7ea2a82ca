// The font of the runtime's input controls and lists, as a desktop font request.
#pragma once
#include "platform/desktop.h"

namespace rt {

// The current screen font made smaller for a control, or the desktop's fixed-pitch font when the
// run has set no screen font.
FontRequest UiControlFont();

}  // namespace rt
