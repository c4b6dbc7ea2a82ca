// External records as text: cutting delimited values, reading records into the current record
// through field specs, and writing export lines in the three layouts, including the round trip of
// every byte a text field can hold.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/expr/evaluator.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/err_codes.h"
#include "runtime/text/slot_table.h"
#include "runtime/trans/trans_delim.h"
#include "runtime/trans/trans_reader.h"
#include "runtime/trans/trans_writer.h"
#include "runtime/vars/variables.h"
#include "tests/runtime/trans/trans_fixture.h"

namespace rt::test {
namespace {

std::vector<std::string> Values(const std::string& record, char delimiter = ',') {
    std::vector<std::string> out;
    DelimCursor cursor(D(record), static_cast<unsigned char>(delimiter));
    StrDesc value;
    std::string scratch;
    while (cursor.Next(&value, &scratch)) out.push_back(Str(value));
    return out;
}

TEST(DelimCursorTest, QuotedOnlyWhenTheValueStartsWithAQuote) {
    struct Case {
        const char* record;
        std::vector<std::string> values;
    } cases[] = {
        {"\"Calle Mayor, 5\",7", {"Calle Mayor, 5", "7"}},
        {"O'Brien,Juan", {"O'Brien", "Juan"}},           // an apostrophe is an ordinary byte
        {"'a,b'", {"'a", "b'"}},
        {"\"Bar \"\"El Sol\"\"\",x", {"Bar \"El Sol\"", "x"}},
        {"a\"b,c", {"a\"b", "c"}},                       // a quote inside an unquoted value is kept
        {" \"a\",b", {" \"a\"", "b"}},                   // a blank first: not quoted
        {"\"ab\"cd,e", {"abcd", "e"}},                   // bytes after the closing quote are kept
        {"\"open, never closed", {"open, never closed"}},
        {"a,,b,", {"a", "", "b", ""}},
        {"\"\"", {""}},
        {"", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(Values(c.record), c.values) << c.record;
    EXPECT_EQ(Values("a;\"b;c\";d", ';'), (std::vector<std::string>{"a", "b;c", "d"}));
}

TEST(DelimCursorTest, QuotingForWritingDoublesQuotes) {
    std::string out;
    DelimAppendQuoted(D("Bar \"El Sol\""), '"', &out);
    EXPECT_EQ(out, "\"Bar \"\"El Sol\"\"\"");
    out.clear();
    DelimAppendQuoted(D("O'Brien"), '\'', &out);
    EXPECT_EQ(out, "'O''Brien'");
}

class TransRecordTest : public TransTextTest {
protected:
    ErrCode Read(const std::string& structList, TransMode mode, const std::string& record, unsigned char delim = ',') {
        TransReadLayout layout;
        ErrCode e = TransReadLayoutBuild(file_, mode, D(structList), delim, 0, &layout);
        if (e != 0) return e;
        return TransReadRecord(layout, D(record));
    }
    std::string Line(TransMode mode, const std::string& structList = "", std::uint16_t capacity = 16384) {
        TransWriteLayout layout;
        EXPECT_EQ(TransWriteLayoutBuild(file_, mode, D(structList), S(","), capacity, &layout), 0);
        std::string out;
        ErrCode e = TransExportLine(layout, &out);
        return e == 0 ? out : "E" + std::to_string(e);
    }
};

TEST_F(TransRecordTest, DelimitedValuesGoToTheFieldsInOrder) {
    ASSERT_EQ(Read("", kTransDelimited, "\"Calle Mayor, 5\",7,O'Brien,12.5"), 0);
    EXPECT_EQ(Field(1), "Calle Mayor, 5");
    EXPECT_EQ(Field(2), "    7");
    EXPECT_EQ(Field(3), "O'Brien");
    EXPECT_EQ(Field(4), "   12.50");
    // Fewer values leave the other fields blank; a value beyond the last field is a syntax error.
    ASSERT_EQ(Read("", kTransDelimited, "Solo"), 0);
    EXPECT_EQ(Field(1), "Solo");
    EXPECT_EQ(Field(3), "");
    EXPECT_EQ(Read("", kTransDelimited, "a,1,b,2,extra"), kErrSintaxError);
    // An empty record, or one that starts with ESC, is skipped.
    EXPECT_EQ(Read("", kTransDelimited, ""), kErrNoData);
    EXPECT_EQ(Read("", kTransDelimited, "\x1b" "x,1"), kErrNoData);
}

TEST_F(TransRecordTest, SpecsPutValuesIntoFieldsOrExpressions) {
    // The second value goes through an expression that reads it as _$(30); the third is dropped
    // by a spec of width alone.
    ASSERT_EQ(Read("POBLACION{},NOMBRE{}=FN$TRIM(_$(30))+'!',2,N_LINE{}", kTransDelimited, "Vigo,  Ana  ,zz,42"), 0);
    EXPECT_EQ(Field(3), "Vigo");
    EXPECT_EQ(Field(1), "Ana!");
    EXPECT_EQ(Field(2), "   42");
    EXPECT_EQ(SlotCount(kUserStackGroup), 0) << "every value pushed for an expression is popped";
    // A target that is neither a field nor an expression is reported with its spec.
    EXPECT_EQ(Read("POBLACION{},NADA{}", kTransDelimited, "a,b"), kErrSintaxError);
    EXPECT_EQ(Str(ErrDetail()), "NADA{}");
}

TEST_F(TransRecordTest, FixedWidthRecordsAreCutBySpecWidths) {
    // W;TARGET takes W bytes; a width alone passes bytes over; a target without W takes its field's width.
    std::string record = "VigoXX" + std::string("Juan Perez") + std::string(10, ' ') + "99";
    ASSERT_EQ(Read("4;POBLACION{},2,NOMBRE{},1+1;N_LINE{}", 0, record), 0);
    EXPECT_EQ(Field(3), "Vigo");
    EXPECT_EQ(Field(1), "Juan Perez");
    EXPECT_EQ(Field(2), "   99");
    ASSERT_EQ(Read("3;POBLACION{},9;NOMBRE{}", 0, "Ab"), 0) << "a short record gives what it has";
    EXPECT_EQ(Field(3), "Ab");
    EXPECT_EQ(Field(1), "");
}

TEST_F(TransRecordTest, FixedWidthImageWithoutSpecsRepairsNumbers) {
    std::string image = std::string("Maria") + std::string(15, ' ') + "12ab " + "Lugo      " + "   -3.5x";
    ASSERT_EQ(Read("", 0, image), 0);
    EXPECT_EQ(Field(1), "Maria");
    EXPECT_EQ(Field(2), "   12");
    EXPECT_EQ(Field(3), "Lugo");
    EXPECT_EQ(Field(4), "   -3.00");
    std::string clean = std::string(20, 'x') + "  123" + std::string(10, 'y') + "   45.10";
    ASSERT_EQ(Read("", 0, clean), 0);
    EXPECT_EQ(Record(), clean) << "an image that holds numbers is taken byte for byte";
}

TEST_F(TransRecordTest, DosCodePageBytesBecomeTheirLetters) {
    std::string dos = "\xA5" "a\xA4" "o\xA0\x82\xA1\xA2\xA3\x80\xA7\xCD\xF0\xDA\xC4\xBF|";
    ASSERT_EQ(Read("", kTransDelimited | kTransDosCodePage, dos), 0);
    EXPECT_EQ(Field(1), "\xD1" "a\xF1" "o\xE1\xE9\xED\xF3\xFA\xC7\xBA==   |");
    ASSERT_EQ(Read("", kTransDelimited, "\xA5"), 0);
    EXPECT_EQ(Field(1), "\xA5") << "without the mode bit the bytes stay";
}

TEST_F(TransRecordTest, DelimitedLineQuotesTextFieldsAndEmptiesZeros) {
    SetFields("Bar \"El Sol\"", "0", "  Vigo", "0");
    EXPECT_EQ(Line(kTransExportDelimited), "\"Bar \"\"El Sol\"\"\",,\"Vigo\",");
    SetFields("Talleres Sur, S.A.", "7", "", "12.5");
    EXPECT_EQ(Line(kTransExportDelimited), "\"Talleres Sur, S.A.\",7,\"\",12.50");
    EXPECT_EQ(Line(kTransExportDelimited, "N_LINE{},FN$TRIM(POBLACION{})+'x',N_LINE{}*2"), "7,\"x\",14");
    EXPECT_EQ(Line(kTransExportDelimited | kTransIsSql, "NOMBRE{},N_LINE{}"), "'Talleres Sur, S.A.','7'");
    EXPECT_EQ(Line(kTransExportDelimited, "", 10), "E146") << "a line beyond the capacity fails";
}

TEST_F(TransRecordTest, FixedAndReadableLines) {
    SetFields("Ana", "42", "Vigo", "3.5");
    std::string fixed = Line(kTransStream | kTransExternFile);
    EXPECT_EQ(fixed, std::string("Ana") + std::string(17, ' ') + "   42" + "Vigo      " + "    3.50");
    // Readable columns: a type-2 field of width 8 stands right-aligned in a column of 11.
    TransWriteLayout layout;
    ASSERT_EQ(TransWriteLayoutBuild(file_, kTransHumanRead | kTransStream | kTransExternFile, StrEmpty(), S(","),
                                    16384, &layout), 0);
    std::string out;
    ASSERT_EQ(TransHeader(&layout, StrEmpty(), &out), 0);
    EXPECT_EQ(out, "NOMBRE               N_LIN POBLACION  IMPORTE    \r\n"
                   "==================== ===== ========== ===========\r\n\r\n");
    out.clear();
    ASSERT_EQ(TransExportLine(layout, &out), 0);
    EXPECT_EQ(out, std::string("Ana") + std::string(17, ' ') + "    42 Vigo       " + "       3.50");
    out.clear();
    ASSERT_EQ(TransHeader(&layout, S("Mi cabecera"), &out), 0);
    EXPECT_EQ(out, "Mi cabecera\r\n");
}

TEST_F(TransRecordTest, EveryByteOfATextFieldSurvivesExportAndImport) {
    // Bytes 0x01..0xFF but CR, LF and Ctrl-Z, inside a value (blanks at its ends are trimmed), and a
    // value holding commas, double quotes and apostrophes together.
    std::vector<std::string> values;
    std::string chunk;
    for (int b = 1; b <= 255; ++b) {
        if (b == '\r' || b == '\n' || b == 26) continue;
        chunk += static_cast<char>(b);
        if (chunk.size() == 18) {
            values.push_back("<" + chunk + ">");
            chunk.clear();
        }
    }
    values.push_back("<" + chunk + ">");
    values.push_back("\"O'B\", D'A,''\"");
    for (const std::string& v : values) {
        SetFields(v, "1", "x", "0");
        std::string line = Line(kTransExportDelimited);
        ASSERT_EQ(Read("", kTransDelimited, line), 0) << line;
        EXPECT_EQ(Field(1), v) << line;
        EXPECT_EQ(Field(3), "x") << line;
    }
}

}  // namespace
}  // namespace rt::test
