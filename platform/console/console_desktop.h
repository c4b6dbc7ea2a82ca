// The terminal backend of the command-line tool. A message box becomes its caption and text on
// standard error and is answered with its first button; fonts are a fixed character cell. It keeps the
// windowless defaults of Desktop: no window can be created and a file dialog gives no name.
#pragma once
#include "platform/desktop.h"

namespace rt {

class ConsoleDesktop final : public Desktop {
public:
    // The cell a terminal character stands for when a font does not name its own size.
    static constexpr std::uint16_t kCellWidth = 8;
    static constexpr std::uint16_t kCellHeight = 16;

    MsgButton ShowMessageBox(const MsgBoxRequest& request) override;
    void DiscardPendingInput() override;
    CharMetrics FontMetrics(const FontRequest& request) override;
    CharMetrics DefaultFontMetrics() override;
};

}  // namespace rt
