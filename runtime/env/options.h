// The command line: normalised once at start (slot 0, 1) and asked for option values afterwards.
#pragma once
#include <cstdint>
#include "runtime/text/str_desc.h"

namespace rt {

// Options by number: the 1-based items of the option list.
enum OptionNumber : std::uint16_t {
    kOptHelp = 1, kOptApName = 2, kOptApStart = 3, kOptDPath = 4, kOptScrWid = 5, kOptScrHig = 6,
    kOptInput = 7, kOptOutput = 8, kOptFile = 9, kOptIndex = 10, kOptDevice = 11, kOptRun = 12,
    kOptMode = 13, kOptTrace = 14, kOptConfig = 15, kOptHost = 16, kOptDatabase = 17, kOptUser = 18,
    kOptPassw = 19,
};

// Trims, folds runs of blanks to one, and turns " --" and " -" into " /".
StrDesc CmdLineNormalise(StrDesc line);
// The cleaned value of option name (given case, then one case-folded form); empty when absent.
StrDesc OptValue(StrDesc name);
// OptValue of the option with that number; empty beyond the list.
StrDesc OptGet(std::uint16_t number);

}  // namespace rt
