// Text-file functions: FN#FLEN of a text file, FILESEL's stream forms, EXEC$, READ$, WRITE.
#include <string>
#include <vector>

#include "runtime/data/file_table.h"
#include "runtime/env/errors.h"
#include "runtime/env/paths.h"
#include "runtime/env/streams.h"
#include "runtime/expr/evaluator.h"
#include "runtime/expr/fn_internal.h"
#include "runtime/text/err_codes.h"
#include "runtime/vars/var_arena_number.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/slot_table.h"
#include "runtime/text/str_bridge.h"
#include "runtime/text/text_build.h"
#include "runtime/text/text_clean.h"
#include "runtime/text/text_lists.h"

namespace rt {

namespace {

constexpr std::uint32_t kWholeFile = 0xFFFFFFFF;
constexpr std::uint16_t kReadPiece = 32768;

bool IsFileHandle(std::uint16_t h) { return h >= kStreamFirstFile && h < kStreamCount; }

// Opens a file for reading; a name without folder that cannot be opened is looked for in the
// default folder. Gives a file handle or 0xFFFF (the standard streams are never taken).
std::uint16_t OpenForReading(StrDesc path) {
    std::uint16_t h = StreamOpen(path, kStreamReadOnly | kStreamQuiet);
    if (IsFileHandle(h)) return h;
    StrDesc folder = SlotGet(kRunGroup, kSlotDefaultFolder);
    if (folder.len == 0 || PathPart(path, kPathParent).len != 0) return 0xFFFF;
    DynScope scope;
    StrDesc joined = PathJoin(StrCopy(folder), path);
    if (joined.IsError()) return 0xFFFF;
    h = StreamOpen(joined, kStreamReadOnly | kStreamQuiet);
    return IsFileHandle(h) ? h : 0xFFFF;
}

// Lines joined with sep: CR LF, then LF, then CR.
StrDesc JoinLines(StrDesc text, StrDesc sep) {
    std::uint16_t mark = DynMark();
    StrDesc t = ReplaceAll(text, S("\r\n"), sep, kExact);
    t = ReplaceAll(t, S("\n"), sep, kExact);
    t = ReplaceAll(t, S("\r"), sep, kExact);
    return t.IsError() ? (DynRelease(mark), t) : DynKeep(mark, t);
}

}  // namespace

StrDesc FnFilePath(StrDesc name) { return PathExpand(Trim(name, kTrimBoth)); }

StrDesc FnReadFile(StrDesc path, std::uint32_t offset, std::uint32_t count) {
    std::uint16_t h = OpenForReading(path);
    if (h == 0xFFFF) return StrError(kErrFileNotFound);
    std::uint32_t size = StreamSize(h);
    std::uint32_t n = (size == kStreamNoSize || offset >= size) ? 0 : size - offset;
    if (count < n) n = count;
    if (n > DynFree().len) {
        StreamClose(h);
        return StrError(kErrOutOfMemory);
    }
    std::uint16_t mark = DynMark();
    StrDesc buffer = DynAlloc(static_cast<std::uint16_t>(n));
    if (buffer.IsError()) {
        StreamClose(h);
        return buffer;
    }
    std::uint32_t got = 0;
    while (got < n) {
        std::uint16_t piece = static_cast<std::uint16_t>(n - got < kReadPiece ? n - got : kReadPiece);
        std::uint16_t r = StreamRead(h, got == 0 ? offset : kStreamHere, piece, buffer.mut() + got, piece);
        if (r == 0xFFFF || r == 0) break;
        got += r;
    }
    StreamClose(h);
    return DynKeep(mark, StrMake(buffer.ptr, static_cast<std::uint16_t>(got)));
}

ErrCode FnFileLength(FnArgs& a) {
    StrDesc name;
    if (ErrCode e = FnArgText(a, 0, StrEmpty(), &name)) return e;
    StrDesc trimmed = Trim(name, kTrimBoth);
    if (trimmed.len && trimmed.bytes()[0] > '@') {
        std::uint8_t n = FileByName(trimmed);
        // Counting a data file's records needs the SQL layer.
        if (n != 0 && n <= FileCount()) {
            const FnRecordLayer* layer = FnRecordLayerInstalled();
            if (layer && layer->length) return layer->length(n);
            return ErrSetText(kErrFeatureRemoved, S("FN#FLEN()"));
        }
    }
    std::uint32_t size = 0;
    {
        DynScope scope;
        StrDesc path = FnFilePath(trimmed);
        std::uint16_t h = path.IsError() ? 0xFFFF : OpenForReading(path);
        if (h != 0xFFFF) {
            size = StreamSize(h);
            if (size == kStreamNoSize) size = 0;
            StreamClose(h);
        }
    }
    return FnInteger(size);
}

ErrCode FnFileSelect(FnArgs& a) {
    if (!FnIsText(a, 0)) {
        std::int64_t handle = 0;
        if (ErrCode e = FnArgLong(a, 0, 0, &handle)) return e;
        StreamClose(static_cast<std::uint16_t>(handle & 0xFFFF));
        return FnNumber(0);
    }
    // One text is a data-file open list (or RESTORE), which needs record access.
    if (a.count < 2) {
        const FnRecordLayer* layer = FnRecordLayerInstalled();
        if (layer && layer->select) return layer->select(a);
        return ErrSetText(kErrFeatureRemoved, S("FILESEL()"));
    }
    std::int16_t flags = 1;
    if (ErrCode e = FnArgInt(a, 1, 1, &flags)) return e;
    std::uint16_t h;
    {
        DynScope scope;
        StrDesc path = FnFilePath(a.value[0]);
        if (path.IsError()) return 0xFFFF;
        h = StreamOpen(path, static_cast<std::uint16_t>(flags));
    }
    if (h >= kStreamCount) return h == 0xFFFF || h >= kErrFirstFailure ? h : 0xFFFF;
    return FnInteger(h);
}

ErrCode FnExec(FnArgs& a) {
    StrDesc name, second;
    if (ErrCode e = FnArgText(a, 0, StrEmpty(), &name)) return e;
    if (ErrCode e = FnArgText(a, 1, StrEmpty(), &second)) return e;
    if (PathPart(name, kPathExt).len == 0 || second.len != 0) return ErrSetText(kErrFeatureRemoved, S("EXEC$()"));
    std::uint16_t mark = DynMark();
    StrDesc path = FnFilePath(name);
    StrDesc content = path.IsError() ? path : FnReadFile(path, 0, kWholeFile);
    if (content.IsError()) {
        DynRelease(mark);
        return ErrSetText(kErrFileNotFound, name);
    }
    StrDesc program = JoinLines(content, S(";"));
    if (program.IsError()) return program.len;
    ErrCode e = ExpRun(program);
    DynRelease(mark);
    if (e) return e;
    return FnText(StrEmpty());
}

ErrCode FnRead(FnArgs& a) {
    std::int64_t position = 0, length = -1;
    if (ErrCode e = FnArgLong(a, 1, 0, &position)) return e;
    if (ErrCode e = FnArgLong(a, 2, -1, &length)) return e;
    if (FnIsText(a, 0)) {
        std::uint16_t mark = DynMark();
        StrDesc path = FnFilePath(a.value[0]);
        StrDesc content = path.IsError() ? path
                        : FnReadFile(path, position < 0 ? 0 : static_cast<std::uint32_t>(position),
                                     length < 0 ? kWholeFile : static_cast<std::uint32_t>(length));
        // Any failure reads as the empty text; the content is left as the arena top.
        if (content.IsError()) {
            DynRelease(mark);
            return FnText(StrEmpty());
        }
        DynKeep(mark, content);
        return kExpText;
    }
    std::int64_t handle = 0;
    if (ErrCode e = FnArgLong(a, 0, 0, &handle)) return e;
    std::uint16_t h = static_cast<std::uint16_t>(handle & 0xFFFF);
    if (length == 0) return FnText(StreamAtEnd(h) ? S("\x1A") : StrEmpty());
    std::uint32_t at = position < 0 ? kStreamHere : static_cast<std::uint32_t>(position);
    std::uint16_t count = length < 0 ? kStreamLine
                        : static_cast<std::uint16_t>(length >= 0xFFFF ? 0xFFFE : length);
    std::uint16_t mark = DynMark();
    StrDesc text = StreamReadDyn(h, at, count);
    if (text.IsError()) {
        DynRelease(mark);
        return FnText(StrEmpty());
    }
    return kExpText;
}

namespace {


// Rewrites a parameter file: the given NAME=expression items first, with their values as they are
// now, then the file's old items whose names were not given; the new content is run afterwards.
ErrCode RewriteParameters(StrDesc path, StrDesc list) {
    DynScope scope;
    std::uint16_t total = FnSplit(list, S(","), nullptr, nullptr, 0);
    std::vector<StrDesc> items(total);
    FnSplit(list, S(","), items.data(), nullptr, total);
    std::vector<std::string> names;
    std::string content;
    for (StrDesc raw : items) {
        StrDesc item = Trim(raw, kTrimBoth);
        if (item.len == 0) continue;
        std::uint16_t eq = FindChar(item, 0, '=', kQuoteAware);
        if (eq == kNone || eq == 0) return kErrSintaxError;
        StrDesc name = Trim(StrMake(item.ptr, eq), kTrimBoth);
        StrDesc expr = StrMake(item.ptr + eq + 1, static_cast<std::uint16_t>(item.len - eq - 1));
        std::string value;
        {
            DynScope inner;
            StrDesc v;
            ErrCode code = FnEvalValue(expr, &v);
            if (code >= kErrFirstFailure) return code;
            if (code == kExpNumber) {
                StrDesc t = NumText(VarNumFromEntry(v));
                value = t.len ? StrToStd(t) : "0";
            } else {
                // A text that holds a quote is enclosed in the other one so the file stays readable.
                StrDesc q = QuoteAuto(v, '\'');
                if (q.IsError()) return q.len;
                value = StrToStd(q);
            }
        }
        if (!content.empty()) content += ';';
        content += StrToStd(name) + "=" + value;
        names.push_back(StrToStd(name));
    }
    StrDesc old = FnReadFile(path, 0, kWholeFile);
    if (!old.IsError()) {
        old = JoinLines(old, S(";"));
        ItemCursor cursor(old, ';');
        StrDesc item;
        while (cursor.Next(&item)) {
            item = Trim(item, kTrimBoth);
            if (item.len == 0) continue;
            std::uint16_t eq = FindAny(item, 0, S("=:"), kQuoteAware);
            std::string name = StrToStd(Trim(eq == kNone ? item : StrMake(item.ptr, eq), kTrimBoth));
            bool given = false;
            for (const std::string& n : names) given = given || n == name;
            if (given) continue;
            if (!content.empty()) content += ';';
            content += StrToStd(item);
        }
    }
    if (content.size() > 0xFFFF) return kErrStringTooLong;
    StrDesc text = StrMake(content.data(), static_cast<std::uint16_t>(content.size()));
    if (ErrCode e = FileAppendText(path, kStreamRewrite, text)) return e;
    StrDesc program = StrCopy(text);
    if (program.IsError()) return program.len;
    return ExpRun(program);
}

}  // namespace

ErrCode FnWrite(FnArgs& a) {
    std::int64_t position = 0;
    StrDesc text;
    if (ErrCode e = FnArgLong(a, 1, 0, &position)) return e;
    if (ErrCode e = FnArgText(a, 2, StrEmpty(), &text)) return e;
    if (!FnIsText(a, 0)) {
        std::int64_t handle = 0;
        if (ErrCode e = FnArgLong(a, 0, 0, &handle)) return e;
        std::uint32_t at = position < 0 ? kStreamHere : static_cast<std::uint32_t>(position);
        return FnInteger(StreamWrite(static_cast<std::uint16_t>(handle & 0xFFFF), at, text));
    }
    ErrCode result;
    {
        DynScope scope;
        StrDesc path = FnFilePath(a.value[0]);
        if (path.IsError()) result = path.len;
        else if (position == -2) result = RewriteParameters(path, text);
        else if (position == -3) result = FileAppendText(path, kStreamRewrite, text);
        else result = FileAppendText(path, position < 0 ? kStreamHere : static_cast<std::uint32_t>(position), text);
    }
    // Every outcome, failures included, is the number result.
    return FnInteger(result);
}

}  // namespace rt
