// The current desktop backend, the default button of each button set, and the window services of a
// desktop that has no windows (the defaults a windowless backend keeps).
#include "platform/desktop.h"

namespace rt {

namespace {
Desktop* g_desktop = nullptr;
}

void DesktopSet(Desktop* desktop) { g_desktop = desktop; }
Desktop* DesktopGet() { return g_desktop; }

MsgButton MsgFirstButton(MsgButtons buttons) {
    switch (buttons) {
        case MsgButtons::kOk:
        case MsgButtons::kOkCancel: return MsgButton::kOk;
        case MsgButtons::kRetryCancel: return MsgButton::kRetry;
        case MsgButtons::kYesNo:
        case MsgButtons::kYesNoCancel: return MsgButton::kYes;
    }
    return MsgButton::kOk;
}

WinHandle Desktop::WindowCreate(const WindowRequest&) { return kNoWindow; }
void Desktop::WindowDestroy(WinHandle) {}
void Desktop::WindowShow(WinHandle, bool, bool) {}
void Desktop::WindowSetCaption(WinHandle, const std::u16string&) {}
void Desktop::WindowEnable(WinHandle, bool) {}
bool Desktop::WindowEnabled(WinHandle) { return false; }
void Desktop::WindowSetRect(WinHandle, const WinRect&) {}
WinRect Desktop::WindowRect(WinHandle) { return {}; }
// A terminal stands for a screen of 80 by 25 cells of 8 by 16 pixels.
WinRect Desktop::ScreenWorkArea() { return WinRect{0, 0, 640, 400}; }
void Desktop::WindowScroll(WinHandle, int, int, int, int) {}
void Desktop::WindowFocus(WinHandle) {}
WinHandle Desktop::FocusedControl() { return kNoWindow; }
void Desktop::WindowUpdate(WinHandle) {}
WinHandle Desktop::ControlCreate(const ControlRequest&) { return kNoWindow; }
std::uint16_t Desktop::ControlId(WinHandle) { return 0; }
WinHandle Desktop::ControlById(WinHandle, std::uint16_t) { return kNoWindow; }
WinHandle Desktop::ControlWindow(WinHandle) { return kNoWindow; }
void Desktop::ControlSetText(WinHandle, const std::u16string&) {}
std::u16string Desktop::ControlText(WinHandle) { return {}; }
void Desktop::ControlSelectAll(WinHandle) {}
void Desktop::ControlSetChecked(WinHandle, bool) {}
bool Desktop::ControlChecked(WinHandle) { return false; }
void Desktop::ControlSetFont(WinHandle, const FontRequest&) {}
void Desktop::ListSetItems(WinHandle, const std::vector<std::u16string>&, int) {}
int Desktop::ListCurrent(WinHandle) { return -1; }
void Desktop::ListSetCurrent(WinHandle, int) {}
void Desktop::ProgressSetRange(WinHandle, int) {}
void Desktop::ProgressSetPosition(WinHandle, int) {}
void Desktop::PanelSetLines(WinHandle, const std::vector<std::u16string>&) {}
void Desktop::Pump() {}
void Desktop::WaitForEvents(int) {}
bool Desktop::RunFileDialog(const FileDialogRequest&, std::u16string* path) {
    if (path != nullptr) path->clear();
    return false;
}

}  // namespace rt
