// The maintenance engine's view of the current screen, and the standalone file used without one.
#include "runtime/mant/mant_screen.h"

#include "runtime/data/file_table.h"

namespace rt {

namespace {

std::uint8_t StandaloneFile() { return FileResolve(kCurrentFile); }
std::uint16_t StandaloneKey() {
    std::uint8_t f = StandaloneFile();
    return f >= 1 && f <= FileCount() ? FileCtrl(f).activeKey : 1;
}
void StandaloneKeySet(std::uint16_t key) {
    std::uint8_t f = StandaloneFile();
    if (f >= 1 && f <= FileCount()) FileCtrl(f).activeKey = key;
}
StrDesc NoParameter(MantParameter) { return StrEmpty(); }
std::uint16_t NoVariables() { return 0; }
ErrCode Nothing() { return 0; }
ErrCode NoRefresh(std::uint16_t) { return 0; }
ErrCode NoKeyRefresh(std::uint16_t, std::uint16_t) { return 0; }

const MantScreen kStandalone{StandaloneFile, StandaloneKey, StandaloneKeySet, NoParameter, NoVariables,
                             Nothing,        NoRefresh,     NoKeyRefresh,     NoRefresh};
const MantScreen* g_screen = &kStandalone;

}  // namespace

const MantScreen* MantScreenSet(const MantScreen* screen) {
    const MantScreen* previous = g_screen == &kStandalone ? nullptr : g_screen;
    g_screen = screen != nullptr ? screen : &kStandalone;
    return previous;
}

const MantScreen& MantScreenGet() { return *g_screen; }

}  // namespace rt
