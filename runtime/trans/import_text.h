// The external import's texts: the items of a header or data line (a value starting with '"' is
// quoted, "" inside it is one quote, an apostrophe is an ordinary byte), the ';' to ',' rewrite of
// semicolon-separated files, column maps and the field specs built from a header and a map.
#pragma once
#include <string>
#include <vector>

namespace rt {

// The values of a delimited line as they stand (quotes kept), cut at each separator outside quotes.
std::vector<std::string> ImportItems(const std::string& line, char separator);
// A value without its quotes ("" inside a quoted value is one quote); a plain value as it is.
std::string ImportUnquote(const std::string& item);
// The items joined with ','; an item holding a ',' that is not quoted is quoted, its quotes doubled.
std::string ImportJoinCsv(const std::vector<std::string>& items);
// True when the line has more ';'-separated items than ','-separated ones.
bool ImportIsSemicolonLine(const std::string& line);
// A ';'-separated line as a ','-separated one holding the same values.
std::string ImportCommaLine(const std::string& line);

// One item of a column map: a header column's name (unquoted) and the field it fills.
struct ImportMapItem {
    std::string column;
    std::string field;
};
// The items of a column map "column=field,..." (an item without '=' is skipped). The field is what
// follows the last '=' so that a column name may hold one; a column holding a ',' is quoted as in
// the header, so that it stays one item.
std::vector<ImportMapItem> ImportMapItems(const std::string& map);
std::string ImportMapText(const std::vector<ImportMapItem>& items);
// The map's items in the header's column order (a later item for the same column wins over an earlier
// one); *unknown receives the first column the header does not have, empty when every one is there.
std::string ImportMapInHeaderOrder(const std::string& header, const std::string& map, std::string* unknown);

// The field specs of the transfer: one conversion per header column, in column order; a column the
// map assigns to field F appends its trimmed value to F (after one blank when F holds something), any
// other column imports nothing. The map's items must follow the header's column order.
std::string ImportFieldSpecs(const std::string& header, const std::string& map);

// The working list of the column dialog: one item per header column (unquoted), with the field the
// stored map gives it, or none.
std::vector<ImportMapItem> ImportWorkingList(const std::string& header, const std::string& storedMap);
// The map of the working list's assigned items, in column order.
std::string ImportWorkingMap(const std::vector<ImportMapItem>& working);

}  // namespace rt
