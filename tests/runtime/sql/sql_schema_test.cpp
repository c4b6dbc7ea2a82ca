// Schema discovery: tables of schema public registered as data files with their fields and keys.
#include <string>
#include <vector>

#include "runtime/data/fields.h"
#include "runtime/data/keys.h"
#include "runtime/expr/evaluator.h"
#include "runtime/text/err_codes.h"
#include "tests/runtime/sql/sql_fixture.h"

namespace rt::test {
namespace {

class SqlSchemaTest : public SqlTest {
protected:
    std::string Fields(std::uint8_t file) {
        std::string out;
        for (std::uint16_t i = 1; i <= FieldCount(file); ++i) {
            FieldDesc d = FieldInfo(file, i);
            out += (i > 1 ? " " : "") + Str(FieldName(file, i)) + ":" + std::to_string(d.width) + d.type;
        }
        return out;
    }
    std::string Keys(std::uint8_t file) {
        std::string out;
        for (std::uint16_t k = 1; k <= KeyCount(file); ++k) {
            KeyFieldList list = KeyFields(file, k);
            out += k > 1 ? " | " : "";
            for (std::uint16_t i = 0; i < list.count; ++i) out += (i ? "," : "") + std::to_string(list.fields[i]);
        }
        return out;
    }
};

constexpr const char* kContactos =
    "CREATE TABLE contactos (\"RAZON_SOCIAL\" varchar(60) PRIMARY KEY, \"NOMBRE\" varchar(60), "
    "\"DIRECCION\" varchar(60), \"CP\" varchar(5), \"POBLACION\" varchar(40), \"TELEFONO\" varchar(20), "
    "\"MOVIL\" varchar(20), \"EMAIL\" varchar(60), \"OTROS\" varchar(60), \"OBSERVACIONES\" varchar(250));";

TEST_F(SqlSchemaTest, TheContactTableBecomesFileOneWithItsFieldsKeyAndVariable) {
    db().ExecOk(kContactos);
    ASSERT_EQ(Connect(), 0) << Detail();
    ASSERT_EQ(FileCount(), 1);
    EXPECT_EQ(Str(FileName(1, kFileNameBare)), "contactos");
    EXPECT_EQ(Fields(1), "RAZON_SOCIAL:60A NOMBRE:60A DIRECCION:60A CP:5A POBLACION:40A TELEFONO:20A MOVIL:20A "
                         "EMAIL:60A OTROS:60A OBSERVACIONES:250A");
    EXPECT_EQ(Keys(1), "1");
    KeyDesc key = KeyInfo(1, 1);
    EXPECT_EQ(key.count, 1);
    EXPECT_EQ(key.segments[0].offset, 0);
    EXPECT_EQ(key.segments[0].length, 60);
    EXPECT_TRUE(SqlFieldNotNull(1, 1));
    EXPECT_FALSE(SqlFieldNotNull(1, 2));
    {
        DynScope scope;
        EXPECT_EQ(Str(ExpText(S("contactos"))), "1");
    }
    EXPECT_EQ(Statements(), (std::vector<std::string>{
        "SELECT * FROM information_schema.tables WHERE table_schema='public';",
        "SELECT * FROM information_schema.columns WHERE TABLE_NAME='contactos' AND table_schema='public' "
        "ORDER BY ordinal_position;",
        "SELECT indkey FROM pg_class, pg_index WHERE pg_class.oid = pg_index.indexrelid AND pg_class.oid IN "
        "(SELECT indexrelid FROM pg_index, pg_class WHERE pg_class.relname='contactos' AND "
        "pg_class.relnamespace='public'::regnamespace AND pg_class.oid=pg_index.indrelid) "
        "ORDER BY pg_index.indisprimary DESC, pg_class.oid;",
    }));
    EXPECT_EQ(SysVar(kSysSqlStk), 0);
    for (std::uint16_t s = 1; s < kSqlSlots; ++s) EXPECT_FALSE(SqlSlotHasResult(s)) << s;
}

TEST_F(SqlSchemaTest, ColumnTypesMapToWidthsAndLettersAndIndexesToKeysInOrder) {
    db().ExecOk("CREATE TABLE tipos (a numeric(10,2), b integer, c date, d text, \"FECHA\" varchar(8), "
                "fecha varchar(8), e smallint, f varchar(12));");
    db().ExecOk("CREATE INDEX tipos_ab ON tipos (a, b);");
    db().ExecOk("CREATE INDEX tipos_c ON tipos (c);");
    // A table of the same name in another schema adds no column and no key.
    db().ExecOk("CREATE SCHEMA otro;");
    db().ExecOk("CREATE TABLE otro.tipos (z integer PRIMARY KEY, y integer);");
    db().ExecOk("CREATE INDEX otro_y ON otro.tipos (y);");
    ASSERT_EQ(Connect(), 0) << Detail();
    ASSERT_EQ(FileCount(), 1);
    EXPECT_EQ(Fields(1), "a:102 b:32N c:8D d:0A FECHA:8D fecha:8A e:16N f:12A");
    EXPECT_EQ(Keys(1), "1,2 | 3");
}

TEST_F(SqlSchemaTest, ThePrimaryKeyIsKeyOneWhateverTheOrderTheIndexesWereMadeIn) {
    db().ExecOk("CREATE TABLE t (a varchar(5) NOT NULL, b varchar(5));");
    db().ExecOk("CREATE UNIQUE INDEX t_b ON t (b);");
    db().ExecOk("ALTER TABLE t ADD PRIMARY KEY (a);");
    db().ExecOk("CREATE TABLE sin_indice (x varchar(3), \"N_LINE\" varchar(4));");
    ASSERT_EQ(Connect(), 0) << Detail();
    ASSERT_EQ(FileCount(), 2);
    std::uint8_t t = FileByName(S("t"));
    std::uint8_t plain = FileByName(S("sin_indice"));
    ASSERT_NE(t, 0);
    ASSERT_NE(plain, 0);
    EXPECT_EQ(Keys(t), "1 | 2");
    // A table without an index gets the default key, up to the end of the field N_LINE.
    EXPECT_EQ(KeyCount(plain), 1);
    EXPECT_EQ(KeyInfo(plain, 1).segments[0].length, 7);
}

TEST_F(SqlSchemaTest, NoDatabaseNameRegistersNothingAndATableWithoutColumnsStopsWith2) {
    db().ExecOk("CREATE TABLE vacia ();");
    std::string host = Host(), user = User(), password = Password();
    EXPECT_EQ(SqlConnect(D(host), S(""), D(user), D(password), kSchemaColumns), 0) << Detail();
    EXPECT_EQ(FileCount(), 0);
    SqlStartHook(kSqlHookEnd);
    EXPECT_EQ(Connect(), kStatusNoRecord);
    EXPECT_EQ(FileCount(), 1);
}

}  // namespace
}  // namespace rt::test
