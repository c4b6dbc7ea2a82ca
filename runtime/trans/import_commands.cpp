// Keeps the import commands: choosing the source, matching a foreign header to the data file's fields
// (the stored map, the column dialog, the confirmation) and handing both to the two-pass run.
#include "runtime/trans/import_commands.h"

#include <vector>

#include "runtime/data/file_table.h"
#include "runtime/env/catalog.h"
#include "runtime/env/streams.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/str_bridge.h"
#include "runtime/trans/import_config.h"
#include "runtime/trans/import_run.h"
#include "runtime/trans/import_text.h"
#include "runtime/ui/file_select.h"
#include "runtime/ui/message_box.h"
#include "runtime/ui/select_list.h"

namespace rt {
namespace {

constexpr std::uint16_t kSourceKind = 0;  // FileSelectKind: any file
constexpr std::uint16_t kNoChoice = 0xFFFF;
constexpr StrDesc kStoredMapQuestion = S("Se ha encontrado una estructura valida. \xBFQuiere visualizarla?");
constexpr StrDesc kUnassign = S("UnAssign");

// An item of a list shown by SelectList, quoted when it holds a comma.
std::string ListItem(const std::string& text) {
    if (text.find(',') == std::string::npos) return text;
    return "\"" + text + "\"";
}

// The working list as the "Origen" window shows it: column -> field.
std::string ShownList(const std::vector<ImportMapItem>& working) {
    std::string out;
    for (std::size_t i = 0; i < working.size(); ++i) {
        if (i) out.push_back(',');
        const ImportMapItem& w = working[i];
        out += ListItem(w.field.empty() ? w.column : w.column + " -> " + w.field);
    }
    return out;
}

// The source path chosen in the open dialog; empty when none.
std::string AskSource() {
    DynScope scope;
    return StrToStd(FileSelectKind(false, kSourceKind));
}

}  // namespace

std::string MapDialog(const std::string& header, StrDesc fieldNames, const std::string& storedMap) {
    std::vector<ImportMapItem> working = ImportWorkingList(header, storedMap);
    std::vector<std::string> fields = ImportItems(StrToStd(fieldNames), ',');
    std::string destino = StrToStd(fieldNames);
    destino += destino.empty() ? "" : ",";
    destino += StrToStd(kUnassign);
    for (;;) {
        std::string shown = ShownList(working);
        if (shown.size() > 0xFFFF) break;
        std::uint16_t column = SelectList(S("Origen"), StrViewStd(shown), kSelectOwnWindow | kSelectListBox);
        if (column == 0 || column == kNoChoice || column > working.size()) break;
        std::uint16_t field =
            SelectList(S("Destino"), StrViewStd(destino), kSelectOwnWindow | kSelectListBox | kSelectNextToFocus);
        if (field == 0 || field == kNoChoice) continue;
        std::size_t i = column - 1u;
        working[i].field = field <= fields.size() ? ImportUnquote(fields[field - 1u]) : std::string();
    }
    return ImportWorkingMap(working);
}

ErrCode ImportExternalWithMap(ImportSource* source, const std::string& map, const TransHooks& hooks, bool show) {
    if (ErrCode e = ImportConfigRemember(kImportConfigFile, source->header, map)) return e;
    std::string work;
    if (ErrCode e = ImportWriteWorkFile(source, &work)) return e;
    std::string parms = ImportExternalParms(FileResolve(kCurrentFile), source->header, map);
    ErrCode e;
    {
        DynScope scope;
        e = show ? ImportRun(StrViewStd(work), parms) : ImportRunBatch(StrViewStd(work), parms, hooks);
        FileDelete(StrViewStd(work));
    }
    return e;
}

ErrCode ImportStandard() {
    std::string source = AskSource();
    if (source.empty()) return 0;
    std::uint8_t file = FileResolve(kCurrentFile);
    DynScope scope;
    return ImportRun(StrViewStd(source), ImportStandardParms(file));
}

ErrCode ImportExternal() {
    std::uint8_t file = FileResolve(kCurrentFile);
    std::string path = AskSource();
    if (path.empty()) return 0;
    ImportSource source;
    ErrCode e;
    {
        DynScope scope;
        e = ImportSourceOpen(StrViewStd(path), &source);
    }
    if (e != 0) return e;
    FileSelect(file);
    std::string stored;
    bool found = ImportConfigFind(kImportConfigFile, source.header, &stored);
    std::string map = stored;
    {
        DynScope scope;
        if (!found || MsgAsk(kStoredMapQuestion)) map = MapDialog(source.header, FieldNameList(file, false), stored);
    }
    bool confirmed = false;
    if (!map.empty()) {
        DynScope scope;
        confirmed = MsgAsk(MsgText("0051"));
    }
    e = confirmed ? ImportExternalWithMap(&source, map, TransHooks{}, true) : 0;
    ImportSourceClose(&source);
    return e;
}

}  // namespace rt
