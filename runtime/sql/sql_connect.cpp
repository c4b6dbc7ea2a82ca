// The SQL connection: its parameters from options, parameter file or credentials dialog, the login
// loop, the connection string, and the remembered credentials file.
#include "runtime/sql/sql_connect.h"

#include <cstdio>
#include <string>

#include "platform/process.h"
#include "runtime/data/file_table.h"
#include "runtime/env/catalog.h"
#include "runtime/env/errors.h"
#include "runtime/env/options.h"
#include "runtime/env/streams.h"
#include "runtime/sql/sql_control.h"
#include "runtime/sql/sql_cursor.h"
#include "runtime/sql/sql_internal.h"
#include "runtime/sql/sql_schema.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/slot_table.h"
#include "runtime/text/str_bridge.h"
#include "runtime/text/text_build.h"
#include "runtime/text/text_clean.h"
#include "runtime/text/text_lists.h"
#include "runtime/vars/parm_blocks.h"
#include "runtime/vars/run_log.h"
#include "runtime/vars/var_system.h"

namespace rt {

namespace {

constexpr std::uint16_t kAnswerItems = 4;  // server, database, user, password (5: remember)
constexpr std::uint16_t kAnswerRemember = 5;
constexpr std::uint8_t kFlagsLoadFiles = 3;  // start flags that let the first connection register tables

SqlCredentialsAnswer NoDialog(StrDesc, StrDesc) { return SqlCredentialsAnswer{kErrCancelled, StrEmpty(), false}; }
SqlCredentialsAsk g_ask = NoDialog;

// A value as libpq reads it in a connection string: in single quotes, with ' and \ escaped.
void AppendValue(std::string& out, const char* keyword, StrDesc value) {
    if (!out.empty()) out += ' ';
    out += keyword;
    out += " = '";
    for (unsigned char c : StrToStd(value)) {
        if (c == '\'' || c == '\\') out += '\\';
        out += static_cast<char>(c);
    }
    out += '\'';
}

// Replaces the user parameter file with text. The old file goes and a new one is created readable
// by its owner only, through the platform's own path conversion, before the credentials are written
// into it, so that they are never readable by others. 0, or 131 when not every byte was written (an
// empty text writes nothing and gives 131).
ErrCode RememberAnswer(StrDesc file, StrDesc text) {
    if (file.len == 0) return 0;
    std::string path = StrToStd(file);
    PlatformRemove(path);
    std::FILE* f = PlatformCreatePrivate(path);
    if (f == nullptr) return kErrFileIo;
    bool ok = text.len != 0 && !text.IsError() && PlatformWrite(f, text.ptr, text.len) == text.len;
    ok = PlatformFlush(f) == 0 && ok;
    ok = PlatformClose(f) == 0 && ok;
    return ok ? 0 : kErrFileIo;
}

// The remembered answer: 'localhost' when the file is missing or empty, empty when it cannot be read.
StrDesc RememberedAnswer(StrDesc file) {
    if (file.len == 0 || PlatformFindFiles(StrToStd(file)).empty()) return S("'localhost'");
    std::uint16_t h = StreamOpen(file, kStreamReadOnly | kStreamQuiet);
    if (h >= kStreamCount) return StrEmpty();
    std::uint32_t size = StreamSize(h);
    StrDesc content = size == 0 ? S("'localhost'")
                                : StreamReadDyn(h, 0, static_cast<std::uint16_t>(size > 0xFFFF ? 0xFFFF : size));
    StreamClose(h);
    return content.IsError() ? StrEmpty() : content;
}

// The one-line form of the credentials dialog: catalog "0091" filled with the first four
// items of the remembered answer, as they stand.
StrDesc CredentialsSpec(std::uint8_t flags) {
    std::uint16_t m = DynMark();
    StrDesc remembered = RememberedAnswer(SqlUserParmFile(flags));
    const char* item[kAnswerItems];
    for (std::uint16_t i = 0; i < kAnswerItems; ++i) item[i] = StrToC(Item(remembered, ',', i + 1));
    StrDesc spec = FormatText(0xFFFF, MsgText("0091"), item[0], item[1], item[2], item[3]);
    return DynKeep(m, spec);
}

}  // namespace

SqlCredentialsAsk SqlCredentialsAskSet(SqlCredentialsAsk ask) {
    SqlCredentialsAsk previous = g_ask == NoDialog ? nullptr : g_ask;
    g_ask = ask != nullptr ? ask : NoDialog;
    return previous;
}

StrDesc SqlUserParmFile(std::uint8_t flags) {
    switch ((flags >> 2) & 3) {
    case 0: return S("sqlusrprm.dat");
    case 1: return S("sqladmprm.dat");
    case 2: return S("slqusrpr2.dat");
    default: return StrEmpty();
    }
}

StrDesc SqlConnString(StrDesc host, StrDesc database, StrDesc user, StrDesc password, bool masked) {
    std::string out;
    if (database.len != 0) AppendValue(out, "dbname", database);
    AppendValue(out, "host", host);
    AppendValue(out, "user", user);
    AppendValue(out, "password", masked ? S("***") : password);
    return StrFromStd(out);
}

ErrCode SqlStartHook(std::uint8_t code) {
    switch (code & 0x0F) {
    case kSqlHookConnect: {
        DynScope scope;
        std::uint8_t flags = static_cast<std::uint8_t>(static_cast<std::int8_t>(code) >> 4);
        return SqlLogin(S("sqlparams.dat"), flags, StrCopy(MsgText("0090")));
    }
    case kSqlHookEnd:
        SqlDisconnect();
        // The run ends: no connection or result may outlive it.
        SqlControlShutdown();
        CursorShutdown();
        SysBitsSet(kSysAuxStat, static_cast<std::uint16_t>(SysBits(kSysAuxStat) & ~kAuxSqlConnected));
        return 0;
    default:
        return 0;
    }
}

ErrCode SqlLogin(StrDesc source, std::uint8_t flags, StrDesc title) {
    std::uint16_t mark = DynMark();
    ErrCode r = kErrSqlError;
    do {
        if (source.len != 0) {
            r = SqlConnectFrom(source, flags);
            if (r != kErrSqlError) break;
        }
        StrDesc spec = CredentialsSpec(flags);
        SqlCredentialsAnswer answer = g_ask(title, spec);
        source = DynKeep(mark, answer.values.IsError() ? StrEmpty() : answer.values);
        r = answer.status;
        if (r == 0 && answer.accepted) r = kErrSqlError;
    } while (r == kErrSqlError);
    if (r == 0) {
        std::uint16_t item = SlotGet(kRunGroup, kSlotDatabase).len == 0 ? kSlotDatabase : kSlotDatabase2;
        SlotSet(kRunGroup, item, source);
    }
    DynRelease(mark);
    return r;
}

ErrCode SqlConnectFrom(StrDesc source, std::uint8_t flags) {
    DynScope scope;
    StrDesc host, database, user, password;
    if (ItemCount(source, ',') >= kAnswerItems) {
        StrDesc remember = Unquote(Trim(Item(source, ',', kAnswerRemember), kTrimBoth));
        if (StrToNum(remember) != 0) {
            if (ErrCode e = RememberAnswer(SqlUserParmFile(flags), source)) return e;
        }
        host = Unquote(Item(source, ',', 1));
        database = Unquote(Item(source, ',', 2));
        user = Unquote(Item(source, ',', 3));
        password = Unquote(Item(source, ',', 4));
    } else if (OptValue(S("sqlhost")).len != 0) {
        host = StrCopy(OptValue(S("sqlhost")));
        database = StrCopy(OptValue(S("database")));
        user = StrCopy(OptValue(S("user")));
        password = StrCopy(OptValue(S("passw")));
    } else {
        if (ParmPush(source.len != 0 ? source : S("sqlparams.dat"), 0, 0) != 0) {
            ErrSetText(0, StrEmpty());
            return kErrSqlError;
        }
        host = ParmTop(S("sqlhost"));
        database = ParmTop(S("database"));
        user = ParmTop(S("user"));
        password = ParmTop(S("passw"));
        ParmPop();
    }
    return SqlConnect(host, database, user, password, flags);
}

ErrCode SqlConnect(StrDesc host, StrDesc database, StrDesc user, StrDesc password, std::uint8_t flags) {
    DynScope scope;
    ErrCode result = kErrOutOfMemory;
    if (user.len == 0 && !user.IsError()) user = S("guest");
    if (SqlSlotConnected(kSqlCurrent)) {
        for (std::uint16_t i = 0; i < kSqlSlots; ++i) {
            if (!SqlSlotConnected(i)) {
                SysVarSet(kSysSqlStk, static_cast<std::int16_t>(i));
                break;
            }
        }
    }
    StrDesc traced = StrEmpty();
    if (!SqlSlotConnected(kSqlCurrent)) {
        if (host.IsError()) {
            result = host.len;
        } else {
            traced = SqlConnString(host, database, user, password, true);
            PGconn* conn = PQconnectdb(StrToC(SqlConnString(host, database, user, password, false)));
            SqlSlotConnSet(kSqlCurrent, conn);
            if (PQstatus(conn) != CONNECTION_OK) {
                ErrNote(kNoteFirst, kAreaSqlConnect, kErrSqlError, 0);
                ErrSetText(kErrSqlError, SqlCleanMessage(PQerrorMessage(conn)), true);
                SqlDisconnect();
                result = kErrSqlError;
            } else {
                SqlConnPrepare(conn);
                SysBitsSet(kSysAuxStat, static_cast<std::uint16_t>(SysBits(kSysAuxStat) | kAuxSqlConnected));
                result = ((flags & kFlagsLoadFiles) && FileCount() == 0 && database.len != 0) ? SchemaLoad(flags) : 0;
            }
        }
    }
    LogLine(Format(0xFFFF, "%s %u", StrToC(traced), unsigned(result)), result < 3 ? kSqlTraceOk : kSqlTraceFailed);
    return result;
}

void SqlDisconnect() {
    SqlConnFinish(SqlSlotConn(kSqlCurrent));
    while (SysVar(kSysSqlStk) != 0 && !SqlSlotConnected(kSqlCurrent))
        SysVarSet(kSysSqlStk, static_cast<std::int16_t>(SysVar(kSysSqlStk) - 1));
}

}  // namespace rt
