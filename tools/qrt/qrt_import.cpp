// Runs the standard or external import for qrt: the data file chosen by name, the column map taken
// from --map (and remembered as the desktop would) or from config.txt, both passes in batch form.
#include "tools/qrt/qrt_import.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "platform/cp1252.h"
#include "platform/process.h"
#include "runtime/data/file_table.h"
#include "runtime/env/errors.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/str_bridge.h"
#include "runtime/trans/import_commands.h"
#include "runtime/trans/import_config.h"
#include "runtime/trans/import_run.h"
#include "runtime/trans/import_text.h"
#include "tools/qrt/qrt_output.h"

namespace rt::qrt {
namespace {

constexpr std::uint64_t kRedrawMs = 100;  // the progress line is redrawn at most ten times a second
constexpr StrDesc kDefaultTable = S("contactos");

struct ProgressLine {
    std::uint64_t records = 0;
    std::uint64_t lastDraw = 0;
    bool drawn = false;
};

ErrCode DrawProgress(void* context, StrDesc, std::uint32_t) {
    ProgressLine* p = static_cast<ProgressLine*>(context);
    ++p->records;
    std::uint64_t now = PlatformTickMs();
    if (p->drawn && now - p->lastDraw < kRedrawMs) return 0;
    p->lastDraw = now;
    p->drawn = true;
    std::fprintf(stderr, "\r%llu", static_cast<unsigned long long>(p->records));
    std::fflush(stderr);
    return 0;
}

void PrintError(const std::string& line) {
    std::string out = OneLine(line);
    std::fwrite(out.data(), 1, out.size(), stderr);
    std::fputc('\n', stderr);
}

int Fail(ErrCode e, const std::string& what) {
    PrintError("error " + std::to_string(e) + ": " + what);
    return 1;
}

// The data file to import into: NAME, else contactos, else the only registered file; 0 when none.
std::uint8_t ChooseFile(const std::string& table, std::string* problem) {
    DynScope scope;
    if (!table.empty()) {
        std::string name = Utf8ToCp1252(table);
        std::uint8_t n = name.size() <= 0xFFFF && !name.empty() && static_cast<unsigned char>(name[0]) > '@'
                             ? FileByName(StrViewStd(name))
                             : 0;
        if (n == 0 || n > FileCount()) *problem = "no data file is named " + table;
        return n <= FileCount() ? n : 0;
    }
    std::uint8_t n = FileByName(kDefaultTable);
    if (n != 0 && n <= FileCount()) return n;
    if (FileCount() == 1) return 1;
    *problem = FileCount() == 0 ? std::string("no data file is registered")
                                : std::string("no data file is named contactos; choose one with --table NAME");
    return 0;
}

}  // namespace

std::vector<const char*> QrtImportTakeArgs(int argc, const char* const* argv, QrtImportArgs* out) {
    std::vector<const char*> rest;
    for (int i = 0; i < argc; ++i) {
        const char* arg = argv[i] ? argv[i] : "";
        if (i > 0 && std::strcmp(arg, "--import") == 0) {
            if (i + 2 >= argc) {
                out->misused = true;
                break;
            }
            out->given = true;
            out->kind = argv[++i];
            out->file = argv[++i];
            if (out->kind != "standard" && out->kind != "external") out->misused = true;
        } else if (out->given && (std::strcmp(arg, "--table") == 0 || std::strcmp(arg, "--map") == 0)) {
            if (i + 1 >= argc) {
                out->misused = true;
                break;
            }
            bool map = arg[2] == 'm';
            (map ? out->map : out->table) = argv[++i];
            out->hasMap |= map;
        } else {
            rest.push_back(arg);
        }
    }
    if (out->hasMap && out->kind != "external") out->misused = true;
    return rest;
}

int QrtImport(const QrtImportArgs& args) {
    ErrSetText(0, StrEmpty());
    ErrClear();
    std::string problem;
    std::uint8_t file = ChooseFile(args.table, &problem);
    if (file == 0) return Fail(kErrData, problem);
    FileSelect(file);
    std::string path = Utf8ToCp1252(args.file);
    if (path.size() > 0xFFFF) return Fail(kErrStringTooLong, "the file name is too long");

    ProgressLine progress;
    TransHooks hooks;
    if (::isatty(2)) {
        hooks.progress = DrawProgress;
        hooks.context = &progress;
    }
    ErrCode e;
    if (args.kind == "standard") {
        e = ImportRunBatch(StrViewStd(path), ImportStandardParms(file), hooks);
    } else {
        ImportSource source;
        e = ImportSourceOpen(StrViewStd(path), &source);
        if (e != 0) return Fail(e, "cannot read " + args.file);
        std::string header = Cp1252ToUtf8(source.header), map;
        if (args.hasMap) {
            std::string unknown;
            map = ImportMapInHeaderOrder(source.header, Utf8ToCp1252(args.map), &unknown);
            if (!unknown.empty()) problem = "the column " + Cp1252ToUtf8(unknown) + " is not in the header " + header;
            for (const ImportMapItem& m : ImportMapItems(map)) {
                DynScope scope;
                if (problem.empty() && FieldByName(file, StrViewStd(m.field)) == 0xFFFF)
                    problem = "the data file has no field " + Cp1252ToUtf8(m.field);
            }
            if (problem.empty() && map.empty()) problem = "the map assigns no column";
        } else if (!ImportConfigFind(kImportConfigFile, source.header, &map) || map.empty()) {
            problem = "no --map given and config.txt holds no map for the header " + header;
        }
        if (!problem.empty()) {
            ImportSourceClose(&source);
            return Fail(kErrData, problem);
        }
        e = ImportExternalWithMap(&source, map, hooks, false);
        ImportSourceClose(&source);
    }
    if (progress.drawn) std::fputs("\r\x1b[K", stderr);
    DynScope scope;
    if (e == kErrDetailMessage) {
        PrintError(Cp1252ToUtf8(StrToStd(ErrDetail())));
        return 0;
    }
    return Fail(e, Cp1252ToUtf8(StrToStd(ErrText(e))));
}

}  // namespace rt::qrt
