// Schema discovery: tables, columns and indexes of schema public registered as data files.
#include "runtime/sql/sql_schema.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "runtime/data/fields.h"
#include "runtime/data/file_table.h"
#include "runtime/data/keys.h"
#include "runtime/expr/evaluator.h"
#include "runtime/sql/sql_control.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/str_bridge.h"
#include "runtime/text/text_build.h"
#include "runtime/text/text_clean.h"
#include "runtime/text/text_lists.h"
#include "runtime/vars/var_system.h"

namespace rt {

namespace {

constexpr const char* kTablesQuery = "SELECT * FROM information_schema.tables WHERE table_schema='public';";
// Only schema public: a same-named table elsewhere must not add its columns or indexes.
constexpr const char* kColumnsQuery =
    "SELECT * FROM information_schema.columns WHERE TABLE_NAME='%s' AND table_schema='public' "
    "ORDER BY ordinal_position;";
// The primary key comes first, so that key 1 (the key every write finds its row by) is always it;
// the other indexes follow in the order they were created.
constexpr const char* kIndexQuery =
    "SELECT indkey FROM pg_class, pg_index WHERE pg_class.oid = pg_index.indexrelid AND pg_class.oid IN "
    "(SELECT indexrelid FROM pg_index, pg_class WHERE pg_class.relname='%s' AND "
    "pg_class.relnamespace='public'::regnamespace AND pg_class.oid=pg_index.indrelid) "
    "ORDER BY pg_index.indisprimary DESC, pg_class.oid;";

constexpr StrDesc kTypeList =
    S("character,date,smallint,integer,bigint,decimal,numeric,real,double precision,serial,bigserial");
constexpr std::uint16_t kTypeDate = 2;
constexpr std::uint16_t kTypeFirstNumber = 3;
constexpr std::uint16_t kDateWidth = 8;
constexpr StrDesc kDateNames = S("FECHA,DATE,FEC");
constexpr unsigned char kFirstAccented = 0xC0;  // the first letter of Windows-1252 beyond ASCII
constexpr unsigned char kTimes = 0xD7, kDivide = 0xF7;  // the two signs among those letters

// NOT NULL columns, by file and field, with the field's name so that a later registration under the
// same numbers never inherits them.
struct NotNullEntry {
    std::uint8_t file;
    std::uint16_t field;
    std::string name;
};
std::vector<NotNullEntry> g_notNull;

std::int32_t Number(StrDesc text) { return std::atoi(StrToStd(text).c_str()); }

// The statement text with the table name in place as the text of a '…' literal (each ' doubled).
StrDesc Query(const char* format, StrDesc table) {
    std::string name;
    for (char c : StrToStd(table)) {
        name += c;
        if (c == '\'') name += '\'';
    }
    return Format(0xFFFF, format, StrToC(StrFromStd(name)));
}

// Whether a table name can name a variable as it stands: a letter or '_' first, then letters, digits
// and '_' (bytes from 0xC0 are the accented letters). Any other name would be read as more than a
// name by the assignment that registers it.
bool PlainName(StrDesc name) {
    if (name.IsError() || name.len == 0) return false;
    for (std::uint16_t i = 0; i < name.len; ++i) {
        unsigned char c = name.bytes()[i];
        bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' ||
                      (c >= kFirstAccented && c != kTimes && c != kDivide);
        if (!letter && !(i > 0 && c >= '0' && c <= '9')) return false;
    }
    return true;
}

ErrCode ColumnField(std::uint16_t row, std::uint16_t slot) {
    DynScope scope;
    StrDesc name = StrCopy(SqlValue(row, SqlColumn(slot, "column_name"), slot));
    StrDesc type = SqlValue(row, SqlColumn(slot, "data_type"), slot);
    ColumnShape shape = ColumnMapping(name, type, Number(SqlValue(row, SqlColumn(slot, "numeric_precision"), slot)),
                                      Number(SqlValue(row, SqlColumn(slot, "numeric_scale"), slot)),
                                      Number(SqlValue(row, SqlColumn(slot, "character_maximum_length"), slot)));
    bool notNull = StrEq(SqlValue(row, SqlColumn(slot, "is_nullable"), slot), S("NO"));
    ErrCode e = FieldAdd(name, shape.width, shape.type);
    if (e == 0 && notNull) {
        std::uint8_t file = FileCount();
        g_notNull.push_back({file, FieldCount(file), StrToStd(name)});
    }
    return e;
}

}  // namespace

ColumnShape ColumnMapping(StrDesc name, StrDesc dataType, std::int32_t precision, std::int32_t scale,
                          std::int32_t maxLength) {
    std::uint16_t item = ItemIndex(kTypeList, dataType, ',');
    ColumnShape shape;
    if (item == kTypeDate) {
        shape.width = kDateWidth;
        shape.type = 'D';
    } else if (item >= kTypeFirstNumber) {
        shape.width = static_cast<std::uint16_t>(precision);
        shape.type = scale == 0 ? 'N' : static_cast<char>('0' + scale);
    } else {
        // character (item 1) and every type outside the list are texts
        shape.width = static_cast<std::uint16_t>(maxLength);
        StrDesc stem = Item(name, '.', 1);
        shape.type = ItemIndex(kDateNames, stem, ',') != 0 ? 'D' : 'A';
    }
    return shape;
}

bool SqlFieldNotNull(std::uint8_t file, std::uint16_t field) {
    for (const NotNullEntry& e : g_notNull) {
        if (e.file != file || e.field != field) continue;
        StrDesc name = FieldName(file, field);
        return !name.IsError() && StrToStd(name) == e.name;
    }
    return false;
}

ErrCode SchemaLoad(std::uint8_t flags) {
    std::int16_t savedSlot = SysVar(kSysSqlStk);
    DynScope scope;
    std::uint16_t count = 0;
    ErrCode r = SqlExec(StrFromC(kTablesQuery), kSqlCurrent, &count);
    if (r == kStatusNoRecord) return 0;  // an empty schema: nothing to register
    if (r != 0) return kErrPermissionDenied;
    std::uint16_t slot = SqlSlot(kSqlCurrent);
    std::uint16_t nameColumn = SqlColumn(slot, "table_name");
    SysBitsSet(kSysAuxStat, static_cast<std::uint16_t>(SysBits(kSysAuxStat) | kAuxNamesKeepCase));
    g_notNull.clear();
    for (std::uint16_t i = 0; r == 0 && i < count && i < kSchemaMaxTables; ++i) {
        DynScope table;
        StrDesc name = StrCopy(SqlValue(i, nameColumn, slot));
        r = FileRegister(0, name, StrEmpty());
        if (r != 0 || !(flags & kSchemaColumns)) continue;
        r = ColumnsLoad(name);
        if (r == 0) r = KeysLoad(name);
        // The file-number variable is a convenience of expressions: a table whose name cannot name a
        // variable is registered all the same.
        if (r == 0 && PlainName(name)) {
            DynScope assign;
            ExpEval(Format(0xFFFF, "%s=%u", StrToC(name), unsigned(FileCount())));
        }
    }
    SqlClear(slot);
    SysVarSet(kSysSqlStk, savedSlot);
    return r;
}

ErrCode ColumnsLoad(StrDesc table) {
    DynScope scope;
    std::uint16_t slot = SqlResultSlot();
    std::uint16_t rows = 0;
    ErrCode r = SqlExec(Query(kColumnsQuery, table), slot, &rows);
    if (r != 0) return r;
    for (std::uint16_t row = 0; r == 0 && row < rows; ++row) r = ColumnField(row, slot);
    SqlClear(slot);
    return r;
}

ErrCode KeysLoad(StrDesc table) {
    DynScope scope;
    std::uint16_t slot = SqlResultSlot();
    std::uint16_t rows = 0;
    ErrCode r = SqlExec(Query(kIndexQuery, table), slot, &rows);
    if (r == kStatusNoRecord) return KeyDefaults(FileCount());
    if (r != 0) return r;
    for (std::uint16_t row = 0; r == 0 && row < rows; ++row) r = IndexKey(StrCopy(SqlValue(row, 0, slot)));
    SqlClear(slot);
    return r;
}

ErrCode IndexKey(StrDesc indkey) {
    std::uint8_t file = FileCount();
    std::uint16_t count = ItemCount(indkey, ' ');
    KeySegment segments[kMaxKeySegments];
    for (std::uint16_t i = 0; i < count && i < kMaxKeySegments; ++i) {
        FieldDesc desc = FieldInfo(file, static_cast<std::uint16_t>(StrToNum(Item(indkey, ' ', i + 1))));
        segments[i] = KeySegment{desc.offset, desc.width};
    }
    return KeyAdd(file, count, segments);
}

}  // namespace rt
