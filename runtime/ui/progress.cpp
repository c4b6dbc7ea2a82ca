// The progress window: its layout, the scaling of steps to the bar's range, the text panel, and the
// cancel flag set by its button, Escape or its close box.
#include "runtime/ui/progress.h"

#include <algorithm>
#include <vector>

#include "platform/desktop.h"
#include "platform/process.h"
#include "runtime/env/catalog.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/ui/ui_codes.h"
#include "runtime/ui/ui_text.h"
#include "runtime/ui/win_create.h"
#include "runtime/ui/win_stack.h"

namespace rt {

namespace {

ProgressState g_state;
bool g_panel = false;  // the child is the text panel
std::uint64_t g_last_pump = 0;
bool g_pumped = false;

// The least time between two pumps of a running operation.
constexpr std::uint64_t kPollIntervalMs = 30;

// Layout, pixels: the child at (20, 10), bar width by 17; the button 70 by 20 at (width - 50, 35);
// the client 40 wider than the bar and 90 high. A text of several lines makes the panel, and the
// window under it, taller.
constexpr int kMargin = 20;
constexpr int kChildTop = 10;
constexpr int kChildHeight = 17;
constexpr int kButtonWidth = 70;
constexpr int kButtonHeight = 20;
constexpr int kButtonTop = 35;
constexpr int kClientHeight = 90;
constexpr int kLineHeight = 17;

bool ProgressProc(WinHandle window, const WinEvent& e) {
    switch (e.type) {
        case WinEventType::kCommand:
            if (e.id != kIdProgressCancel) return false;
            g_state.cancelled = true;
            return true;
        case WinEventType::kCloseRequest: g_state.cancelled = true; return true;
        case WinEventType::kKeyDown:
            if (e.key != PlatformKey::kEscape) return false;
            g_state.cancelled = true;
            return true;
        case WinEventType::kDestroy:
            if (window == g_state.window) g_state = ProgressState{};
            WinClosed(window);
            return true;
        default: return false;
    }
}

int PanelHeight(std::size_t lines) { return std::max<int>(kChildHeight, static_cast<int>(lines) * kLineHeight + 4); }

void Place(int bar_width, int child_height) {
    Desktop* d = DesktopGet();
    const int extra = child_height - kChildHeight;
    const int w = bar_width + 2 * kMargin, h = kClientHeight + extra;
    d->WindowSetRect(g_state.window, WinRect{kWinCentred, kWinCentred, w, h});
    d->WindowSetRect(g_state.child, WinRect{kMargin, kChildTop, bar_width, child_height});
    if (WinHandle b = d->ControlById(g_state.window, kIdProgressCancel))
        d->WindowSetRect(b, WinRect{bar_width - 50, kButtonTop + extra, kButtonWidth, kButtonHeight});
}

ErrCode Open(std::uint16_t width, std::uint32_t range, bool text_mode) {
    if (g_state.window != kNoWindow) return 0;
    Desktop* d = DesktopGet();
    if (d == nullptr) return kErrCommonCtlError;
    const int bar = (width == 0 || width == 0xFFFF) ? kProgressDefaultWidth : width;
    DynScope scope;
    const WinHandle owner = WinTop();
    const WinHandle window = WinCreateKind(kWinKindProgress, MsgText("0016"), 0,
                                           WinRect{kWinDefault, kWinDefault, bar + 2 * kMargin, kClientHeight}, ProgressProc);
    if (window == kNoWindow) return kErrCommonCtlError;
    g_state = ProgressState{};
    g_state.window = window;
    g_state.owner = owner;
    g_state.range = range;

    ControlRequest child;
    child.parent = window;
    child.kind = text_mode ? ControlKind::kTextPanel : ControlKind::kProgressBar;
    child.rect = WinRect{kMargin, kChildTop, bar, kChildHeight};
    g_state.child = d->ControlCreate(child);
    g_panel = text_mode;

    ControlRequest button;
    button.parent = window;
    button.kind = ControlKind::kButton;
    button.id = kIdProgressCancel;
    button.text = UiText(MsgText("0020"));
    button.rect = WinRect{bar - 50, kButtonTop, kButtonWidth, kButtonHeight};
    d->ControlCreate(button);

    Place(bar, kChildHeight);
    d->WindowShow(window, true, false);
    d->WindowUpdate(window);
    g_pumped = false;
    return g_state.child == kNoWindow ? kErrCommonCtlError : 0;
}

// The text's lines: CR LF and LF both end a line.
std::vector<std::u16string> Lines(StrDesc text) {
    std::vector<std::u16string> lines(1);
    for (std::uint16_t i = 0; i < text.len; ++i) {
        const unsigned char c = text.bytes()[i];
        if (c == '\r' && i + 1 < text.len && text.bytes()[i + 1] == '\n') continue;
        if (c == '\n') lines.emplace_back();
        else lines.back() += UiText(StrDesc{text.ptr + i, 1});
    }
    return lines;
}

}  // namespace

const ProgressState& ProgressGet() { return g_state; }

ErrCode ProgressOpen(std::uint16_t width, std::uint32_t range) { return Open(width, range, false); }

void ProgressCaption(StrDesc caption) {
    if (Desktop* d = DesktopGet(); d != nullptr && g_state.window != kNoWindow)
        d->WindowSetCaption(g_state.window, UiText(caption));
}

ErrCode ProgressStep(std::uint32_t total, std::uint16_t step, StrDesc text) {
    if (g_state.text_mode) return ProgressText(total, step, text);
    if (g_state.window == kNoWindow) ProgressOpen(kProgressDefaultWidth, g_state.range);
    Desktop* d = DesktopGet();
    if (g_state.position == 0) {
        if (g_state.range == 0) g_state.range = total;
        if (g_state.range == 0) {
            g_state.range = kProgressCycle;
            g_state.cyclic = true;
        }
        while (g_state.range > kProgressMaxRange) {
            g_state.range /= 2;
            g_state.divisor = g_state.divisor == 0 ? 2 : g_state.divisor * 2;
        }
        if (d != nullptr) d->ProgressSetRange(g_state.child, static_cast<int>(g_state.range));
    }
    std::uint64_t advance = 1;
    if (step != 0) {
        if (g_state.divisor != 0) {
            g_state.remainder += step;
            advance = g_state.remainder / g_state.divisor;
            g_state.remainder %= g_state.divisor;
        } else {
            advance = step;
        }
    }
    g_state.position = static_cast<std::uint32_t>(std::min<std::uint64_t>(g_state.position + advance, 0xFFFFFFFFu));
    if (g_state.cyclic && g_state.position > kProgressCycle) g_state.position = 1;
    if (d != nullptr) d->ProgressSetPosition(g_state.child, static_cast<int>(std::min(g_state.position, g_state.range)));
    return ProgressPoll();
}

ErrCode ProgressText(std::uint32_t, std::uint16_t, StrDesc text) {
    if (g_state.window == kNoWindow) Open(kProgressDefaultWidth, 0, true);
    Desktop* d = DesktopGet();
    if (d != nullptr && g_state.window != kNoWindow && !text.IsError() && text.len != 0) {
        g_state.text_mode = true;
        const std::vector<std::u16string> lines = Lines(text);
        // A window opened with a bar changes it for the panel at the first text.
        if (!g_panel) {
            const WinRect r = d->WindowRect(g_state.child);
            d->WindowDestroy(g_state.child);
            ControlRequest panel;
            panel.parent = g_state.window;
            panel.kind = ControlKind::kTextPanel;
            panel.rect = r;
            g_state.child = d->ControlCreate(panel);
            g_panel = true;
        }
        d->PanelSetLines(g_state.child, lines);
        const WinRect r = d->WindowRect(g_state.child);
        if (PanelHeight(lines.size()) != r.height) Place(r.width, PanelHeight(lines.size()));
    }
    return ProgressPoll();
}

ErrCode ProgressPoll() {
    const std::uint64_t now = PlatformTickMs();
    if (!g_pumped || now - g_last_pump >= kPollIntervalMs) {
        g_pumped = true;
        g_last_pump = now;
        if (Desktop* d = DesktopGet()) d->Pump();
    }
    return g_state.cancelled ? kErrCancelled : 0;
}

void ProgressClose() {
    const WinHandle window = g_state.window;
    g_state = ProgressState{};
    if (window != kNoWindow) WinDestroy(window);
}

}  // namespace rt
