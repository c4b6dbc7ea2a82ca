// Creation of runtime windows by class, the modal run and the pump, and the clean-up of a window
// that goes.
#include "runtime/ui/win_create.h"

#include <algorithm>
#include <string>

#include "platform/desktop.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/slot_table.h"
#include "runtime/text/text_lists.h"
#include "runtime/ui/ui_text.h"
#include "runtime/ui/win_procs.h"
#include "runtime/ui/win_stack.h"

namespace rt {

namespace {

constexpr char kKindNames[] = ",LnMant,Mant,MantDlg,Grid,Dialogx,DevSel,Progress";
// How long a modal run waits for events between two pumps.
constexpr int kModalWaitMs = 10;
constexpr std::uint16_t kMaxClasses = 24;

struct WinClass {
    std::string name;
    WinProc proc = nullptr;
};
WinClass g_classes[kMaxClasses];
std::uint16_t g_class_count = 0;

// The procedure of a class: the one it was registered with. Null when the table is full.
WinProc ClassProc(StrDesc name, WinProc proc) {
    const std::string key(name.IsError() ? "" : std::string(name.ptr, name.len));
    for (std::uint16_t i = 0; i < g_class_count; ++i)
        if (g_classes[i].name == key) return g_classes[i].proc;
    if (g_class_count >= kMaxClasses) return nullptr;
    g_classes[g_class_count++] = WinClass{key, proc != nullptr ? proc : WinRuntimeProc};
    return g_classes[g_class_count - 1].proc;
}

}  // namespace

StrDesc WinClassName(std::uint16_t kind) {
    DynScope scope;
    if (kind == kWinKindApp) return scope.Keep(Item(SlotGet(kRunGroup, kSlotIdentity), ':', 1));
    return scope.Keep(Item(S(kKindNames), ',', static_cast<std::uint16_t>(kind + 1)));
}

WinHandle WinCreate(StrDesc class_name, StrDesc caption, std::uint16_t style, WinRect rect, WinProc proc) {
    Desktop* desktop = DesktopGet();
    if (desktop == nullptr) return kNoWindow;
    WinProc class_proc = ClassProc(class_name, proc);
    if (class_proc == nullptr) return kNoWindow;
    if (WinCount() >= kWinStackMax) return kNoWindow;

    const WinHandle owner = WinTop();
    WindowRequest request;
    request.class_name = UiText(class_name);
    request.caption = UiText(caption);
    request.owner = owner;
    request.proc = class_proc;
    request.rect.x = rect.x == kWinDefault ? kWinCentred : rect.x;
    request.rect.y = rect.y == kWinDefault ? kWinCentred : rect.y;
    request.rect.width = rect.width == kWinDefault ? 0 : rect.width;
    request.rect.height = rect.height == kWinDefault ? 0 : rect.height;
    const WinHandle window = desktop->WindowCreate(request);
    if (window == kNoWindow) return kNoWindow;
    if ((style & kWinStyleModal) && owner != kNoWindow) desktop->WindowEnable(owner, false);
    WinStackPush(window, kNoScreenWin);
    return window;
}

WinHandle WinCreateKind(std::uint16_t kind, StrDesc caption, std::uint16_t style, WinRect rect, WinProc proc) {
    DynScope scope;
    return WinCreate(WinClassName(kind), caption, style, rect, proc);
}

WinRect WinDialogRect(WinHandle, int width, int height) { return WinRect{kWinCentred, kWinCentred, width, height}; }

std::uint16_t WinPump() {
    if (Desktop* desktop = DesktopGet()) desktop->Pump();
    if (WinTakeQuit()) return 1;
    return WinCount() == 0 ? 1 : 0;
}

void WinRunModal(WinHandle window) {
    Desktop* desktop = DesktopGet();
    if (desktop == nullptr) return;
    // A quit posted before this run started belongs to a run that has already ended.
    WinTakeQuit();
    if (WinTop() != kNoWindow) {
        desktop->WindowShow(WinTop(), true, false);
        desktop->WindowUpdate(WinTop());
    }
    for (;;) {
        if (WinPump() != 0) break;
        if (window != kNoWindow && WinTop() != window) break;
        desktop->WaitForEvents(kModalWaitMs);
    }
    desktop->Pump();
}

void WinDestroy(WinHandle window) {
    if (Desktop* desktop = DesktopGet()) desktop->WindowDestroy(window);
    // A window the desktop no longer knows still leaves the stack.
    if (WinOnStack(window)) WinClosed(window);
}

void WinClosed(WinHandle window) {
    if (WinStackPop(window) != 0) return;
    Desktop* desktop = DesktopGet();
    if (WinCount() == 0) {
        WinPostQuit();
        return;
    }
    if (desktop != nullptr) {
        desktop->WindowEnable(WinTop(), true);
        desktop->WindowFocus(WinTop());
    }
}

void WinLayerReset() {
    for (WinClass& c : g_classes) c = WinClass{};
    g_class_count = 0;
    WinStackReset();
    WinInputReset();
}

}  // namespace rt
