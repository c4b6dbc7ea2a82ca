// Reading structure dictionaries into the file table.
#include "runtime/data/dictionary.h"

#include <algorithm>

#include "runtime/data/file_table.h"
#include "runtime/data/keys.h"
#include "runtime/data/relations.h"
#include "runtime/env/errors.h"
#include "runtime/env/paths.h"
#include "runtime/env/streams.h"
#include "runtime/text/err_codes.h"
#include "runtime/vars/variables.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/text_build.h"
#include "runtime/text/text_clean.h"
#include "runtime/text/text_lists.h"
#include "runtime/text/text_search.h"

namespace rt {

namespace {

constexpr std::uint16_t kLineMax = 512;
// Includes nest at most this deep, so that a dictionary that includes itself ends with an error.
constexpr int kMaxIncludeDepth = 8;

ErrCode DictLoadAt(StrDesc folder, StrDesc prefix, StrDesc defaultFolder, int depth);

StrDesc Column(StrDesc line, int start, int count) { return Substr(line, start, count); }

ErrCode FileLine(StrDesc line, StrDesc folder, StrDesc defaultFolder, int depth, std::uint8_t& base) {
    StrDesc fileFolder = Trim(Item(line, '*', 2), kTrimRight);
    StrDesc third = Item(line, '*', 3);
    auto kind = static_cast<std::uint8_t>(StrToNum(Column(third, 0, 2)));
    StrDesc name = Trim(Column(third, 2, -1), kTrimRight);
    if (FindChar(fileFolder, 0, '$', kExact) == kNone)
        return FileRegister(kind, name, fileFolder.len != 0 ? fileFolder : defaultFolder);
    if (depth >= kMaxIncludeDepth) return ErrSetText(kErrSintaxError, DictFileName(name, kDictStructure));
    ErrCode result = DictLoadAt(folder, name, defaultFolder, depth + 1);
    if (result == 0) base = static_cast<std::uint8_t>(FileCount() - 1);
    return result;
}

ErrCode FieldLine(StrDesc line) {
    auto width = static_cast<std::uint16_t>(StrToNum(Column(line, 9, 3)));
    char type = line.len > 13 ? line.ptr[13] : ' ';
    return FieldAdd(Trim(Column(line, 14, -1), kTrimRight), width, type);
}

ErrCode KeyLine(StrDesc line, int file) {
    std::uint16_t open = FindChar(line, 0, '<', kExact);
    int start = open == kNone ? 0 : open + 1;
    int usable = line.len - 1;  // the closing '>' is never read
    int groups = usable > start ? std::min((usable - start) / 7, int{kMaxKeySegments}) : 0;
    KeySegment segments[kMaxKeySegments]{};
    for (int g = 0; g < groups; ++g) {
        int at = start + 7 * g;
        segments[g].offset = static_cast<std::uint16_t>(StrToNum(Column(line, at, 4)) - 1);
        segments[g].length = static_cast<std::uint16_t>(StrToNum(Column(line, at + 4, 3)));
    }
    if (file < 1 || file > 255) return kErrData;
    return KeyAdd(static_cast<std::uint8_t>(file), static_cast<std::uint16_t>(groups), segments);
}

ErrCode RelationLine(StrDesc line, int file) {
    std::uint16_t colon = FindChar(line, 0, ':', kExact);
    StrDesc text = colon == kNone ? StrEmpty() : Column(line, colon + 1, -1);
    if (file < 1 || file > 255) return kErrBadFileNumber;
    return RelationAdd(static_cast<std::uint8_t>(file), text);
}

ErrCode DictLine(StrDesc line, StrDesc folder, StrDesc defaultFolder, int depth, std::uint8_t& base) {
    int code = StrToNum(Column(line, 0, 2));
    int type = (code - 1) / 30;
    int step = (code - 1) % 30;
    switch (type) {
    case 0:
        if (FindChar(line, 0, '*', kExact) != kNone) return FileLine(line, folder, defaultFolder, depth, base);
        return FieldLine(line);
    case 1: return KeyLine(line, base + step + 1);
    case 2: return RelationLine(line, base + step + 1);
    default: return 0;
    }
}

ErrCode DictRead(std::uint16_t handle, StrDesc folder, StrDesc defaultFolder, int depth, std::uint8_t& base) {
    char buffer[kLineMax];
    for (;;) {
        std::uint16_t got = StreamRead(handle, kStreamHere, kStreamLine, buffer, kLineMax);
        if (got == kStreamBad) return 0;
        StrDesc line{buffer, got};
        // Blank lines (a trailing empty line, say) carry no field.
        if (Trim(line, kTrimRight).len == 0) continue;
        DynScope scope;
        if (ErrCode e = DictLine(line, folder, defaultFolder, depth, base)) return e;
    }
}

ErrCode DictLoadAt(StrDesc folderIn, StrDesc prefixIn, StrDesc defaultIn, int depth) {
    DynScope scope;
    // The arguments may be views into the slot table, which the load changes.
    StrDesc folder = StrCopy(folderIn);
    StrDesc prefix = StrCopy(prefixIn);
    StrDesc defaultFolder = StrCopy(defaultIn);
    for (StrDesc d : {folder, prefix, defaultFolder})
        if (d.IsError()) return d.len;

    ErrCode result = 0;
    std::uint8_t base = 0;  // include base, kept from the structure dictionary to the relations
    for (std::uint16_t item : {kDictStructure, kDictRelations}) {
        if (result != 0) break;
        DynScope itemScope;
        StrDesc name = DictFileName(prefix, item);
        StrDesc path = PathJoin(folder, name);
        // The relation dictionary is optional: its absence leaves no error trace.
        std::uint16_t flags = item == kDictStructure ? kStreamReadOnly : kStreamReadOnly | kStreamQuiet;
        std::uint16_t handle = StreamOpen(path, flags);
        if (handle >= kStreamCount) {
            if (item == kDictStructure) {
                ErrNote(kNoteFirst, kAreaDataFile, kErrFileNotFound, 0);
                ErrSetText(kErrFileNotFound, StrAssemble({name, S("["), folder, S("]")}), true);
                result = kErrFileNotFound;
            }
            continue;
        }
        result = DictRead(handle, folder, defaultFolder, depth, base);
        StreamClose(handle);
        // Every file that received no key line gets the default key.
        if (item == kDictStructure && result == 0) result = KeyDefaults(FileCount());
    }
    return result;
}

}  // namespace

StrDesc DictFileName(StrDesc prefix, std::uint16_t item) {
    DynScope scope;
    return scope.Keep(StrConcat(Substr(prefix, 0, 2), Item(S("DICC.DAT,REL.DAT,RELUP.DAT,RELUPSQL.DAT,MENU.PPN"),
                                                            ',', item)));
}

ErrCode DictLoad(StrDesc folder, StrDesc prefix, StrDesc defaultFolder) {
    return DictLoadAt(folder, prefix, defaultFolder, 0);
}

ErrCode DictLoadForStart(StrDesc folder, StrDesc appCode) {
    bool emptyBefore = FileCount() == 0;
    ErrCode result = DictLoad(folder, appCode, StrEmpty());
    if (result != 0) {
        // A half-read dictionary must not leave its files behind for a second attempt.
        if (emptyBefore && FileCount() != 0) FileTableReset();
        return result;
    }
    // The variables are a convenience of expressions: a name that cannot be one (an empty name,
    // say) leaves its file without a variable but does not undo a load that succeeded.
    for (std::uint8_t f = 1; f <= FileCount(); ++f) {
        DynScope scope;
        VarSetFileNumber(StrCopy(FileName(f, kFileNameBare)), f);
    }
    return 0;
}

}  // namespace rt
