// The maintenance engine's view of the current screen, with the current data file standing in when
// no screen is current.
#include "runtime/mant/mant_screen.h"

#include "runtime/data/file_table.h"
#include "runtime/data/keys.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/ui/screen.h"
// The numbers of the screen parameters, shared with the screens module that reads the others.
#include "runtime/ui/screen_internal.h"

namespace rt {

namespace {

// Room for the screen fields of one key: a field per segment, and some segments shown twice.
constexpr std::uint16_t kMostKeyFields = 4 * kMaxKeySegments;

bool Registered(std::uint8_t file) { return file >= 1 && file <= FileCount(); }

}  // namespace

std::uint8_t MantScreenFile() {
    const ScreenCtrl* s = ScreenCurrent();
    return s != nullptr ? s->file : FileResolve(kCurrentFile);
}

std::uint16_t MantKeyCounter() {
    if (const ScreenWin* w = ScreenCurrentWin(); w != nullptr && ScreenCurrent() != nullptr) return w->active_key;
    const std::uint8_t f = FileResolve(kCurrentFile);
    return Registered(f) ? FileCtrl(f).activeKey : 1;
}

void MantKeyCounterSet(std::uint16_t key) {
    if (ScreenWin* w = ScreenCurrentWin(); w != nullptr && ScreenCurrent() != nullptr) {
        w->active_key = key;
        return;
    }
    const std::uint8_t f = FileResolve(kCurrentFile);
    if (Registered(f)) FileCtrl(f).activeKey = key;
}

StrDesc MantScreenParameter(MantParameter which) {
    const ScreenCtrl* s = ScreenCurrent();
    if (s == nullptr) return StrEmpty();
    DynScope scope;
    switch (which) {
        case kMantSaved: return scope.Keep(StrCopy(ScreenParm(kParmSaved, 0)));
        case kMantKeyPrefix: return scope.Keep(StrCopy(ScreenParm(kParmIk1, 0)));
        case kMantKeyRange: return scope.Keep(StrCopy(ScreenTextOf(s->ik1)));
        case kMantRelOption: return scope.Keep(StrCopy(ScreenTextOf(s->relopt)));
    }
    return StrEmpty();
}

std::uint16_t MantScreenVariables() {
    const ScreenCtrl* s = ScreenCurrent();
    return s != nullptr ? s->var_count : 0;
}

ErrCode MantRefreshKey(std::uint16_t key, std::uint16_t mode) {
    std::uint16_t fields[kMostKeyFields];
    const std::uint16_t n = ScreenKeyFields(key, fields, kMostKeyFields);
    if (n == 0) return 0;
    return ScreenRefresh(mode, fields, n);
}

}  // namespace rt
