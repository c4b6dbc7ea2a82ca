// Wires the upper layers into the seams of the lower ones: record access under the data files' reads
// and the SQL layer's re-read, the data-file built-ins into the function table, the screens into the
// variables and the window layer, and the field-entry dialog into the SQL login.
#pragma once

namespace rt {

// Installs every seam; start-up calls it before anything reads a record. Safe to call again.
void RuntimeLayersInstall();

}  // namespace rt
