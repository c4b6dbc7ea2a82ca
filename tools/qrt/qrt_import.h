// qrt --import: the contact dialog's imports without dialogs, their outcome on standard error.
#pragma once
#include <string>
#include <vector>

namespace rt::qrt {

struct QrtImportArgs {
    bool given = false;    // --import was on the command line
    bool misused = false;  // --import without KIND and FILE, a kind other than standard/external, or an
                           // option without its value
    std::string kind, file, table, map;  // UTF-8 as given
    bool hasMap = false;
};

// Takes "--import KIND FILE [--table NAME] [--map MAP]" out of the arguments; gives the others.
std::vector<const char*> QrtImportTakeArgs(int argc, const char* const* argv, QrtImportArgs* out);

// Runs the import (the runtime is started and its data files open); exit status 0 when both passes
// ran, 1 otherwise.
int QrtImport(const QrtImportArgs& args);

}  // namespace rt::qrt
