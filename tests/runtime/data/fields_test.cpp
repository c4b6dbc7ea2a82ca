// Field references, field values by type, and the two record images.
#include "runtime/data/fields.h"

#include <gtest/gtest.h>

#include <string>

#include "runtime/data/file_open.h"
#include "runtime/data/record_buffer.h"
#include "runtime/env/errors.h"
#include "tests/runtime/data/data_fixture.h"

namespace rt::test {
namespace {

class FieldsTest : public DataTest {
protected:
    void SetUp() override {
        DataTest::SetUp();
        AddFile("otros", {{"X", 3, 'A'}});
        AddFile("contactos", {{"NOMBRE", 10, 'A'}, {"N_LINE", 5, 'N'}, {"IMPORTE", 8, '2'}, {"ALTA", 8, 'D'},
                              {"ACTIVO", 1, 'L'}, {"COMPACTA", 6, 'F'}});
        ASSERT_EQ(SysVarSet(kSysCurFil, 2), 0);
    }
    std::string Current() { return Str(RecImage(2, kRecCurrent)); }
};

TEST_F(FieldsTest, ReferencesResolveFileAndField) {
    struct Case { const char* ref; std::uint8_t file; std::uint16_t field; char type; } cases[] = {
        {"NOMBRE{}", 2, 1, 'A'},          {"IMPORTE{contactos}", 2, 3, '2'}, {"IMPORTE{CONTACTOS}", 2, 3, '2'},
        {"2{2}", 2, 2, 'N'},              {"X{1}", 1, 1, 'A'},               {"1{otros}", 1, 1, 'A'},
        {"{contactos}", 2, 0, 'N'},       {"{}", 2, 0, 'N'},
    };
    for (const Case& c : cases) {
        FieldDesc d = FieldRef(StrFromC(c.ref));
        EXPECT_EQ(d.status, 0) << c.ref;
        EXPECT_EQ(d.file, c.file) << c.ref;
        EXPECT_EQ(d.field, c.field) << c.ref;
        EXPECT_EQ(d.type, c.type) << c.ref;
    }
}

TEST_F(FieldsTest, MalformedReferencesAndUnknownFieldsGive147) {
    const char* bad147[] = {"NOMBRE{",  "NOMBRE{}x", "NOMBRE}{", "NOMBRE", "", "NADA{}",
                            "0{}",      "7{}",       "X{}",      "-1{2}"};
    for (const char* ref : bad147) {
        EXPECT_EQ(FieldRef(StrFromC(ref)).status, 147) << ref;
        EXPECT_EQ(Str(ErrDetail()), std::string("Field:") + ref);
    }
    const char* bad161[] = {"NOMBRE{zzz}", "NOMBRE{3}", "NOMBRE{0}"};
    for (const char* ref : bad161) EXPECT_EQ(FieldRef(StrFromC(ref)).status, 161) << ref;
}

TEST_F(FieldsTest, ValuesAreStoredInTheFieldsFormByType) {
    ASSERT_EQ(FileOpen(2, 2), 0);
    struct Case { const char* ref; const char* value; const char* stored; } cases[] = {
        {"NOMBRE{}", "Ana", "Ana       "},
        {"NOMBRE{}", "Una razon social larga", "Una razon "},
        {"N_LINE{}", "42", "   42"},
        {"IMPORTE{}", "12.5", "   12.50"},
        {"ALTA{}", "20250305", "20250305"},
        {"ACTIVO{}", "Y", "1"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FieldSetByRef(StrFromC(c.ref), StrFromC(c.value)), 0) << c.ref;
        FieldDesc d = FieldRef(StrFromC(c.ref));
        EXPECT_EQ(Str(FieldGet(2, d.field)), c.stored) << c.ref;
        EXPECT_EQ(Str(FieldRaw(2, d.field, kRecCurrent)), c.stored) << c.ref;
    }
    EXPECT_EQ(Current().substr(0, 15), "Una razon    42");
    EXPECT_EQ(Str(RecImage(2, kRecReference)), std::string(38, ' ')) << "only the current record changes";
}

TEST_F(FieldsTest, NumberTooWideForItsFieldFailsAndIsNoted) {
    ASSERT_EQ(FileOpen(2, 2), 0);
    EXPECT_EQ(FieldSet(2, 2, S("1234567")), 168);
    EXPECT_EQ(ErrNoted(), (std::uint32_t{kAreaBufferFld} << 16) | 151);
    EXPECT_EQ(Str(FieldGet(2, 2)), "     ") << "the record is left as it was";
}

TEST_F(FieldsTest, AccessToAFileThatIsNotOpenFails) {
    EXPECT_EQ(FieldSet(2, 1, S("Ana")), 169);
    EXPECT_EQ(ErrNoted(), (std::uint32_t{kAreaBufferFld} << 16) | 151);
    EXPECT_EQ(FieldGet(2, 1).len, 151);
    EXPECT_EQ(RecImage(2, kRecCurrent).len, 169);
    EXPECT_EQ(RecImage(9, kRecCurrent).len, 169) << "9 stands for the current file";
    ASSERT_EQ(SysVarSet(kSysCurFil, 0), 0);
    EXPECT_EQ(Str(RecImage(9, kRecCurrent)), "") << "no current file";
}

TEST_F(FieldsTest, BadFieldNumbersFailWith151) {
    ASSERT_EQ(FileOpen(2, 2), 0);
    EXPECT_EQ(FieldRaw(2, 7, kRecCurrent).len, 151);
    EXPECT_EQ(Str(ErrDetail()), "(File:2, Field:7)");
    EXPECT_EQ(FieldRaw(2, 1, kRecWhole).len, 151);
    EXPECT_EQ(FieldSet(2, 0, S("x")), 168);
}

TEST_F(FieldsTest, CompactDatesCarryTheCenturyInTheirFirstByte) {
    ASSERT_EQ(FileOpen(2, 2), 0);
    ASSERT_EQ(SysVarSet(kSysCompat, 4), 0);
    struct Case { const char* value; const char* stored; const char* read; } cases[] = {
        {"20050305", "A5 3 5", "20050305"},
        {"19991231", "991231", "19991231"},  // the 1900s keep their plain first digit
        {"19950305", "95 3 5", "19950305"},
        {"20251110", "C51110", "20251110"},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(FieldSet(2, 6, StrFromC(c.value)), 0) << c.value;
        EXPECT_EQ(Str(FieldRaw(2, 6, kRecCurrent)), c.stored) << c.value;
        EXPECT_EQ(Str(FieldGet(2, 6)), c.read) << c.value;
    }
    struct Raw { const char* raw; const char* read; } raws[] = {
        {"950305", "19950305"}, {"9503 5", "19950305"}, {"      ", "        "}};
    for (const Raw& r : raws) {
        ASSERT_EQ(RecWrite(2, kRecCurrent, StrFromC((std::string(32, ' ') + r.raw).c_str())), 0);
        EXPECT_EQ(Str(FieldGet(2, 6)), r.read) << r.raw;
    }
    ASSERT_EQ(SysVarSet(kSysCompat, 0), 0);
    EXPECT_EQ(Str(FieldGet(2, 6)), "      ") << "without the bit the field reads as stored";
}

TEST_F(FieldsTest, ABlankCompactDateStaysBlank) {
    ASSERT_EQ(FileOpen(2, 2), 0);
    ASSERT_EQ(SysVarSet(kSysCompat, 4), 0);
    ASSERT_EQ(SysVarSet(kSysAuxStat, 64), 0);  // an empty date stays empty instead of today
    ASSERT_EQ(FieldSet(2, 6, S("")), 0);
    EXPECT_EQ(Str(FieldRaw(2, 6, kRecCurrent)), "      ");
    EXPECT_EQ(Str(FieldGet(2, 6)), "        ");
}

TEST_F(FieldsTest, CodedWholeNumbersAreDecoded) {
    ASSERT_EQ(FileOpen(2, 2), 0);
    ASSERT_EQ(RecWrite(2, kRecCurrent, S("          D5   ")), 0);
    EXPECT_EQ(Str(FieldGet(2, 2)), "15");
    ASSERT_EQ(RecWrite(2, kRecCurrent, S("          D10  ")), 0);
    EXPECT_EQ(Str(FieldGet(2, 2)), "0");
}

TEST_F(FieldsTest, ChangesAreSeenBetweenTheTwoImages) {
    ASSERT_EQ(FileOpen(2, 2), 0);
    EXPECT_FALSE(RecChanged(2));
    ASSERT_EQ(FieldSet(2, 1, S("Ana")), 0);
    EXPECT_TRUE(RecChanged(2));
    EXPECT_TRUE(FieldChanged(2, 1));
    EXPECT_FALSE(FieldChanged(2, 2));
    RecCopy(2, 1);
    EXPECT_FALSE(RecChanged(2));
    EXPECT_FALSE(FieldChanged(2, 1));
    EXPECT_EQ(Str(FieldRaw(2, 1, kRecReference)), "Ana       ");

    ASSERT_EQ(FieldSet(2, 1, S("Luis")), 0);
    RecCopy(2, 2);
    EXPECT_EQ(Str(FieldGet(2, 1)), "Ana       ") << "the reference record restored the current one";
    RecCopy(2, 3);
    EXPECT_FALSE(RecChanged(2));

    ASSERT_EQ(SysVarSet(kSysCompat, 4), 0);
    ASSERT_EQ(FieldSet(2, 6, S("20050305")), 0);
    RecCopy(2, 1);
    EXPECT_FALSE(FieldChanged(2, 6)) << "a compact date equal in both images is unchanged";
}

TEST_F(FieldsTest, BlankingFillsBothImages) {
    ASSERT_EQ(FileOpen(2, 2), 0);
    ASSERT_EQ(FieldSet(2, 1, S("Ana")), 0);
    RecCopy(2, 1);
    EXPECT_EQ(Str(RecBlank(2, 1)), std::string(76, ' '));
    StrDesc marked = RecBlank(2, 2);
    EXPECT_EQ(Str(marked), "\x1B" + std::string(75, ' '));
    EXPECT_EQ(RecWrite(2, kRecReference, S("0123456789012345678901234567890123456789XYZ")), 0);
    EXPECT_EQ(Str(RecImage(2, kRecReference)), "01234567890123456789012345678901234567") << "cut to the part";
}

}  // namespace
}  // namespace rt::test
