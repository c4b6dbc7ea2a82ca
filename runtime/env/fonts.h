// The screen fonts of the run: up to seven font settings, the latest being the current screen
// font; the character cell of the window grid and the fonts of runtime controls derive from it.
#pragma once
#include <cstdint>
#include "runtime/text/str_desc.h"

namespace rt {

constexpr std::uint16_t kFontSpecMax = 7;
constexpr std::uint16_t kFontFaceSize = 32;

struct FontSpec {
    std::uint16_t height = 0;
    std::uint16_t width = 0;
    std::uint16_t weight = 0;
    char face[kFontFaceSize] = {};
};

// Adds a font setting: 0xFFFF height or width take the default cell; weight 0 means 400 and 1
// means 700; a face of 32 bytes or more is not taken. With seven kept, nothing changes.
ErrCode FontSet(std::uint16_t height, std::uint16_t width, std::uint16_t weight, StrDesc face);
// The current font setting, or null when none was added.
const FontSpec* FontCurrent();
std::uint16_t FontCount();
void FontReset();

struct CellSize {
    std::uint16_t width = 0;
    std::uint16_t height = 0;
};
// The current font setting's cell, or the default font's average width + 1 and height + 3.
CellSize FontCell();

// The font a control of a kind gets: kind 2 the current font setting made smaller for a control
// (or the fixed-pitch font when there is none), kind 0 the system font.
enum class ControlFontSource : std::uint8_t { kSystem, kFixed, kSpec };
struct ControlFont {
    ControlFontSource source = ControlFontSource::kSystem;
    FontSpec spec;  // for kSpec: height, width, weight and face of the control font
};
// 163 for any other kind.
ErrCode ControlFontFor(std::uint16_t kind, ControlFont* out);

}  // namespace rt
