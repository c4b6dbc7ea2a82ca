// The progress window: one per process, with a bar (or, once a text was shown, a grey panel of
// centred white lines) and a "Cancelar" button. Long operations feed it through ProgressStep or
// ProgressText and stop when either answers 122 (Cancelar, Escape or the close box was used).
#pragma once
#include <cstdint>
#include "platform/window_types.h"
#include "runtime/text/str_desc.h"

namespace rt {

constexpr std::uint16_t kProgressDefaultWidth = 400;
constexpr std::uint32_t kProgressMaxRange = 65535;
constexpr std::uint32_t kProgressCycle = 200;  // the bar's range when no amount of work is known

// What the window shows and how steps are scaled.
struct ProgressState {
    WinHandle window = kNoWindow;
    WinHandle child = kNoWindow;   // the bar, or the text panel in text mode
    WinHandle owner = kNoWindow;   // the top window when it was opened
    bool cancelled = false;
    bool text_mode = false;
    std::uint32_t position = 0;
    std::uint32_t range = 0;
    std::uint64_t divisor = 0;     // steps are divided by it once the range had to be halved
    std::uint64_t remainder = 0;
    bool cyclic = false;
};
const ProgressState& ProgressGet();

// Opens the window (width 0 or 0xFFFF: 400 pixels) unless it is open; 0, or 170 when the bar cannot
// be made. range is the amount of work expected, 0 when unknown.
ErrCode ProgressOpen(std::uint16_t width, std::uint32_t range);
void ProgressCaption(StrDesc caption);
// Advances the bar by step units (0 counts as 1) of total; 0, or 122 once the user cancelled.
ErrCode ProgressStep(std::uint32_t total, std::uint16_t step, StrDesc text);
// Shows text (lines separated by CR LF or LF) in place of the bar; 0, or 122 once cancelled.
ErrCode ProgressText(std::uint32_t total, std::uint16_t step, StrDesc text);
// Lets the window repaint and take input (at most every few tens of milliseconds, so that a long run
// spends its time on its work); 122 once cancelled, else 0.
ErrCode ProgressPoll();
void ProgressClose();

}  // namespace rt
