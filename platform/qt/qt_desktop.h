// The Qt desktop: the backend of the contact application and of the tests that drive real widgets.
// It needs a QApplication; without one, boxes are not shown (kNone) and fonts measure as zero.
#pragma once
#include "platform/desktop.h"

namespace rt {

class QtDesktop final : public Desktop {
public:
    MsgButton ShowMessageBox(const MsgBoxRequest& request) override;
    void DiscardPendingInput() override;
    CharMetrics FontMetrics(const FontRequest& request) override;
    CharMetrics DefaultFontMetrics() override;
};

// True when a QApplication (widgets, not only a core or GUI application) is running.
bool QtWidgetsReady();

}  // namespace rt
