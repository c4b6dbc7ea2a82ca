// The runtime as every fuzz target runs it: started once on the terminal backend inside a scratch
// folder, and put back after each input into the state the start left, so that an input's outcome
// never depends on the inputs before it and a crash found by the fuzzer replays on its own.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/text/str_desc.h"

namespace rt::fuzz {

// Work budget of one evaluation under fuzzing: loops of a few thousand rounds still run, and an
// endless one ends within a millisecond or two instead of taking a second of the fuzzer's time.
constexpr std::uint32_t kFuzzWorkBudget = 2000;

// Starts the runtime once (later calls do nothing). The scratch folder is $QUINTARA_FUZZ_ROOT when
// set (scripts/fuzz.sh gives each target its own), else a fresh folder under /tmp removed at exit;
// it becomes the current folder and TEMP.
void FuzzStart();

// Brackets one input: guarding of file access on, then everything an input may change put back
// (variables, slot texts, memory areas, streams, data files, errors, the scratch folder's files).
class FuzzInput {
public:
    FuzzInput();
    ~FuzzInput();
    FuzzInput(const FuzzInput&) = delete;
    FuzzInput& operator=(const FuzzInput&) = delete;
};

// A file in the scratch folder: its runtime path (backslashes) and its system path.
std::string ScratchRuntimePath(const std::string& name);
void ScratchWrite(const std::string& name, std::string_view bytes);

// The input cut into parts at every occurrence of separator (the parts are views into data).
std::vector<std::string_view> SplitInput(const std::uint8_t* data, std::size_t size, std::string_view separator,
                                         std::size_t maxParts);

// A runtime view of at most 65,535 bytes of text.
inline StrDesc View(std::string_view text) {
    return StrDesc{text.data(), static_cast<std::uint16_t>(text.size() > 0xFFFF ? 0xFFFF : text.size())};
}

// Stops the process with a report when a property every input must keep is broken.
void FuzzCheck(bool holds, const char* property);

}  // namespace rt::fuzz
