// Result-code names and display texts, the error detail, the error box, the run's log file and
// internal assertions. The first-error note itself lives in error_note.cpp.
#include "runtime/env/errors.h"

#include <cstdlib>

#include "platform/process.h"
#include "runtime/env/catalog.h"
#include "runtime/env/paths.h"
#include "runtime/env/streams.h"
#include "runtime/expr/dates.h"
#include "runtime/expr/var_system.h"
#include "runtime/expr/variables.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/slot_table.h"
#include "runtime/text/text_build.h"
#include "runtime/text/text_lists.h"
#include "runtime/ui/message_box.h"

namespace rt {
namespace {

constexpr std::uint16_t kDetailGroup = 9, kDetailItem = 9;
constexpr std::uint16_t kLogGroup = 9, kLogItem = 10;
constexpr std::uint16_t kDetailKeep = 1024;

// Names of the codes 122 to 185, in code order; an empty item has no name of its own.
constexpr const char* kNames[] = {
    "Cancelado por el usuario", "Expresion Nula", "Aviso Indefinido", "Tipo Atipico", "Datos incorrectos",
    "No hay datos", "Tipos Incompatibles", "Fallo de loop", "Disco (I/O)", "Fichero I/O",
    "Ejecuci\xF3n de Procedimiento", "PRCSTCKERROR", "TRANSUPERROR", "VARHANDLERROR", "de Lectura",
    "de Escritura", "de Apertura", "de Red", "BADEXPRESION", "Interno", "FARHEAPINIERR",
    "de Entorno de Pantalla", "INDEXCMDERROR", "OUTOFMEMORY", "STRINGTOOLONG", "SINTAXERROR",
    "FEATUREREMOVED", "DIMSTRUCERROR", "BADSTRINGTYPE", "BADFILENUMBER", "FORMATFAILURE",
    "STRCONCATERR", "MEMORYALLOCERR", "EXPCALCERROR", "LOADSTRERROR", "VARNAMEERROR",
    "BADCOMMANDLINE", "STROUTBOUND", "MEMTESTERROR", "FILEOUTBOUND", "SQLERROR", "de Datos",
    "Fichero no encontrado", "Fichero Existente", "Apertura de Ficheros", "CHILDEXECERROR",
    "DATAOUTBOUND", "FILENOTINIT", "COMMONCTLERROR", "DEVICETIMEOUT", "DEVICEIOERROR",
    "SYSTEMCMDERROR", "Chequeo de usuario", "Permiso denegado", "StructMemError", "ScreenStructErr",
    "Memory Leaks", "Windows Control Error", "Memory Overflow", "Variable ScreenField", "",
    "Datos Existentes", "Solamente Acceso Local", "Soporte Grafico Insuficiente",
};
constexpr ErrCode kFirstNamed = 122;
constexpr ErrCode kLastNamed = 185;
static_assert(sizeof(kNames) / sizeof(kNames[0]) == kLastNamed - kFirstNamed + 1);

constexpr char kUndefined[] = "Indefinido";
constexpr char kAreas[] =
    "STRINGINIT,STRINGASSIGN,STRCONCAT,VARNMASSIGN,SQLCONNECT,SQLEXEC,EXEC_COMPILER,Malloc-MemAcums,"
    "ExecRunTime,VarStruct,ExpExec,Sort,BufferFld,DynStrings,StructFuncs,FormatStrings,Streams,DataFile,"
    "LocalLists,Screens,Devices,HtmlScan";

// The old detail cut by whole trailing lines to at most kDetailKeep bytes; a longer text without
// any line break is dropped.
StrDesc DetailKept(StrDesc old) {
    while (old.len > kDetailKeep) {
        std::uint16_t cut = old.len;
        while (cut > 0 && old.ptr[cut - 1] != '\n') --cut;
        if (cut == 0) return StrEmpty();
        cut -= 1;  // the line feed
        if (cut > 0 && old.ptr[cut - 1] == '\r') cut -= 1;
        old.len = cut;
    }
    return old;
}

// The base text of a code (without the "Error " prefix).
StrDesc BaseText(ErrCode code) {
    if (code == 0) return MsgText("0005");
    if (code <= 120) return MsgText("0008");
    if (code == 121 || code == 126) {
        StrDesc detail = ErrDetail();
        if (detail.len != 0) return detail;
    }
    return ErrName(code);
}

}  // namespace

ErrCode ErrSetText(ErrCode code, StrDesc text, bool append) {
    if (text.IsError()) return code;
    std::uint16_t m = DynMark();
    StrDesc detail = text;
    if (append) {
        StrDesc old = DetailKept(SlotGet(kDetailGroup, kDetailItem));
        if (old.len != 0) {
            StrDesc joined = StrConcat(StrConcat(old, S("\r\n")), text);
            if (!joined.IsError()) detail = joined;
        }
    }
    SlotSet(kDetailGroup, kDetailItem, detail);
    DynRelease(m);
    return code;
}

StrDesc ErrDetail() { return SlotGet(kDetailGroup, kDetailItem); }

StrDesc ErrName(ErrCode code) {
    if (code >= kFirstNamed && code <= kLastNamed) {
        StrDesc name = StrFromC(kNames[code - kFirstNamed]);
        if (name.len != 0) return name;
    }
    return S(kUndefined);
}

StrDesc ErrAreaName(std::uint16_t area) {
    if (area == 0) return StrEmpty();
    return Item(S(kAreas), ',', area);
}

StrDesc ErrText(ErrCode code) {
    std::uint16_t m = DynMark();
    StrDesc base;
    if (code == kNone) {
        ErrCode noted = static_cast<ErrCode>(ErrNoted() & 0xFFFF);
        base = noted != 0 ? BaseText(noted) : S(kUndefined);
    } else {
        base = BaseText(code);
    }
    if (code < 128) return DynKeep(m, base);
    StrDesc text = StrConcat(MsgText("0009"), base);
    std::uint16_t area = static_cast<std::uint16_t>(ErrNoted() >> 16);
    if (area != 0) text = StrConcat(text, StrConcat(StrConcat(S("("), ErrAreaName(area)), S(")")));
    StrDesc detail = ErrDetail();
    if (detail.len != 0) text = StrConcat(text, StrConcat(S(": "), detail));
    return DynKeep(m, text);
}

ErrCode ErrShow(ErrCode code) {
    // Cancellations and soft conditions are never shown.
    if (code < 122 || code > 127) {
        std::uint16_t m = DynMark();
        StrDesc text = ErrText(code);
        if (code < 128) MsgShow(text, MsgText("0012"), kMsgWarning);
        else MsgShow(text, MsgText("0013"), kMsgFatal);
        DynRelease(m);
    }
    return ErrSetText(0, StrEmpty());
}

StrDesc LogPath() {
    StrDesc path = SlotGet(kLogGroup, kLogItem);
    if (path.len != 0) return path;
    StrDesc identity = SlotGet(0, 2);
    StrDesc code = Item(identity, ':', 1);
    if (code.len > 2) code.len = 2;
    return StrConcat(code, S("log.txt"));
}

void LogLine(StrDesc text, std::uint16_t mask) {
    if ((static_cast<std::uint16_t>(VarIntSlot(kSysTrace)) & mask) == 0) return;
    std::uint16_t m = DynMark();
    StrDesc line = text.IsError() ? Format(16, "Error #%u", unsigned(text.len)) : text;
    FileAppendText(LogPath(), kStreamHere, StrConcat(line, S("\r\n")));
    DynRelease(m);
}

ErrCode LogEntry(StrDesc text, StrDesc file) {
    std::uint16_t m = DynMark();
    StrDesc path = file.len != 0 ? file : LogPath();
    std::uint16_t h = StreamOpen(path, kStreamAppend | kStreamQuiet);
    if (h >= kStreamCount) {
        ErrSetText(164, path);
        DynRelease(m);
        return 164;
    }
    PlatformDateTime now = PlatformNow();
    StrDesc time = Format(5, "%02d:%02d", now.hour, now.minute);
    StrDesc banner = Format(255, "*****************************\r\n Date:%s - Time:%s - User:%s\r\n",
                            StrToC(DateShow(DateToday(), 2)), StrToC(time), "0");
    StreamWrite(h, kStreamHere, banner);
    StreamWrite(h, kStreamHere, text);
    StreamWrite(h, kStreamHere, S("\r\n**********************\r\n\r\n"));
    StreamClose(h);
    DynRelease(m);
    return 0;
}

void Assert(bool condition, const char* tag) {
    if (condition) return;
    StrDesc text = tag != nullptr ? StrFromC(tag) : StrEmpty();
    MsgShow(text, S("Assertion Fail"), kMsgFatal);
    LogEntry(text, S("assertions.log"));
    // Ends at once: no runtime end, no file close.
    std::abort();
}

}  // namespace rt
