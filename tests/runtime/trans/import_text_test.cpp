// The external import's texts: lines cut by the CSV rule, the ';' rewrite, maps put in header order,
// the field specs a header and a map give, and the column dialog's working list.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/trans/import_text.h"

namespace rt::test {
namespace {

using Items = std::vector<std::string>;

TEST(ImportTextTest, LinesAreCutOnlyOutsideValuesThatStartWithAQuote) {
    EXPECT_EQ(ImportItems("a,\"b,c\",d", ','), (Items{"a", "\"b,c\"", "d"}));
    EXPECT_EQ(ImportItems("O'Brien,x'y", ','), (Items{"O'Brien", "x'y"}));
    EXPECT_EQ(ImportItems("\"He said \"\"hi, there\"\"\",", ','), (Items{"\"He said \"\"hi, there\"\"\"", ""}));
    EXPECT_EQ(ImportItems("", ','), (Items{""}));
    EXPECT_EQ(ImportItems("ab\"c,d", ','), (Items{"ab\"c", "d"}));
    EXPECT_EQ(ImportUnquote("\"Bar \"\"El Sol\"\"\""), "Bar \"El Sol\"");
    EXPECT_EQ(ImportUnquote("\"unterminated"), "unterminated");
    EXPECT_EQ(ImportUnquote("plain\"x"), "plain\"x");
}

TEST(ImportTextTest, SemicolonLinesBecomeCommaLinesHoldingTheSameValues) {
    struct Case {
        std::string line;
        bool semicolon;
        std::string comma;
    };
    const Case cases[] = {
        {"NOMBRE;TELEFONO", true, "NOMBRE,TELEFONO"},
        {"NOMBRE,TELEFONO", false, ""},
        {"\"a;b\",c", false, ""},
        {"\"x,y\";1;2", true, "\"x,y\",1,2"},
        // A plain value holding a comma is quoted so that it stays one value.
        // Detection counts items (two either way here); data lines are rewritten once the header was.
        {"Talleres Sur, S.A.;555", false, "\"Talleres Sur, S.A.\",555"},
        {"O'Brien;\"Bar \"\"El Sol\"\"\"", true, "O'Brien,\"Bar \"\"El Sol\"\"\""},
        {"a, \"b\";c", false, "\"a, \"\"b\"\"\",c"},
        // A quoted value with a comma after its closing quote is written quoted whole.
        {"\"a\"b, c;d;e", true, "\"ab, c\",d,e"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ImportIsSemicolonLine(c.line), c.semicolon) << c.line;
        if (!c.comma.empty()) {
            EXPECT_EQ(ImportCommaLine(c.line), c.comma) << c.line;
            std::vector<std::string> before, after;
            for (const auto& v : ImportItems(c.line, ';')) before.push_back(ImportUnquote(v));
            for (const auto& v : ImportItems(ImportCommaLine(c.line), ',')) after.push_back(ImportUnquote(v));
            EXPECT_EQ(before, after) << c.line;
        }
    }
}

TEST(ImportTextTest, FieldSpecsFollowTheHeaderAndStopWhenTheMapIsExhausted) {
    const std::string append = "_fld$=FN$TRIM(F{});F{}=_fld$+CHK$(_fld$>'';' ';'')+_$()";
    auto spec = [&](const std::string& f) {
        std::string s = append;
        for (std::size_t at; (at = s.find("F{}")) != std::string::npos;) s.replace(at, 1, f);
        return s;
    };
    EXPECT_EQ(ImportFieldSpecs("NOMBRE,TELEFONO", "NOMBRE=RAZON_SOCIAL,TELEFONO=TELEFONO"),
              spec("RAZON_SOCIAL") + "," + spec("TELEFONO"));
    EXPECT_EQ(ImportFieldSpecs("A,B,C", "B=NOMBRE"), "_fld$=''," + spec("NOMBRE"));
    EXPECT_EQ(ImportFieldSpecs("\"A\",B", "A=X,B=X"), spec("X") + "," + spec("X"));
    EXPECT_EQ(ImportFieldSpecs("A,B", ""), "");
}

TEST(ImportTextTest, MapsAreOrderedByTheHeaderAndUnknownColumnsNamed) {
    std::string unknown;
    EXPECT_EQ(ImportMapInHeaderOrder("A,\"B\",C", "C=Z,A=X", &unknown), "A=X,C=Z");
    EXPECT_EQ(unknown, "");
    EXPECT_EQ(ImportMapInHeaderOrder("A,B", "A=X,Q=Y,A=W", &unknown), "A=W");
    EXPECT_EQ(unknown, "Q");
    EXPECT_EQ(ImportMapItems("A=X,junk,B=C=D").size(), 2u);
    EXPECT_EQ(ImportMapItems("A=X,junk,B=C=D")[1].field, "D");
}

TEST(ImportTextTest, TheWorkingListShowsTheStoredAssignments) {
    std::vector<ImportMapItem> w =
        ImportWorkingList("\"NOMBRE\",TELEFONO,FAX", "FAX=MOVIL,NOMBRE=RAZON_SOCIAL,OTRA=X");
    ASSERT_EQ(w.size(), 3u);
    EXPECT_EQ(w[0].column + "|" + w[0].field + "|" + w[1].column + "|" + w[1].field + "|" + w[2].field,
              "NOMBRE|RAZON_SOCIAL|TELEFONO||MOVIL");
    EXPECT_EQ(ImportWorkingMap(w), "NOMBRE=RAZON_SOCIAL,FAX=MOVIL");
    EXPECT_EQ(ImportWorkingMap(ImportWorkingList("A,B", "")), "");
}

// Columns holding ',' or '=' stay whole through the working list, the stored map and the field specs:
// a column with a ',' is quoted in the map, and one with a '=' is not taken for an assignment.
TEST(ImportTextTest, ColumnsWithCommasAndEqualSignsStayWhole) {
    const std::string header = "\"Apellido, Nombre\",a=b,TEL";
    std::vector<ImportMapItem> w = ImportWorkingList(header, "");
    EXPECT_EQ(ImportWorkingMap(w), "") << "a column with '=' is not assigned by itself";
    w[0].field = "NOMBRE";
    w[2].field = "TELEFONO";
    const std::string map = ImportWorkingMap(w);
    EXPECT_EQ(map, "\"Apellido, Nombre\"=NOMBRE,TEL=TELEFONO");
    std::string unknown;
    EXPECT_EQ(ImportMapInHeaderOrder(header, map, &unknown), map);
    EXPECT_EQ(unknown, "");
    EXPECT_EQ(ImportMapInHeaderOrder(header, "a=b=MOVIL", &unknown), "a=b=MOVIL");
    EXPECT_EQ(unknown, "");
    EXPECT_EQ(ImportWorkingMap(ImportWorkingList(header, map)), map) << "the stored map shows again as it was";
    EXPECT_EQ(ImportFieldSpecs(header, map),
              "_fld$=FN$TRIM(NOMBRE{});NOMBRE{}=_fld$+CHK$(_fld$>'';' ';'')+_$(),_fld$='',"
              "_fld$=FN$TRIM(TELEFONO{});TELEFONO{}=_fld$+CHK$(_fld$>'';' ';'')+_$()");
}

}  // namespace
}  // namespace rt::test
