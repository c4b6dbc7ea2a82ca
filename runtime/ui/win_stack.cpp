// The window stack: entries by slot, an order array whose last element is the top, the quit mark.
#include "runtime/ui/win_stack.h"

#include "runtime/text/err_codes.h"

namespace rt {

namespace {

struct Entry {
    WinHandle window = kNoWindow;
    std::int16_t screen_win = kNoScreenWin;
    WinScrollState scroll;
};

Entry g_entries[kWinStackMax];
std::uint16_t g_order[kWinStackMax];  // entry indexes, bottom first
std::uint16_t g_count = 0;
bool g_quit = false;

int Find(WinHandle window) {
    if (window == kNoWindow) return -1;
    for (std::uint16_t i = 0; i < g_count; ++i)
        if (g_entries[g_order[i]].window == window) return i;
    return -1;
}

}  // namespace

ErrCode WinStackPush(WinHandle window, std::int16_t screen_win) {
    if (window == kNoWindow) return kErrData;
    int at = Find(window);
    if (at >= 0) {
        const std::uint16_t entry = g_order[at];
        for (int i = at; i + 1 < g_count; ++i) g_order[i] = g_order[i + 1];
        g_order[g_count - 1] = entry;
        g_entries[entry].screen_win = screen_win;
        return 0;
    }
    if (g_count >= kWinStackMax) return kErrDataOutBound;
    std::uint16_t free_entry = 0;
    while (g_entries[free_entry].window != kNoWindow) ++free_entry;
    g_entries[free_entry] = Entry{window, screen_win, {}};
    g_order[g_count++] = free_entry;
    return 0;
}

ErrCode WinStackPop(WinHandle window) {
    const int at = Find(window);
    if (at < 0) return kErrData;
    // The window's own order entry goes, wherever it stands, so that a window closed out of turn
    // never takes another window's place with it.
    g_entries[g_order[at]] = Entry{};
    for (int i = at; i + 1 < g_count; ++i) g_order[i] = g_order[i + 1];
    --g_count;
    return 0;
}

WinHandle WinTop() { return g_count == 0 ? kNoWindow : g_entries[g_order[g_count - 1]].window; }
std::uint16_t WinCount() { return g_count; }
bool WinOnStack(WinHandle window) { return Find(window) >= 0; }

std::int16_t WinScreenIndex(WinHandle window) {
    const int at = Find(window);
    return at < 0 ? kNoScreenWin : g_entries[g_order[at]].screen_win;
}

void WinSetScreenIndex(WinHandle window, std::int16_t screen_win) {
    const int at = Find(window);
    if (at >= 0) g_entries[g_order[at]].screen_win = screen_win;
}

WinScrollState* WinScrollOf(WinHandle window) {
    const int at = Find(window);
    return at < 0 ? nullptr : &g_entries[g_order[at]].scroll;
}

void WinPostQuit() { g_quit = true; }

bool WinTakeQuit() {
    const bool quit = g_quit;
    g_quit = false;
    return quit;
}

void WinStackReset() {
    for (Entry& e : g_entries) e = Entry{};
    g_count = 0;
    g_quit = false;
}

}  // namespace rt
