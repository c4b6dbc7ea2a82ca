// The runtime's one way in and one way out.
#pragma once
#include <cstdint>
#include <string>
#include "runtime/text/str_desc.h"

namespace rt {

// The application's phase function: flags * 16 + phase (1 before the identity is set, 2 after
// start-up), or 3 alone at runtime end.
using AppCallback = ErrCode (*)(std::uint16_t phase);

// Start flags.
enum StartFlags : std::uint8_t {
    kStartLoadApp = 2,        // load the application's dictionary at start
    kStartForgiveMissing = 4, // a 156 or 164 of that load is not an error
    kStartLoadIfNew = 8,      // load when the identity differs from the stored one
};

struct StartRequest {
    void* instance = nullptr;
    std::u16string commandLine;  // the wide command line, program path first
    StrDesc identity;            // application code ':' name
    StrDesc description;
    std::uint8_t flags = 0;
    AppCallback callback = nullptr;
};

// Starts the runtime; 0 when ready. A result above 121 has already been shown.
ErrCode RuntimeStart(const StartRequest& request);
// Argument-vector form (Windows-1252 bytes): the program path, then the arguments from the second on
// joined by single blanks (a final control character at or below CR is dropped).
ErrCode RuntimeStartArgs(int argc, const char* const* argv, StrDesc identity, StrDesc description,
                         std::uint8_t flags, AppCallback callback);
// Ends the runtime (also after a failed start) and gives the final code: 0, or a code of 128 and up.
ErrCode RuntimeEnd(AppCallback callback, ErrCode code);

}  // namespace rt
