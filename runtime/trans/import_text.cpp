// The external import's header and line texts, column maps and field specs. Values follow the CSV
// rule of the delimited reader, so a header is cut exactly as its data lines will be.
#include "runtime/trans/import_text.h"

#include <cstddef>

namespace rt {
namespace {

constexpr char kQuote = '"';

// The end of the value starting at `at` (the separator's position or the line's end).
std::size_t ValueEnd(const std::string& line, std::size_t at, char separator) {
    std::size_t n = line.size();
    if (at < n && line[at] == kQuote) {
        ++at;
        while (at < n) {
            if (line[at] == kQuote) {
                if (at + 1 < n && line[at + 1] == kQuote) {
                    at += 2;
                    continue;
                }
                ++at;
                break;
            }
            ++at;
        }
    }
    while (at < n && line[at] != separator) ++at;
    return at;
}

}  // namespace

std::vector<std::string> ImportItems(const std::string& line, char separator) {
    std::vector<std::string> items;
    std::size_t at = 0;
    for (;;) {
        std::size_t end = ValueEnd(line, at, separator);
        items.push_back(line.substr(at, end - at));
        if (end >= line.size()) break;
        at = end + 1;
    }
    return items;
}

std::string ImportUnquote(const std::string& item) {
    if (item.empty() || item[0] != kQuote) return item;
    std::string out;
    std::size_t at = 1, n = item.size();
    while (at < n) {
        if (item[at] == kQuote) {
            if (at + 1 < n && item[at + 1] == kQuote) {
                out.push_back(kQuote);
                at += 2;
                continue;
            }
            ++at;
            break;
        }
        out.push_back(item[at++]);
    }
    out.append(item, at, std::string::npos);  // bytes after the closing quote stay as they are
    return out;
}

std::string ImportJoinCsv(const std::vector<std::string>& items) {
    std::string out;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i) out.push_back(',');
        const std::string& v = items[i];
        // A value with a comma outside its quotes would become two values once the separator is
        // ','; it is written quoted whole, holding the same value.
        if (ValueEnd(v, 0, ',') != v.size()) {
            out.push_back(kQuote);
            for (char c : ImportUnquote(v)) {
                if (c == kQuote) out.push_back(kQuote);
                out.push_back(c);
            }
            out.push_back(kQuote);
        } else {
            out += v;
        }
    }
    return out;
}

bool ImportIsSemicolonLine(const std::string& line) {
    return ImportItems(line, ',').size() < ImportItems(line, ';').size();
}

std::string ImportCommaLine(const std::string& line) { return ImportJoinCsv(ImportItems(line, ';')); }

std::vector<ImportMapItem> ImportMapItems(const std::string& map) {
    std::vector<ImportMapItem> items;
    if (map.empty()) return items;
    for (const std::string& raw : ImportItems(map, ',')) {
        std::size_t eq = raw.rfind('=');
        if (eq == std::string::npos) continue;
        items.push_back({ImportUnquote(raw.substr(0, eq)), raw.substr(eq + 1)});
    }
    return items;
}

std::string ImportMapText(const std::vector<ImportMapItem>& items) {
    std::string out;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i) out.push_back(',');
        // A column with a ',' (or a leading quote) is quoted, or the map would cut it in two.
        const std::string& c = items[i].column;
        if (c.find(',') != std::string::npos || (!c.empty() && c[0] == kQuote)) {
            out.push_back(kQuote);
            for (char ch : c) {
                if (ch == kQuote) out.push_back(kQuote);
                out.push_back(ch);
            }
            out.push_back(kQuote);
        } else {
            out += c;
        }
        out += "=" + items[i].field;
    }
    return out;
}

std::string ImportMapInHeaderOrder(const std::string& header, const std::string& map, std::string* unknown) {
    unknown->clear();
    std::vector<std::string> columns;
    for (const std::string& raw : ImportItems(header, ',')) columns.push_back(ImportUnquote(raw));
    std::vector<ImportMapItem> given = ImportMapItems(map);
    std::vector<ImportMapItem> ordered;
    for (const ImportMapItem& m : given) {
        bool found = false;
        for (const std::string& c : columns) found |= c == m.column;
        if (!found && unknown->empty()) *unknown = m.column;
    }
    for (const std::string& c : columns) {
        const ImportMapItem* last = nullptr;
        for (const ImportMapItem& m : given) {
            if (m.column == c) last = &m;
        }
        if (last != nullptr) ordered.push_back(*last);
    }
    return ImportMapText(ordered);
}

std::string ImportFieldSpecs(const std::string& header, const std::string& map) {
    std::vector<std::string> columns = ImportItems(header, ',');
    std::vector<ImportMapItem> items = ImportMapItems(map);
    std::string specs;
    std::size_t e = 0;
    for (std::size_t i = 0; i < columns.size() && e < items.size(); ++i) {
        if (ImportUnquote(columns[i]) == items[e].column) {
            const std::string& f = items[e].field;
            specs += "_fld$=FN$TRIM(" + f + "{});" + f + "{}=_fld$+CHK$(_fld$>'';' ';'')+_$()";
            ++e;
        } else {
            specs += "_fld$=''";
        }
        if (i + 1 < columns.size() && e < items.size()) specs.push_back(',');
    }
    return specs;
}

std::vector<ImportMapItem> ImportWorkingList(const std::string& header, const std::string& storedMap) {
    std::vector<ImportMapItem> working;
    for (const std::string& raw : ImportItems(header, ',')) working.push_back({ImportUnquote(raw), ""});
    for (const ImportMapItem& m : ImportMapItems(storedMap)) {
        for (ImportMapItem& item : working) {
            if (item.field.empty() && item.column == m.column) {
                item.field = m.field;
                break;
            }
        }
    }
    return working;
}

std::string ImportWorkingMap(const std::vector<ImportMapItem>& working) {
    std::vector<ImportMapItem> assigned;
    for (const ImportMapItem& item : working)
        if (!item.field.empty()) assigned.push_back(item);
    return ImportMapText(assigned);
}

}  // namespace rt
