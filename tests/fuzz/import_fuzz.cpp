// Fuzz target of the external import's header handling and column maps: an input is a header line,
// a column map, a data line and, after them, the contents of config.txt. The header is rewritten
// with ',' when it is ';'-separated, the column dialog's working list is built from it and the map,
// the field specs built from the header and the map in header order are read by the transfer's
// reader over the data line, and the map is looked up and remembered in config.txt.
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/data/file_open.h"
#include "runtime/data/file_table.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/trans/import_config.h"
#include "runtime/trans/import_text.h"
#include "runtime/trans/trans_reader.h"
#include "tests/fuzz/support/fuzz_runtime.h"

namespace {

using namespace rt;

std::uint8_t FuzzFile() {
    // The reset after an input may take the file table back to what start-up left.
    std::uint8_t file = FileByName(S("fuzzimp"));
    if (file != 0) return file;
    if (FileRegister(0, S("fuzzimp"), StrEmpty()) != 0) return 0;
    FieldAdd(S("NOMBRE"), 20, 'A');
    FieldAdd(S("TELEFONO"), 12, 'A');
    FieldAdd(S("IMPORTE"), 9, '2');
    return FileCount();
}

std::vector<std::string> Values(const std::string& line, char separator) {
    std::vector<std::string> values;
    for (const std::string& item : ImportItems(line, separator)) values.push_back(ImportUnquote(item));
    return values;
}

std::string Line(std::string_view part) {
    std::string line(part.substr(0, 4096));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input;
    auto parts = fuzz::SplitInput(data, size, "\n", 4);
    std::string raw = Line(parts[0]);
    std::string map = parts.size() > 1 ? Line(parts[1]) : "";
    std::string record = parts.size() > 2 ? Line(parts[2]) : "";
    fuzz::ScratchWrite("config.txt", parts.size() > 3 ? parts[3] : std::string_view());

    // Separator detection: a ';' header rewritten with ',' holds the same values.
    std::string header = raw;
    if (ImportIsSemicolonLine(raw)) {
        header = ImportCommaLine(raw);
        fuzz::FuzzCheck(Values(header, ',') == Values(raw, ';'), "the ',' rewrite keeps every value whole");
    }
    const std::vector<std::string> columns = ImportItems(header, ',');

    // The working list has one item per column, and the map it gives names known columns only and
    // shows again as it was when it is the stored one.
    std::vector<ImportMapItem> working = ImportWorkingList(header, map);
    fuzz::FuzzCheck(working.size() == columns.size(), "the working list has one item per column");
    std::string unknown;
    std::string chosen = ImportMapInHeaderOrder(header, ImportWorkingMap(working), &unknown);
    fuzz::FuzzCheck(unknown.empty(), "the working list's map names only the header's columns");
    fuzz::FuzzCheck(ImportWorkingMap(ImportWorkingList(header, chosen)) == chosen, "a stored map shows as it was");
    // Every column assigned: the map holds one item per column.
    std::vector<ImportMapItem> all = working;
    for (ImportMapItem& item : all) item.field = "NOMBRE";
    fuzz::FuzzCheck(ImportMapItems(ImportWorkingMap(all)).size() == columns.size(),
                    "a map of every column holds one item per column");

    // The given map in header order; its field specs read the data line without harm.
    std::string ordered = ImportMapInHeaderOrder(header, map, &unknown);
    std::string specs = ImportFieldSpecs(header, ordered);
    std::uint8_t file = FuzzFile();
    if (file != 0 && FileOpen(file, 2) == 0) {
        FileSelect(file);
        DynScope scope;
        TransReadLayout reader;
        TransMode mode = kTransImport | kTransExternFile | kTransStream | kTransDelimited;
        if (specs.size() <= 0xFFFF &&
            TransReadLayoutBuild(file, mode, fuzz::View(specs), ',', 0, &reader) == 0)
            TransReadRecord(reader, fuzz::View(record));
        FileClose(file);
    }

    // config.txt: a remembered map is found again, and remembering it twice changes nothing.
    if (!header.empty() && !chosen.empty() && header.find('\r') == std::string::npos &&
        chosen.find('\r') == std::string::npos) {
        std::string found;
        ImportConfigFind(kImportConfigFile, header, &found);
        if (ImportConfigRemember(kImportConfigFile, header, chosen) == 0) {
            fuzz::FuzzCheck(ImportConfigFind(kImportConfigFile, header, &found) && found == chosen,
                            "a remembered map is found for its header");
            fuzz::FuzzCheck(ImportConfigRemember(kImportConfigFile, header, chosen) == 0 &&
                                ImportConfigFind(kImportConfigFile, header, &found) && found == chosen,
                            "remembering the same map again keeps it");
        }
    }
    return 0;
}
