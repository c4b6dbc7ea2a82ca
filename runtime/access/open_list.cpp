// Data-file open lists: one mode byte per file, applied from the last file down.
#include "runtime/access/open_list.h"

#include "runtime/data/file_open.h"
#include "runtime/data/file_table.h"
#include "runtime/env/errors.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/text_clean.h"
#include "runtime/text/text_lists.h"

namespace rt {

ErrCode FileOpenVector(StrDesc list, std::string* modes) {
    modes->assign(FileCount(), '\0');
    std::uint16_t count = ItemCount(list, ',');
    for (std::uint16_t i = 1; i <= count; ++i) {
        DynScope scope;
        StrDesc item = Item(list, ',', i);
        StrDesc part = Trim(Item(item, ';', 1), kTrimBoth);
        std::uint8_t byNumber = static_cast<std::uint8_t>(StrToNum(part));
        std::uint8_t byName = part.len != 0 && part.bytes()[0] > '@' ? FileByName(part) : 0;
        std::uint8_t file = byNumber > byName ? byNumber : byName;
        if (file == 0 || file > FileCount()) return ErrSetText(kErrFileOpening, StrCopy(part));
        bool last = i == count;
        std::uint8_t mode = ItemCount(item, ';') >= 2 ? static_cast<std::uint8_t>(StrToNum(Item(item, ';', 2)))
                                                      : (last ? 0 : 1);
        if (last) mode = static_cast<std::uint8_t>(mode | kOpenListReadFirst);
        (*modes)[file - 1] = static_cast<char>(mode);
    }
    return 0;
}

ErrCode FileApplyVector(const std::string& modes) {
    for (std::size_t n = FileCount(); n >= 1; --n) {
        std::uint8_t mode = n <= modes.size() ? static_cast<std::uint8_t>(modes[n - 1]) : 0;
        ErrCode r = mode != 0 ? FileOpen(static_cast<std::uint8_t>(n), mode) : FileClose(static_cast<std::uint8_t>(n));
        if (r >= kErrSerious) return r;
    }
    return 0;
}

ErrCode FileOpenList(StrDesc list) {
    std::string modes;
    if (ErrCode e = FileOpenVector(list, &modes)) return e;
    return FileApplyVector(modes);
}

}  // namespace rt
