// Runs an import in two passes over the same source and builds the parameter texts that tell the
// transfer engine how an incoming record meets an existing one.
#include "runtime/trans/import_run.h"

#include <vector>

#include "runtime/data/file_table.h"
#include "runtime/env/catalog.h"
#include "runtime/env/errors.h"
#include "runtime/sql/sql_control.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/slot_table.h"
#include "runtime/text/str_bridge.h"
#include "runtime/text/text_build.h"
#include "runtime/trans/import_text.h"
#include "runtime/ui/error_box.h"
#include "runtime/vars/parm_blocks.h"
#include "runtime/vars/var_system.h"

namespace rt {
namespace {

constexpr const char* kNumericTypes = "NL123456789";
constexpr ErrCode kFirstFailure = 128;  // codes below it are outcomes, not failures

bool IsNumeric(char type) {
    for (const char* p = kNumericTypes; *p; ++p) {
        if (*p == type) return true;
    }
    return false;
}

// For the run, the session's commits do not wait for the server's disk. Each record's statement
// still commits on its own and nothing is ever half-written; a server crash during the run may only
// lose the last records' commits. Waiting for every commit is most of an import's time on a server
// with the default durability. The server's setting comes back at the end.
class RelaxedCommits {
public:
    RelaxedCommits() : on_((SysBits(kSysAuxStat) & kAuxSqlConnected) != 0) {
        if (on_) on_ = SqlExec(S("SET synchronous_commit = off;")) == 0;
    }
    ~RelaxedCommits() {
        if (on_) SqlExec(S("RESET synchronous_commit;"));
    }
    RelaxedCommits(const RelaxedCommits&) = delete;
    RelaxedCommits& operator=(const RelaxedCommits&) = delete;

private:
    bool on_;
};

}  // namespace

std::string ImportMergeList(std::uint8_t file, const std::string* columnMap) {
    std::vector<ImportMapItem> mapped;
    if (columnMap != nullptr) mapped = ImportMapItems(*columnMap);
    std::string list;
    std::uint16_t count = FieldCount(file);
    for (std::uint16_t f = 1; f <= count; ++f) {
        std::string name;
        {
            DynScope scope;
            name = StrToStd(FieldName(file, f));
        }
        if (columnMap != nullptr) {
            bool assigned = false;
            for (const ImportMapItem& m : mapped) assigned |= m.field == name;
            if (!assigned) continue;
        }
        if (!list.empty()) list.push_back(',');
        if (IsNumeric(FieldInfo(file, f).type)) {
            list += name + "{}=FN#VALN(FN$FLDS(" + name + "{};2))";
        } else {
            list += name + "{}=FN$FLDS(" + name + "{};2)";
        }
    }
    return list;
}

std::string ImportStandardParms(std::uint8_t file) {
    return "UNICKEY$=\"1{}\":MERGE$=\"" + ImportMergeList(file, nullptr) + "\"";
}

std::string ImportExternalParms(std::uint8_t file, const std::string& header, const std::string& map) {
    return "UNICKEY$=\"1{}\":MERGE$=\"" + ImportMergeList(file, &map) + "\":STRUCT$=\"" +
           ImportFieldSpecs(header, map) + "\"";
}

ErrCode ImportRunBatch(StrDesc source, const std::string& parms, const TransHooks& hooks) {
    if (parms.size() > 0xFFFF) return kErrStringTooLong;
    if (ErrCode e = SlotPush(kParmStackGroup, StrViewStd(parms))) return e;
    RelaxedCommits relaxed;
    ErrCode e = TransRunBatch(source, kImportUpdatePass, hooks);
    if (e < kFirstFailure) {
        std::uint32_t updated = SysCount32();
        e = TransRunBatch(source, kImportAddPass, hooks);
        if (e < kFirstFailure) {
            std::uint32_t total = updated + SysCount32();
            DynScope scope;
            StrDesc count = Format(16, "%lu", static_cast<unsigned long>(total));
            StrDesc name = FileName(FileResolve(kCurrentFile), kFileNameBare);
            StrDesc text = FormatText(static_cast<std::uint16_t>(count.len + name.len + 384), MsgText("0101"),
                                      StrToC(count), StrToC(name));
            e = ErrSetText(kErrDetailMessage, text);
        }
    }
    ParmPop();
    return e;
}

ErrCode ImportRun(StrDesc source, const std::string& parms) {
    ErrCode e = ImportRunBatch(source, parms, TransHooks{});
    ErrShow(e);
    return e;
}

}  // namespace rt
