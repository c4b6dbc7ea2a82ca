// The Qt desktop: the backend of the contact application and of the tests that drive real widgets.
// It needs a QApplication; without one, boxes are not shown (kNone), fonts measure as zero and no
// window can be made.
#pragma once
#include "platform/desktop.h"

namespace rt {

class QtDesktop final : public Desktop {
public:
    // Windows still open when the desktop goes are destroyed without calling their procedures.
    ~QtDesktop() override;

    MsgButton ShowMessageBox(const MsgBoxRequest& request) override;
    void DiscardPendingInput() override;
    CharMetrics FontMetrics(const FontRequest& request) override;
    CharMetrics DefaultFontMetrics() override;

    WinHandle WindowCreate(const WindowRequest& request) override;
    void WindowDestroy(WinHandle handle) override;
    void WindowShow(WinHandle window, bool visible, bool maximised) override;
    void WindowSetCaption(WinHandle window, const std::u16string& caption) override;
    void WindowEnable(WinHandle handle, bool enabled) override;
    bool WindowEnabled(WinHandle handle) override;
    void WindowSetRect(WinHandle handle, const WinRect& rect) override;
    WinRect WindowRect(WinHandle handle) override;
    WinRect ScreenWorkArea() override;
    void WindowScroll(WinHandle window, int x, int y, int x_range, int y_range) override;
    void WindowFocus(WinHandle handle) override;
    WinHandle FocusedControl() override;
    void WindowUpdate(WinHandle window) override;

    WinHandle ControlCreate(const ControlRequest& request) override;
    std::uint16_t ControlId(WinHandle control) override;
    WinHandle ControlById(WinHandle window, std::uint16_t id) override;
    WinHandle ControlWindow(WinHandle handle) override;
    void ControlSetText(WinHandle control, const std::u16string& text) override;
    std::u16string ControlText(WinHandle control) override;
    void ControlSelectAll(WinHandle control) override;
    void ControlSetChecked(WinHandle control, bool checked) override;
    bool ControlChecked(WinHandle control) override;
    void ControlSetFont(WinHandle control, const FontRequest& font) override;
    void ListSetItems(WinHandle list, const std::vector<std::u16string>& items, int item_height) override;
    int ListCurrent(WinHandle list) override;
    void ListSetCurrent(WinHandle list, int index) override;
    void ProgressSetRange(WinHandle bar, int maximum) override;
    void ProgressSetPosition(WinHandle bar, int position) override;
    void PanelSetLines(WinHandle panel, const std::vector<std::u16string>& lines) override;

    void Pump() override;
    void WaitForEvents(int milliseconds) override;

    bool RunFileDialog(const FileDialogRequest& request, std::u16string* path) override;
};

// True when a QApplication (widgets, not only a core or GUI application) is running.
bool QtWidgetsReady();

}  // namespace rt
