// Wires the upper layers into the seams of the lower ones: record access under the data files' reads
// and the SQL layer's re-read, and the data-file built-ins into the function table.
#pragma once

namespace rt {

// Installs every seam; start-up calls it before anything reads a record. Safe to call again.
void RuntimeLayersInstall();

}  // namespace rt
