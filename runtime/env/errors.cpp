// Result-code names and display texts and the error detail.
#include "runtime/env/errors.h"

#include "runtime/env/catalog.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/slot_table.h"
#include "runtime/text/text_build.h"
#include "runtime/text/text_lists.h"

namespace rt {
namespace {

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
constexpr ErrCode kFirstNamed = kErrCancelled;
constexpr ErrCode kLastNamed = kErrGraphicsSupport;
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
    if (code <= kStatusLast) return MsgText("0008");
    if (code == kErrDetailMessage || code == kErrBadData) {
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
        StrDesc old = DetailKept(SlotGet(kRunTextsGroup, kSlotErrDetail));
        if (old.len != 0) {
            StrDesc joined = StrConcat(StrConcat(old, S("\r\n")), text);
            if (!joined.IsError()) detail = joined;
        }
    }
    SlotSet(kRunTextsGroup, kSlotErrDetail, detail);
    DynRelease(m);
    return code;
}

StrDesc ErrDetail() { return SlotGet(kRunTextsGroup, kSlotErrDetail); }

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
    if (code < kErrSerious) return DynKeep(m, base);
    StrDesc text = StrConcat(MsgText("0009"), base);
    std::uint16_t area = static_cast<std::uint16_t>(ErrNoted() >> 16);
    if (area != 0) text = StrConcat(text, StrConcat(StrConcat(S("("), ErrAreaName(area)), S(")")));
    StrDesc detail = ErrDetail();
    if (detail.len != 0) text = StrConcat(text, StrConcat(S(": "), detail));
    return DynKeep(m, text);
}

}  // namespace rt
