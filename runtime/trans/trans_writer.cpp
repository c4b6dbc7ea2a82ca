// Builds export lines from the current record: delimited values (text fields quoted, quotes inside
// doubled, numeric zeros empty), readable columns under a two-line header, or fixed-width images.
#include "runtime/trans/trans_writer.h"

#include "runtime/data/fields.h"
#include "runtime/data/file_table.h"
#include "runtime/data/record_buffer.h"
#include "runtime/expr/evaluator.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/str_bridge.h"
#include "runtime/text/text_clean.h"
#include "runtime/text/text_lists.h"
#include "runtime/trans/trans_delim.h"
#include "runtime/vars/fixed_number.h"
#include "runtime/vars/masks.h"
#include "runtime/vars/var_arena_number.h"

namespace rt {
namespace {

constexpr unsigned char kSqlQuote = '\'';

StrDesc View(const std::string& s) { return StrDesc{s.data(), static_cast<std::uint16_t>(s.size())}; }

StrDesc TrimSpaces(StrDesc text) {
    std::uint16_t begin = 0, end = text.len;
    while (begin < end && text.ptr[begin] == ' ') ++begin;
    while (end > begin && text.ptr[end - 1] == ' ') --end;
    return StrDesc{text.ptr + begin, static_cast<std::uint16_t>(end - begin)};
}

// A stored number that reads as zero ("0", "0.00", "-.0"); blanks were trimmed already.
bool ReadsAsZero(StrDesc value) {
    for (std::uint16_t i = 0; i < value.len; ++i) {
        char c = value.ptr[i];
        if (c != '0' && c != '.' && c != '-' && c != '+') return false;
    }
    return true;
}

// Types '1' to '8' show their decimal point and decimals beyond their width.
std::uint16_t ColumnWidthOf(char type, std::uint16_t width) {
    if (type >= '1' && type <= '8') return static_cast<std::uint16_t>(width + (type - '0') + 1);
    return width;
}

// The value of an expression column as a text (a number in its canonical text); *text tells its kind.
ErrCode ItemValue(const TransColumn& c, StrDesc* value, bool* text) {
    ErrCode r = ExpEval(View(c.item));
    if (r == kExpText) {
        *value = DynTop();
        *text = true;
        return 0;
    }
    if (r == kExpNumber) {
        *value = NumText(VarNumFromEntry(DynTop()));
        *text = false;
        return 0;
    }
    return r;
}

// The stored text of a field column or the value of an expression column (the header's titles).
ErrCode ColumnValue(const TransColumn& c, StrDesc* value) {
    if (c.field) {
        *value = FieldRaw(c.file, c.number, kRecCurrent);
        return value->IsError() ? value->len : 0;
    }
    bool text = false;
    return ItemValue(c, value, &text);
}

void AppendFitted(StrDesc text, std::uint16_t width, char fill, std::string* out) {
    std::uint16_t n = text.len < width ? text.len : width;
    out->append(text.ptr, n);
    out->append(width - n, fill);
}

}  // namespace

bool TransIsTextType(char type) {
    return type == 'A' || type == 'B' || type == 'C' || type == 'D' || type == 'F';
}

ErrCode TransWriteLayoutBuild(std::uint8_t file, TransMode mode, StrDesc structList, StrDesc delimiter,
                              std::uint16_t capacity, TransWriteLayout* layout) {
    layout->file = file;
    layout->mode = mode;
    layout->delimiter = StrToStd(delimiter);
    layout->capacity = capacity;
    layout->columns.clear();
    DynScope scope;
    if (structList.IsError() || structList.len == 0) {
        std::uint16_t count = FieldCount(file);
        for (std::uint16_t i = 1; i <= count; ++i) {
            FieldDesc f = FieldInfo(file, i);
            TransColumn c;
            c.item = StrToStd(FieldName(file, i));
            c.field = true;
            c.file = file;
            c.number = i;
            c.offset = f.offset;
            c.width = f.width;
            c.type = f.type;
            c.columnWidth = ColumnWidthOf(f.type, f.width);
            layout->columns.push_back(std::move(c));
        }
        return 0;
    }
    ItemCursor items(structList, ',');
    StrDesc item;
    while (items.Next(&item)) {
        TransColumn c;
        StrDesc trimmed = Trim(item, kTrimBoth);
        c.item = StrToStd(trimmed);
        c.fromStruct = true;
        FieldDesc f = FieldRef(trimmed);
        if (f.status == 0 && f.field != 0) {
            c.field = true;
            c.file = f.file;
            c.number = f.field;
            c.offset = f.offset;
            c.width = f.width;
            c.type = f.type;
        }
        layout->columns.push_back(std::move(c));
    }
    return 0;
}

ErrCode TransHeader(TransWriteLayout* layout, StrDesc header, std::string* out) {
    bool readable = (layout->mode & kTransHumanRead) != 0;
    if (readable) {
        // Titles: a field taken for an empty STRUCT$ is titled by its name in its display width; an
        // item of STRUCT$ by its value where the run starts, as wide as that value.
        std::string titles, rule;
        for (std::size_t i = 0; i < layout->columns.size(); ++i) {
            TransColumn& c = layout->columns[i];
            DynScope scope;
            StrDesc title = View(c.item);
            if (c.fromStruct) {
                if (ErrCode e = ColumnValue(c, &title)) return e;
                c.columnWidth = title.len;
            }
            if (i != 0) {
                titles += ' ';
                rule += ' ';
            }
            AppendFitted(title, c.columnWidth, ' ', &titles);
            rule.append(c.columnWidth, '=');
        }
        if (header.IsError() || header.len == 0) {
            *out += titles + "\r\n" + rule + "\r\n";
            if (layout->mode & kTransStream) *out += "\r\n";
            return 0;
        }
    }
    if (header.IsError() || header.len == 0) return 0;
    out->append(header.ptr, header.len);
    if (layout->mode & kTransStream) *out += "\r\n";
    return 0;
}

ErrCode TransExportLine(const TransWriteLayout& layout, std::string* out) {
    std::size_t start = out->size();
    TransMode mode = layout.mode;
    bool sql = (mode & kTransIsSql) != 0;
    bool delimited = (mode & kTransDelimited) || (sql && (mode & kTransStream));
    bool readable = !delimited && (mode & kTransHumanRead);
    for (std::size_t i = 0; i < layout.columns.size(); ++i) {
        const TransColumn& c = layout.columns[i];
        DynScope scope;
        if (i != 0) {
            if (delimited) *out += layout.delimiter;
            else if (readable) *out += ' ';
        }
        StrDesc value;
        bool text = true;
        if (c.field) {
            value = FieldRaw(c.file, c.number, kRecCurrent);
            if (value.IsError()) return value.len;
            text = TransIsTextType(c.type);
        } else if (ErrCode e = ItemValue(c, &value, &text)) {
            return e;
        }
        if (delimited) {
            value = TrimSpaces(value);
            if (text || sql) {
                DelimAppendQuoted(value, sql ? kSqlQuote : kDelimQuote, out);
            } else if (!ReadsAsZero(value)) {
                out->append(value.ptr, value.len);
            }
        } else if (readable && c.field && c.type >= '1' && c.type <= '8') {
            // Decimals stand right-aligned in the wider column.
            StrDesc shown = FieldToStore(c.type, value, c.columnWidth);
            if (shown.IsError()) return shown.len;
            out->append(shown.ptr, shown.len);
        } else {
            out->append(value.ptr, value.len);
        }
        if (out->size() - start > layout.capacity) {
            out->resize(start);
            return kErrStringTooLong;
        }
    }
    return 0;
}

}  // namespace rt
