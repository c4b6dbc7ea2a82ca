// The registry of data files and their fields, and the per-file control blocks.
#include "runtime/data/file_table.h"

#include <cstring>

#include "runtime/data/file_table_state.h"
#include "runtime/env/errors.h"
#include "runtime/env/paths.h"
#include "runtime/text/err_codes.h"
#include "runtime/vars/run_log.h"
#include "runtime/vars/var_system.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/slot_table.h"
#include "runtime/text/text_build.h"
#include "runtime/text/text_clean.h"
#include "runtime/text/text_lists.h"

namespace rt {

namespace {

FileTableState g_state;

// Temporary folders named by FileName with kind 7 are stacked here.

bool NamesKeepCase() { return (SysBits(kSysAuxStat) & kAuxNamesKeepCase) != 0; }

// The text of each of count items made by piece(i), joined with ",", on DynStrings.
template <typename Piece>
StrDesc JoinItems(std::uint16_t count, Piece piece) {
    std::uint16_t mark = DynMark();
    StrDesc list = StrEmpty();
    for (std::uint16_t i = 1; i <= count; ++i) {
        StrDesc item = piece(i);
        if (item.IsError()) {
            DynRelease(mark);
            return item;
        }
        // Empty items keep their place: a position in the list is a file or field number.
        StrDesc joined = i == 1 ? StrCopy(item) : StrAssemble({list, S(","), item});
        list = DynKeep(mark, joined);
        if (list.IsError()) return list;
    }
    return list.len == 0 ? StrEmpty() : list;
}

}  // namespace

FileTableState& FileState() { return g_state; }

std::uint16_t FirstFieldIndex(std::uint8_t n) {
    std::uint16_t index = 0;
    for (std::uint8_t f = 1; f < n && f <= g_state.fileCount; ++f) index += g_state.files[f - 1].fieldCount;
    return index;
}

std::uint16_t FirstKeyIndex(std::uint8_t n) {
    std::uint16_t index = 0;
    for (std::uint8_t f = 1; f < n && f <= g_state.fileCount; ++f) index += g_state.files[f - 1].keyCount;
    return index;
}

void FileTableReset() {
    g_state = FileTableState{};
    if (!SlotReady()) return;
    for (std::uint16_t group : {kFileNamesGroup, kFileFoldersGroup, kFieldNamesGroup, kRelationsGroup,
                                kRecordsGroup})
        SlotClear(group);
}

std::uint8_t FileCount() { return g_state.fileCount; }

std::uint8_t FileResolve(std::uint8_t n) {
    if (FileValid(n)) return n;
    return static_cast<std::uint8_t>(SysBits(kSysCurFil));
}

std::uint8_t FileSelect(std::uint8_t n) {
    if (FileValid(n)) SysVarSet(kSysCurFil, n);
    return FileResolve(kCurrentFile);
}

std::uint8_t FileByName(StrDesc text) {
    if (text.IsError()) return 0;
    if (text.len == 0) return FileResolve(kCurrentFile);
    if (static_cast<signed char>(text.ptr[0]) <= 64) return static_cast<std::uint8_t>(StrToNum(text));
    DynScope scope;
    StrDesc name = NamesKeepCase() ? text : CaseFold(text, kCaseLower);
    if (name.IsError()) return 0;
    for (std::uint8_t f = 1; f <= g_state.fileCount; ++f)
        if (StrEq(SlotGet(kFileNamesGroup, f - 1), name)) return f;
    return 0;
}

StrDesc FileName(std::uint8_t n, std::uint8_t kind) {
    StrDesc name = n == 0 ? StrEmpty() : SlotGet(kFileNamesGroup, n - 1);
    if (kind == kFileNameBare) return name;
    if (kind == kFileNameTempFolder) {
        StrDesc temp = EnvValue(S("TEMP"));
        if (!temp.IsError()) SlotPush(kParmStackGroup, temp);
        return temp;
    }
    std::uint16_t compat = SysBits(kSysCompat);
    if ((compat & kCompatShortNames) && name.len > 8) name.len = 8;
    if (kind == kFileNameIndex && (compat & kCompatIndexNdx)) kind = kFileNameIndexNdx;
    DynScope scope;
    StrDesc file = ExtJoin(name, Item(S(",FD,DIR,NDX,TMP,TXT"), ',', kind));
    StrDesc folder = n == 0 ? StrEmpty() : SlotGet(kFileFoldersGroup, n - 1);
    return scope.Keep(PathJoin(folder, file));
}

StrDesc FileNameList(std::uint8_t kind) {
    return JoinItems(g_state.fileCount, [kind](std::uint16_t i) {
        return FileName(static_cast<std::uint8_t>(i), kind);
    });
}

std::uint8_t FileKindOf(std::uint8_t n) { return FileValid(n) ? g_state.files[n - 1].kind : 0; }

ErrCode FileRegister(std::uint8_t kind, StrDesc name, StrDesc folder) {
    if (ErrCode e = StrCheck(name)) return e;
    if (ErrCode e = StrCheck(folder)) return e;
    if (g_state.fileCount == 0) g_state.lastKeyed = 0;
    if (g_state.fileCount >= kMaxFiles) return kErrFileOutBound;
    std::uint8_t n = ++g_state.fileCount;
    g_state.files[n - 1] = FileEntry{n, kind, 0, 0, 0};
    g_state.ctrl[n - 1] = DataFileCtrl{};
    DynScope scope;
    StrDesc stored = NamesKeepCase() ? name : CaseFold(name, kCaseLower);
    if (stored.IsError()) return stored.len;
    if (ErrCode e = SlotSet(kFileNamesGroup, n - 1, stored)) return e;
    return SlotSet(kFileFoldersGroup, n - 1, folder);
}

DataFileCtrl& FileCtrl(std::uint8_t n) {
    Assert(FileValid(n), "DataFileCtrl");
    static DataFileCtrl unused;  // only reached if the assertion could return
    if (!FileValid(n)) return unused = DataFileCtrl{};
    return g_state.ctrl[n - 1];
}

void CtrlReset(std::uint8_t n) { FileCtrl(n) = DataFileCtrl{}; }

ErrCode FieldAdd(StrDesc name, std::uint16_t width, char type) {
    if (ErrCode e = StrCheck(name)) return e;
    std::uint8_t f = g_state.fileCount;
    if (f == 0 || f >= kMaxFiles) return kErrFileOutBound;
    FileEntry& file = g_state.files[f - 1];
    // Both record images share one text of 16-bit length.
    if (static_cast<std::uint32_t>(file.recordLength) + width > kMaxRecordLength) return kErrDataOutBound;
    FieldDesc desc{f, static_cast<std::uint16_t>(file.fieldCount + 1), file.recordLength, width, type, 0};
    file.fieldCount = desc.field;
    file.recordLength = static_cast<std::uint16_t>(file.recordLength + width);
    ErrCode stored = SlotSet(kFieldNamesGroup, static_cast<std::uint16_t>(g_state.fields.size()), name);
    g_state.fields.push_back(desc);
    return stored;
}

std::uint16_t FieldCount(std::uint8_t n) {
    n = FileResolve(n);
    return FileValid(n) ? g_state.files[n - 1].fieldCount : 0;
}

std::uint16_t RecordLength(std::uint8_t n) {
    n = FileResolve(n);
    return FileValid(n) ? g_state.files[n - 1].recordLength : 0;
}

ErrCode FieldCheck(std::uint8_t n, std::uint16_t field) {
    if (FileValid(n) && (field == kFileOnly || (field >= 1 && field <= g_state.files[n - 1].fieldCount)))
        return 0;
    DynScope scope;
    return ErrSetText(kErrDataOutBound, Format(64, "(File:%u, Field:%u)", unsigned{n}, unsigned{field}));
}

FieldDesc FieldInfo(std::uint8_t n, std::uint16_t field) {
    n = FileResolve(n);
    FieldDesc desc;
    if (ErrCode e = FieldCheck(n, field == kFileOnly ? 0 : field)) {
        desc.status = e;
        return desc;
    }
    return g_state.fields[FirstFieldIndex(n) + field - 1];
}

StrDesc FieldName(std::uint8_t n, std::uint16_t field) {
    n = FileResolve(n);
    if (ErrCode e = FieldCheck(n, field == kFileOnly ? 0 : field)) return StrError(e);
    return SlotGet(kFieldNamesGroup, static_cast<std::uint16_t>(FirstFieldIndex(n) + field - 1));
}

std::uint16_t FieldByName(std::uint8_t n, StrDesc name) {
    n = FileResolve(n);
    if (!FileValid(n) || name.IsError()) return 0xFFFF;
    std::uint16_t first = FirstFieldIndex(n);
    for (std::uint16_t i = 0; i < g_state.files[n - 1].fieldCount; ++i)
        if (StrEq(SlotGet(kFieldNamesGroup, static_cast<std::uint16_t>(first + i)), name))
            return static_cast<std::uint16_t>(i + 1);
    return 0xFFFF;
}

StrDesc FieldRefName(std::uint8_t n, std::uint16_t field) {
    DynScope scope;
    StrDesc name = StrCopy(FieldName(n, field));
    if (name.IsError()) return scope.Keep(name);
    // Numbers that stand for the current file are written as that file's number.
    StrDesc number = n == 0 ? StrEmpty() : Format(8, "%u", unsigned{FileResolve(n)});
    return scope.Keep(StrAssemble({name, S("{"), number, S("}")}));
}

StrDesc FieldNameList(std::uint8_t n, bool qualified) {
    return JoinItems(FieldCount(n), [n, qualified](std::uint16_t i) {
        return qualified ? FieldRefName(n, i) : FieldName(n, i);
    });
}

std::uint16_t DisplayWidth(char type, std::uint16_t width) {
    if ((SysBits(kSysCompat) & kCompatDecimalWidth) && type >= '0' && type <= '8')
        return static_cast<std::uint16_t>(width + (type - '0') + 1);
    return width;
}

}  // namespace rt
