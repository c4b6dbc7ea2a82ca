// The record loop of a transfer: the sides opened, the data file walked in key order in blocks (or
// the external file read line by line), each record checked, written and counted, an import's work
// file applied, and the data file given back to its caller as it was.
#include "runtime/trans/trans_low.h"

#include <string>
#include <vector>

#include "runtime/access/blocks.h"
#include "runtime/access/file_read.h"
#include "runtime/access/write_phase.h"
#include "runtime/data/fields.h"
#include "runtime/data/file_open.h"
#include "runtime/data/file_table.h"
#include "runtime/data/keys.h"
#include "runtime/data/record_buffer.h"
#include "runtime/env/catalog.h"
#include "runtime/env/errors.h"
#include "runtime/env/paths.h"
#include "runtime/env/streams.h"
#include "runtime/expr/evaluator.h"
#include "runtime/sql/sql_read.h"
#include "runtime/sql/sql_write.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/slot_map.h"
#include "runtime/text/slot_table.h"
#include "runtime/text/str_bridge.h"
#include "runtime/text/text_build.h"
#include "runtime/text/text_clean.h"
#include "runtime/text/text_lists.h"
#include "runtime/trans/trans_ask.h"
#include "runtime/trans/trans_input.h"
#include "runtime/trans/trans_parms.h"
#include "runtime/trans/trans_reader.h"
#include "runtime/trans/trans_writer.h"
#include "runtime/vars/dates.h"
#include "runtime/vars/run_log.h"
#include "runtime/vars/var_system.h"

namespace rt {
namespace {

constexpr std::uint16_t kTraceTransfer = 2;   // the task trace's lines of the record loop
constexpr std::uint16_t kLogErrors = 1;       // error-log lines (always written)
constexpr std::uint16_t kUpLoop = 16;         // _UPSTAT: a transfer's record loop runs
constexpr std::uint16_t kOpenRead = 1;        // open modes of a data file the run opens itself
constexpr std::uint16_t kOpenUpdate = 2;
constexpr std::size_t kFlushAt = 32768;       // export bytes gathered before they are written
constexpr unsigned char kEsc = 27;
constexpr unsigned char kNoLimit = 0xFF;
constexpr StrDesc kTriggerEnable = S("ENABLE");
constexpr StrDesc kTriggerDisable = S("DISABLE");

// Reasons of the record check.
enum CheckResult : ErrCode {
    kTake = 0,
    kOutOfRange = 1,
    kNotWanted = 3,
    kKeyExists = 5,
    kKeyNew = 9,
};

StrDesc View(const std::string& s) { return StrDesc{s.data(), static_cast<std::uint16_t>(s.size())}; }

void Trace(const char* text) { LogLine(StrFromC(text), kTraceTransfer); }

// What the caller's data file held before the run, given back afterwards.
struct SavedFile {
    bool wasOpen = false;
    std::string buffer;
    DataFileCtrl ctrl;
};

struct Loop {
    TransRunState& run;
    TransMode mode;
    std::uint8_t file;
    std::uint16_t external = kNone;  // the external file's stream
    bool externalOwned = false;      // opened here (not a standard stream)
    std::uint16_t work = kNone;      // the work file of an import
    std::string workPath;
    std::string out;                 // export bytes not yet written
    TransReadLayout reader;
    TransWriteLayout writer;
    std::string cond, unicKey, wrExp, trigger, acConfirm, merge;
    std::uint16_t unicCri = 1;
    std::uint32_t count = 0;
    bool needKey = true;

    explicit Loop(TransRunState& r) : run(r), mode(r.mode), file(r.file) {}
};

bool Batch(const Loop& l) { return (l.mode & kTransBatch) != 0; }

std::string ParmText(std::uint16_t n) { return StrToStd(TransParm(n)); }

ErrCode Flush(Loop& l) {
    if (l.out.empty() || l.external == kNone) return 0;
    std::size_t at = 0;
    while (at < l.out.size()) {
        std::size_t n = l.out.size() - at;
        if (n > 0xFFFF) n = 0xFFFF;
        StrDesc piece{l.out.data() + at, static_cast<std::uint16_t>(n)};
        if (StreamWrite(l.external, kStreamHere, piece) != n) {
            l.out.clear();
            return kNone;
        }
        at += n;
    }
    l.out.clear();
    return 0;
}

// The key INDEX$ of the current record without trailing blanks.
std::string KeyText(const Loop& l) {
    DynScope scope;
    std::string key = StrToStd(KeyValue(l.file, l.run.key));
    while (!key.empty() && key.back() == ' ') key.pop_back();
    return key;
}

// The record's key is before the range's first key (first bytes compared) or after its last.
bool BeforeRange(const Loop& l, const std::string& key) {
    const std::string& low = l.run.low;
    return !low.empty() && low > key.substr(0, low.size());
}
bool AfterRange(const Loop& l, const std::string& key) {
    const std::string& high = l.run.high;
    if (high.find_first_not_of(' ') == std::string::npos) return false;
    if (high.size() == 1 && static_cast<unsigned char>(high[0]) == kNoLimit) return false;
    return high < key.substr(0, high.size());
}

// The unique key of an incoming record: UNICKEY$, or key UNICCRI$ of the record.
StrDesc UniqueKey(const Loop& l) {
    if (!l.unicKey.empty()) return ExpText(View(l.unicKey));
    return KeyValue(l.file, l.unicCri);
}

ErrCode Check(Loop& l, const std::string& key) {
    if (l.mode & kTransUsrUpdate) return kErrFeatureRemoved;
    StrDesc image = RecImage(l.file, kRecCurrent);
    if (!image.IsError() && image.len != 0 && image.bytes()[0] == kEsc) return kNotWanted;
    if (!l.cond.empty()) {
        ErrCode c = ExpCondition(View(l.cond));
        if (c >= kErrFirstFailure) return c;
        if (c == 0) return kNotWanted;
    }
    if (BeforeRange(l, key) || AfterRange(l, key)) return kOutOfRange;
    if (!TransIsExternImport(l.mode)) return kTake;
    DynScope scope;
    StrDesc unique = UniqueKey(l);
    if (unique.IsError()) return unique.len;
    ErrCode found = FileSeek(l.file, l.unicCri, unique, 0);
    if (found >= kErrFirstFailure) return found;
    bool exists = found == 0;
    if (l.mode & kTransOverwrite) return exists ? kTake : kKeyNew;
    return exists ? kKeyExists : kTake;
}

ErrCode Progress(Loop& l, const std::string& key, std::uint32_t step) {
    if (l.run.hooks.progress == nullptr || key.empty()) return 0;
    return l.run.hooks.progress(l.run.hooks.context, View(key), step);
}

// Writes the current record to the other side (the export line, the work file, a save or a delete).
ErrCode Write(Loop& l) {
    if (!l.wrExp.empty()) {
        DynScope scope;
        ErrCode r = ExpEval(View(l.wrExp));
        if (r >= kErrFirstFailure) return r;
    }
    TransMode m = l.mode & (kTransImport | kTransExternFile | kTransDeleting | kTransExternIndexed | kTransIsSql);
    ErrCode e = 0;
    if (m == kTransExternFile || m == (kTransExternFile | kTransDeleting)) {
        if (ErrCode f = TransExportLine(l.writer, &l.out)) return f;
        if (l.mode & kTransStream) l.out += "\r\n";
        if (l.out.size() >= kFlushAt) e = Flush(l);
    } else if (m == kTransImport) {
        DynScope scope;
        e = FileWritePhase(kActUpdate, l.file, StrEmpty(), StrEmpty());
    } else if (m == (kTransImport | kTransExternFile) || m == (kTransImport | kTransExternFile | kTransDeleting)) {
        StrDesc image = RecImage(l.file, kRecCurrent);
        if (image.IsError()) return image.len;
        e = StreamWrite(l.work, kStreamHere, image) == image.len ? 0 : kErrFileIo;
    } else if (m == kTransDeleting) {
        e = FileDelete(l.file, 0);
        if (e == kStatusNoRecord) e = 0;
    } else if (m == (kTransExternFile | kTransIsSql) && (l.mode & kTransStream)) {
        e = l.run.hooks.reader != nullptr ? l.run.hooks.reader(l.run.hooks.context, l.file) : ErrCode{kErrFeatureRemoved};
    } else {
        e = (m & (kTransExternIndexed | kTransIsSql)) ? kErrFeatureRemoved : kErrData;
    }
    if (e != 0) return e;
    if (!l.trigger.empty()) {
        DynScope scope;
        ErrCode r = ExpEval(View(l.trigger));
        if (r >= kErrSerious) return r;
    }
    ++l.count;
    SysCount32Set(l.count);
    return 0;
}

// One record through the check, the progress callback, the confirmation and the writer. *stop is
// set when the run must end; the result is the run's outcome in that case.
ErrCode Handle(Loop& l, std::uint32_t step, bool* stop) {
    // The key text is needed for a range, for the progress callback and for the error log; a plain
    // export of a whole file goes without it.
    std::string key;
    if (l.needKey) key = KeyText(l);
    ErrCode check = Check(l, key);
    if (check >= kErrLoopFailure) {
        if (!Batch(l) || check == kErrSintaxError) {
            *stop = true;
            return check;
        }
    }
    if (check < kErrLoopFailure) {
        bool skippedImport = check != kTake && TransIsExternImport(l.mode);
        if (ErrCode p = Progress(l, key, step)) {
            *stop = true;
            return p;
        }
        // A skipped import record is never applied: its share of the work is done twice now.
        if (skippedImport) {
            if (ErrCode p = Progress(l, key, step)) {
                *stop = true;
                return p;
            }
        }
    }
    if (check != kTake) return 0;
    if (!l.acConfirm.empty()) {
        DynScope scope;
        TransAnswer a = TransAsk(MsgText("0051"), View(l.acConfirm));
        if (a.status != 0) {
            *stop = true;
            return TransAskOutcome(a);
        }
    }
    ErrCode e = Write(l);
    if (e != 0 && (!Batch(l) || e == kErrSintaxError || e == kNone)) {
        *stop = true;
        return e;
    }
    if (e != 0) {
        DynScope scope;
        if (key.empty()) key = KeyText(l);
        LogLine(StrFromStd("Transfer: error " + std::to_string(e) + " writing " + key), kLogErrors);
    }
    return 0;
}

// The data file walked in the order of key INDEX$ from the range's first key.
ErrCode WalkDataFile(Loop& l) {
    BlockIter it;
    std::string low = l.run.low;
    ErrCode r = BlockStart(it, l.file, l.run.key, View(low), StrDesc{"\xFF", 1}, StrEmpty());
    if (r == kStatusNoRecord || r == kStatusOtherKey) {
        SqlBlockDrop(l.file);
        return 0;
    }
    ErrCode result = r;
    while (r == 0) {
        if (l.mode & kTransDosCodePage) TransFromDosCodePage(l.file);
        // Past the last key of the range the walk ends.
        if (!l.run.high.empty() && AfterRange(l, KeyText(l))) break;
        bool stop = false;
        result = Handle(l, 1, &stop);
        if (stop) break;
        r = BlockNext(it);
        result = r == kStatusNoRecord ? 0 : r;
    }
    SqlBlockDrop(l.file);
    return result;
}

// The external file read record by record into the current record.
ErrCode ReadExternal(Loop& l) {
    TransInput input(l.external);
    bool stream = (l.mode & kTransStream) != 0;
    // A quoted value may hold line ends (an export writes a multi-line text so): the record goes on.
    if (stream && (l.mode & kTransDelimited)) input.QuotedValues(l.reader.delimiter);
    for (;;) {
        std::uint64_t before = input.consumed();
        ErrCode r = 0;
        if (l.run.hooks.reader != nullptr) {
            r = l.run.hooks.reader(l.run.hooks.context, l.file);
        } else {
            StrDesc record;
            r = stream ? input.NextLine(&record) : input.NextBlock(l.reader.recordLength, &record);
            if (r == kStatusNoRecord) return 0;
            DynScope scope;
            r = TransReadRecord(l.reader, record);
        }
        if (r == kStatusNoRecord) return 0;
        if (r == kErrNoData) continue;
        if (r >= kErrSerious) {
            if (!Batch(l) || r == kErrSintaxError) return r;
            DynScope scope;
            LogLine(StrFromStd("Transfer: error " + std::to_string(r) + " reading line " +
                               std::to_string(input.lineNumber())),
                    kLogErrors);
            continue;
        }
        std::uint64_t step = input.consumed() - before;
        bool stop = false;
        ErrCode e = Handle(l, static_cast<std::uint32_t>(step == 0 ? 1 : step), &stop);
        if (stop) return e;
    }
}

// Applies the work file: each image updates its existing record (OVERWRITE, with MERGE$) or is
// added as a new one.
ErrCode ApplyWorkFile(Loop& l) {
    std::uint16_t length = RecordLength(l.file);
    std::vector<char> image(length);
    std::uint32_t position = 0;
    for (;;) {
        std::uint16_t got = StreamRead(l.work, position, length, image.data(), length);
        if (got == kStreamBad || got == 0) return 0;
        if (got != length) return kErrFileIo;
        position += length;
        DynScope scope;
        StrDesc incoming{image.data(), length};
        RecWrite(l.file, kRecCurrent, incoming);
        std::string key;
        ErrCode e = 0;
        if (l.mode & kTransOverwrite) {
            RecCopy(l.file, 1);
            StrDesc unique = UniqueKey(l);
            key = StrToStd(unique);
            e = unique.IsError() ? unique.len : FileSeek(l.file, l.unicCri, unique, kSeekCurrent);
            if (e == kStatusNoRecord || e == kStatusOtherKey) e = kErrInternal;
            if (e == 0) {
                std::string existing = StrToStd(RecImage(l.file, kRecCurrent));
                ItemCursor items(View(l.merge), ',');
                StrDesc item;
                while (e == 0 && items.Next(&item)) {
                    e = ExpRun(item);
                    if (e != 0) ErrSetText(e, item, true);
                }
                if (e == 0) {
                    RecWrite(l.file, kRecReference, View(existing));
                    e = FileWritePhase(kActUpdate, l.file, StrEmpty(), StrEmpty());
                }
            }
        } else {
            key = KeyText(l);
            e = FileWritePhase(kActInsert, l.file, StrEmpty(), StrEmpty());
        }
        if (e >= kErrSerious) {
            LogLine(StrFromStd("Transfer: error " + std::to_string(e) + " for key " + key), kLogErrors);
            if (e != kErrDataExists && !(Batch(l) && e == kErrSqlError)) return ErrSetText(e, View(key), true);
        }
        if (ErrCode p = Progress(l, key, length)) return p;
    }
}

ErrCode OpenExternal(Loop& l) {
    StrDesc target = View(l.run.target);
    std::uint16_t std = TransStdHandle(target);
    if (std != kNone) {
        l.external = std;
        return 0;
    }
    DynScope scope;
    StrDesc folder = StrCopy(TransParm(kTpTarPath));
    StrDesc path = folder.len != 0 ? PathJoin(folder, target) : target;
    std::uint16_t flags = (l.mode & kTransImport) ? kStreamReadOnly : (l.mode & kTransAppend) ? kStreamAppend : kStreamWrite;
    std::uint16_t h = StreamOpen(path, flags);
    if (h >= kStreamCount) return kNone;
    l.external = h;
    l.externalOwned = true;
    return 0;
}

ErrCode Run(Loop& l) {
    TransMode mode = l.mode;
    if (mode & kTransRelationalReset) {
        ErrCode e = FileDeleteAll(l.file);
        if (e != 0 && e != kStatusNoRecord) return e;
    }
    if ((mode & (kTransImport | kTransExternFile | kTransDeleting)) == (kTransImport | kTransExternFile | kTransDeleting)) {
        DynScope scope;
        FileDelete(FileName(l.file, kFileNameDict));
        FileDelete(FileName(l.file, kFileNameIndex));
    }
    if (mode & kTransExternFile) {
        if ((mode & kTransImport) && (mode & kTransExternIndexed)) return kErrFeatureRemoved;
        if (ErrCode e = OpenExternal(l)) return e;
    }
    if (TransIsExternImport(mode)) {
        // The work file lies beside the data file under a name of this run's own, so that two runs
        // in one folder never write into or apply each other's records.
        DynScope scope;
        std::uint16_t h = StreamCreateUnique(FileName(l.file, kFileNameTemp), &l.workPath);
        if (h >= kStreamCount) return kNone;
        l.work = h;
    }
    if (TransIsExport(mode)) {
        DynScope scope;
        if (ErrCode e = TransHeader(&l.writer, View(ParmText(kTpHeader)), &l.out)) return e;
        if (ErrCode e = Flush(l)) return e;
    }
    ErrCode e = TransIsExternImport(mode) ? ReadExternal(l) : WalkDataFile(l);
    // What was written before a cancellation or a failure stays written.
    ErrCode flushed = Flush(l);
    if (e == 0) e = flushed;
    Trace("FileTransLow Update");
    SysBitsSet(kSysUpStat, static_cast<std::uint16_t>(SysBits(kSysUpStat) & ~kUpLoop));
    if (e == 0 && l.work != kNone) e = ApplyWorkFile(l);
    return e;
}

}  // namespace

std::uint16_t TransStdHandle(StrDesc target) {
    static constexpr std::uint16_t kHandles[] = {0, 1, 2, 0};
    std::uint16_t n = ItemIndex(kTransStdNames, target, ',');
    return n == 0 ? kNone : kHandles[n - 1];
}

ErrCode FileTransLow(TransRunState& run) {
    Trace("FileTransLow Begin");
    // A transfer moves values as they are: an empty date read, written or merged stays empty.
    EmptyDatesStay emptyDates;
    SysBitsSet(kSysUpStat, static_cast<std::uint16_t>(SysBits(kSysUpStat) | kUpLoop));
    Loop l(run);
    std::uint8_t file = run.file;

    // The caller's record buffer and state come back after the run.
    SavedFile saved;
    saved.wasOpen = FileCtrl(file).openMode != 0;
    saved.ctrl = FileCtrl(file);
    if (saved.wasOpen) saved.buffer = StrToStd(RecImage(file, kRecWhole));
    ErrCode e = 0;
    {
        DynScope scope;
        std::string delim = StrToStd(TransParm(kTpFlDelim));
        StrDesc d = delim.empty() ? StrEmpty() : ExpText(View(delim));
        if (d.IsError()) e = d.len;
        if (d.IsError() || d.len == 0) d = kTransDefaultDelimiter;
        std::string delimiter = StrToStd(d);
        StrDesc structList = StrCopy(TransParm(kTpStruct));
        std::uint16_t buffSize = static_cast<std::uint16_t>(StrToNum(TransParm(kTpBuffSize)));
        l.cond = ParmText(kTpCond);
        l.unicKey = ParmText(kTpUnicKey);
        l.wrExp = ParmText(kTpWrExp);
        l.acConfirm = ParmText(kTpAcConfirm);
        l.merge = ParmText(kTpMerge);
        std::string trigger = ParmText(kTpTrigger);
        StrDesc upper = CaseFold(View(trigger), kCaseUpper);
        if (!StrEq(upper, kTriggerEnable) && !StrEq(upper, kTriggerDisable)) l.trigger = trigger;
        std::string unicCri = ParmText(kTpUnicCri);
        if (!unicCri.empty()) {
            std::int16_t k = ExpInteger(View(unicCri));
            l.unicCri = k >= 1 ? static_cast<std::uint16_t>(k) : 1;
        }
        if (e == 0 && !saved.wasOpen)
            e = FileOpen(file, (run.mode & (kTransImport | kTransUpdate)) ? kOpenUpdate : kOpenRead);
        FileSelect(file);
        if (e == 0 && TransIsExternImport(run.mode))
            e = TransReadLayoutBuild(file, run.mode, structList, static_cast<unsigned char>(delimiter[0]), buffSize, &l.reader);
        if (e == 0)
            e = TransWriteLayoutBuild(file, run.mode, structList, View(delimiter),
                                      buffSize != 0 ? buffSize : kTransOutputCapacity, &l.writer);
    }
    l.needKey = run.hooks.progress != nullptr || !run.low.empty() || !run.high.empty() || TransIsExternImport(run.mode);
    if (e == 0) e = Run(l);
    SysBitsSet(kSysUpStat, static_cast<std::uint16_t>(SysBits(kSysUpStat) & ~kUpLoop));
    FileEndTransaction(file, 0);

    if (l.work != kNone) StreamClose(l.work);
    if (!l.workPath.empty()) {
        DynScope scope;
        FileDelete(View(l.workPath));
    }
    if (l.externalOwned) StreamClose(l.external);
    if (saved.wasOpen) {
        RecWrite(file, kRecWhole, View(saved.buffer));
        FileCtrl(file).activeKey = saved.ctrl.activeKey;
        FileCtrl(file).status = saved.ctrl.status;
    } else {
        FileClose(file);
    }
    run.count = l.count;
    SysCount32Set(l.count);
    Trace("FileTransLow Ends");
    if (e == 0 && l.count == 0) return kErrNoData;
    return e;
}

}  // namespace rt
