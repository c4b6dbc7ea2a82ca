// The record loop of a transfer.
#include "runtime/trans/trans_low.h"

#include "runtime/text/err_codes.h"
#include "runtime/text/text_lists.h"

namespace rt {

std::uint16_t TransStdHandle(StrDesc target) {
    static constexpr std::uint16_t kHandles[] = {0, 1, 2, 0};
    std::uint16_t n = ItemIndex(kTransStdNames, target, ',');
    return n == 0 ? kNone : kHandles[n - 1];
}

ErrCode FileTransLow(TransRunState&) {
    // Walking a data file needs record access over SQL.
    return kErrFeatureRemoved;
}

}  // namespace rt
