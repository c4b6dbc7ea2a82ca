// The key number table, the two key maps, key classes and the command identifier table.
#include "runtime/ui/win_keys.h"

#include "runtime/ui/ui_codes.h"
#include "runtime/vars/var_system.h"

namespace rt {

namespace {

// Map 0; map 1 differs in F3, F4 and F11 only.
constexpr std::uint16_t kMap0[kKeyMapSize] = {
    /* 0 Enter */ kActNextField, 0, 0, /* 3 Escape */ kActCancel, 0, 0, 0, 0,
    /* 8 Shift+Tab */ kActPrevField, /* 9 Tab */ kActNextField, 0,
    /* 11 F1 */ kActHelp, /* 12 F2 */ kActRestoreField, /* 13 F3 */ 0x0D19, /* 14 F4 */ 0x0C19,
    /* 15 F5 */ 0x1119, /* 16 F6 */ 0x0719, /* 17 F7 */ 0x0E19, /* 18 F8 */ 0x0A19, /* 19 F9 */ 0x0919,
    /* 20 F10 */ 0x1019, /* 21 F11 */ 0x1019, /* 22 Up */ kActPrevFieldUp, /* 23 Page Up */ 0x0319,
    0, 0, 0, 0, /* 28 Down */ kActNextFieldDown, /* 29 Page Down */ 0x0519, 0, 0,
    /* 32 Ctrl+End */ kActEndOfRange,
};

}  // namespace

std::uint16_t ScreenKey(PlatformKey key) {
    if (key >= PlatformKey::kF1 && key <= PlatformKey::kF11)
        return static_cast<std::uint16_t>(kKeyF1 + (static_cast<int>(key) - static_cast<int>(PlatformKey::kF1)));
    switch (key) {
        case PlatformKey::kEnter: return kKeyEnter;
        case PlatformKey::kTab: return kKeyTab;
        case PlatformKey::kEscape: return kKeyEscape;
        case PlatformKey::kUp: return kKeyUp;
        case PlatformKey::kPageUp: return kKeyPageUp;
        case PlatformKey::kDown: return kKeyDown;
        case PlatformKey::kPageDown: return kKeyPageDown;
        default: return kKeyNone;
    }
}

std::uint16_t KeyMapCode(std::uint16_t key) {
    if (key >= kKeyMapSize) return 0;
    const bool second = SysVar(kSysKeyMap) == 1;
    if (second) {
        if (key == kKeyF1 + 2) return 0x0F19;  // F3
        if (key == kKeyF1 + 3) return 0;       // F4
        if (key == kKeyF11) return 0x0F19;
    }
    return kMap0[key];
}

std::uint16_t KeyClass(std::uint16_t key) {
    const std::uint16_t low = key & 0xFF;
    const std::uint16_t high = key & 0xFF00;
    switch (low) {
        case kKeyEnter:
        case kKeyTab: return high | kClassAccept;
        case kKeyBackTab: return high | kClassBack;
        case kKeyDown: return high | kClassAccept | kClassArrow;
        case kKeyPageDown: return high | kClassAccept | kClassPage;
        case kKeyPageUp: return high | kClassBack | kClassPage;
        case kKeyCtrlEnd: return high | kClassEnd;
        case kKeyEscape: return kClassEscape;
        case kKeyUp: return kClassBack | kClassArrow;
        default: return (low >= kKeyF1 && low <= kKeyF11) ? (high | kClassFunction) : high;
    }
}

bool KeyIsAccept(std::uint16_t key) { return (KeyClass(key) & (kClassAccept | kClassEnd)) != 0; }

bool KeyLeavesField(std::uint16_t key) {
    switch (key) {
        case kKeyEnter: case kKeyBackTab: case kKeyTab: case kKeyF9: case kKeyUp:
        case kKeyPageUp: case kKeyDown: case kKeyPageDown: case kKeyCtrlEnd: return true;
        default: return false;
    }
}

bool KeyIsPage(std::uint16_t key) { return key == kKeyPageUp || key == kKeyPageDown; }

std::uint16_t CommandCode(std::uint16_t id) {
    auto code = [](std::uint16_t base, std::uint16_t i) { return static_cast<std::uint16_t>(base + 256 * i); };
    if (id == kIdOk) return kActConfirm;
    if (id == kIdConfirmSecond) return kActConfirmSecond;
    if (id >= kIdSelectBase && id < kIdSelectAltBase) return code(16, id - kIdSelectBase);
    if (id >= kIdSelectAltBase && id < kIdSelectAltBase + 200) return code(15, id - kIdSelectAltBase);
    if (id >= kIdMantBase && id <= kIdMantLast) return code(kActButton, id - kIdMantBase);
    if (id >= kIdOptionBase && id < kIdOptionBase + 50) return code(43, id - kIdOptionBase);
    if (id >= kIdOptionAltBase && id < kIdOptionAltBase + 50) return code(44, id - kIdOptionAltBase);
    return 0;
}

}  // namespace rt
