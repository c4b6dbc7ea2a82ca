// qrt --transfer: one transfer in batch form, its outcome on standard error.
#pragma once
#include <string>

namespace rt::qrt {

// Runs the transfer (the runtime is started and its data files open) and gives the exit status: 0
// when records moved or were counted, 1 for any other outcome. mode, target and block are UTF-8.
int QrtTransfer(const std::string& mode, const std::string& target, const std::string& block);

}  // namespace rt::qrt
