// The variable store: kinds by name, typed get and set, system variables, special texts, the
// screen-field hook, item redirection and file-number variables.
#include <string>
#include <vector>

#include "runtime/vars/var_system.h"
#include "runtime/vars/variables.h"
#include "runtime/text/slot_table.h"
#include "tests/runtime/vars/var_fixture.h"

namespace rt::test {
namespace {

TEST(VarKindTest, KindFollowsTheCharactersOfTheName) {
    struct Case {
        const char* name;
        VarKind kind;
    } cases[] = {
        {"NOMBRE$", kVarText}, {"$X", kVarText},      {"A$B", kVarText},      {"A#$", kVarText},
        {"TOTAL#", kVarNumber}, {"I", kVarInteger},   {"_PRECIS", kVarInteger}, {"contactos", kVarInteger},
        {"T#(3)", kVarArray},  {"A$(1;2)", kVarArray}, {"A@B$", kVarNone},     {"@(1)", kVarNone},
    };
    for (const Case& c : cases) EXPECT_EQ(VarKindOf(StrFromC(c.name)), c.kind) << c.name;
}

TEST(SysVarTest, DefaultsAreReadableBeforeTheStoreExists) {
    ASSERT_FALSE(VarReady());
    EXPECT_EQ(SysVar(kSysPrecis), 2);
    EXPECT_EQ(SysVar(kSysUpStat), 1);
    EXPECT_EQ(SysVarSet(kSysTrace, 5), 163);
}

TEST_F(VarTest, SystemVariablesHaveTheirSlotsAndDefaults) {
    struct Case {
        const char* name;
        std::uint16_t slot;
        std::int16_t value;
    } cases[] = {
        {"_AUXSTAT", kSysAuxStat, 0}, {"_CURFIL", kSysCurFil, 0},   {"_DEVHIG", kSysDevHig, 24},
        {"_DEVWID", kSysDevWid, 80},  {"_LASTKEY", kSysLastKey, 4}, {"_UPSTAT", kSysUpStat, 1},
        {"_IER", kSysIer, 0},   {"_SQLSTK", kSysSqlStk, 0},   {"_COUNT", kSysCount, 0},
        {"_HCOUNT", kSysHCount, 0},   {"_LB", kSysLb, 128},         {"_KEYMAP", kSysKeyMap, 0},
        {"_TRACE", kSysTrace, 1},     {"_PRECIS", kSysPrecis, 2},   {"_BYEAR", kSysBYear, 2000},
        {"_BKYEAR", kSysBkYear, 80},  {"_DX", kSysDx, 0},           {"_USER03", kSysUser03, 0},
    };
    for (const Case& c : cases) {
        StrDesc name = StrFromC(c.name);
        EXPECT_EQ(VarFind(name).slot, c.slot) << c.name;
        EXPECT_EQ(SysVar(c.slot), c.value) << c.name;
        FixedNumber n = -1;
        ASSERT_EQ(VarGetNumber(name, &n), 0) << c.name;
        EXPECT_EQ(n, c.value * 100) << c.name;
    }
    // Every named entry of the table sits at its own slot; slot 30 has no name and holds 0.
    for (std::uint16_t slot = 0; slot < kSysVarCount; ++slot) {
        const SysVarDef& def = SysVarDefault(slot);
        EXPECT_EQ(SysVar(slot), def.value) << slot;
        if (slot != kSysUnnamed30) {
            EXPECT_EQ(VarFind(StrFromC(def.name)).slot, slot) << def.name;
        }
    }
    EXPECT_STREQ(SysVarDefault(kSysUnnamed30).name, "");
    EXPECT_EQ(VarCount(kVarInteger), kSysVarCount);
    EXPECT_EQ(Str(SlotGet(kVarNamesGroup, kVarText)), "_ACUM$,_ACUMX$,_LTEXT$");
    EXPECT_EQ(VarFind(S("_ACUMX$")).slot, kSysAcumX);
    EXPECT_EQ(VarFind(S("")).slot, kNone);  // the unnamed slot cannot be reached by name
}

TEST_F(VarTest, SystemVariablesByNameAndBySlotAreTheSame) {
    ASSERT_EQ(VarSetInteger(S("_AUXSTAT"), 4096 + 128), 0);
    EXPECT_EQ(SysBits(kSysAuxStat), 4096 + 128);
    ASSERT_EQ(SysVarSet(kSysTrace, 7), 0);
    FixedNumber n = 0;
    ASSERT_EQ(VarGetNumber(S("_TRACE"), &n), 0);
    EXPECT_EQ(n, 700);
    ASSERT_EQ(SysCount32Set(70000), 0);
    EXPECT_EQ(SysVar(kSysCount), 4464);
    EXPECT_EQ(SysVar(kSysHCount), 1);
    EXPECT_EQ(SysCount32(), 70000u);
    // A changed precision changes the scale of every integer read; nothing is rescaled.
    ASSERT_EQ(VarSetInteger(S("I"), 3), 0);
    ASSERT_EQ(SysVarSet(kSysPrecis, 3), 0);
    ASSERT_EQ(VarGetNumber(S("I"), &n), 0);
    EXPECT_EQ(n, 3000);
}

TEST_F(VarTest, TypedAssignmentAndReading) {
    struct Case {
        const char* name;
        FixedNumber assigned;  // scaled by 100
        FixedNumber read;
    } cases[] = {
        {"I", 7000000, 446400},   // 70000 keeps its low 16 bits: 4464
        {"J", 250, 300},          // 2.5 rounds away from zero
        {"K", -250, -300},
        {"L", 3276800, -3276800}, // 32768 wraps to -32768
        {"N#", 12345, 12345},
        {"M#", -5, -5},
    };
    for (const Case& c : cases) {
        StrDesc name = StrFromC(c.name);
        ASSERT_EQ(VarSetNumber(name, c.assigned), 0) << c.name;
        FixedNumber n = 0;
        ASSERT_EQ(VarGetNumber(name, &n), 0) << c.name;
        EXPECT_EQ(n, c.read) << c.name;
    }
    ASSERT_EQ(VarSetText(S("A$"), S("X")), 0);
    DynScope scope;
    EXPECT_EQ(Str(VarGetText(S("A$"))), "X");
    EXPECT_EQ(Str(VarGetText(S("a$"))), "");  // names keep their case
    EXPECT_EQ(Str(VarGetText(S("M#"))), "-.05");
    ASSERT_EQ(VarSetText(S("P#"), S(" 12.5 ")), 0);  // texts given to number variables are read as numbers
    EXPECT_EQ(Str(VarGetText(S("P#"))), "12.5");
    ASSERT_EQ(VarSetNumber(S("B$"), 150), 0);  // numbers given to text variables become their text
    EXPECT_EQ(Str(VarGetText(S("B$"))), "1.5");
    ASSERT_EQ(VarSetInteger(S("C$"), 7), 0);
    EXPECT_EQ(Str(VarGetText(S("C$"))), "7");
}

TEST_F(VarTest, ReadingDoesNotCreate) {
    std::uint16_t before = VarCount();
    DynScope scope;
    ASSERT_EQ(VarGet(S("X#")), 0);
    EXPECT_EQ(DynTop().len, 8);
    EXPECT_EQ(TopNumber(), 0);
    ASSERT_EQ(VarGet(S("X$")), 0);
    EXPECT_EQ(DynTop().len, 0);
    ASSERT_EQ(VarGet(S("X")), 0);
    EXPECT_EQ(TopNumber(), 0);
    EXPECT_EQ(VarCount(), before);
    EXPECT_EQ(VarFind(S("X#")).slot, kNone);
}

TEST_F(VarTest, VarGetLeavesOnlyItsResultOnTheArena) {
    ASSERT_EQ(VarSetText(S("T$"), S("abc")), 0);
    std::uint16_t mark = DynMark();
    ASSERT_EQ(VarGet(S("T$")), 0);
    EXPECT_EQ(DynMark(), mark + 1);
    EXPECT_EQ(Str(DynTop()), "abc");
    DynRelease(mark);
}

TEST_F(VarTest, VariablesAreCreatedInOrderAndTablesGrow) {
    std::uint16_t ints = VarCount(kVarInteger), texts = VarCount(kVarText);
    for (int i = 0; i < 300; ++i) {
        std::string n = "V" + std::to_string(i), t = "T" + std::to_string(i) + "$", x = "N" + std::to_string(i) + "#";
        ASSERT_EQ(VarSetInteger(D(n), i), 0);
        ASSERT_EQ(VarSetText(D(t), D("text " + std::to_string(i))), 0);
        ASSERT_EQ(VarSetNumber(D(x), i * 1000000000LL), 0);
    }
    EXPECT_EQ(VarFind(S("V0")).slot, ints);
    EXPECT_EQ(VarFind(S("T299$")).slot, texts + 299);
    EXPECT_EQ(VarIntSlot(ints + 299), 299);
    EXPECT_EQ(VarNumSlot(299), 299000000000LL);
    EXPECT_EQ(Str(VarTextSlot(texts + 150)), "text 150");
    ASSERT_EQ(VarSetInteger(S("V7"), 8), 0);  // reassignment keeps the slot
    EXPECT_EQ(VarFind(S("V7")).slot, ints + 7);
    EXPECT_EQ(VarIntSlot(ints + 7), 8);
}

// Names are found through every change of their list: the store's own appends, an append taken
// back, and the list written as a slot from outside, also with a text of the same length.
TEST_F(VarTest, NamesAreFoundThroughEveryChangeOfTheirList) {
    const std::uint16_t ints = VarCount(kVarInteger);
    for (int i = 0; i < 5000; ++i) ASSERT_EQ(VarSetInteger(D("V" + std::to_string(i)), i), 0);
    for (int i : {0, 1, 2500, 4999}) EXPECT_EQ(VarFind(D("V" + std::to_string(i))).slot, ints + i) << i;
    EXPECT_EQ(VarFind(S("V5000")).slot, kNone);

    // V1 renamed W1 in the list text itself: the same length, another name.
    std::string list = Str(SlotGet(kVarNamesGroup, kVarInteger));
    const std::size_t at = list.find(",V1,");
    ASSERT_NE(at, std::string::npos);
    list[at + 1] = 'W';
    ASSERT_EQ(SlotSet(kVarNamesGroup, kVarInteger, D(list)), 0);
    EXPECT_EQ(VarFind(S("V1")).slot, kNone);
    EXPECT_EQ(VarFind(S("W1")).slot, ints + 1);
    EXPECT_EQ(VarFind(S("V2")).slot, ints + 2);

    // The list cut back: the names past the cut are gone, a new name takes the next slot.
    ASSERT_EQ(SlotSet(kVarNamesGroup, kVarInteger, D(list.substr(0, list.find(",V10,")))), 0);
    EXPECT_EQ(VarFind(S("V9")).slot, ints + 9);
    EXPECT_EQ(VarFind(S("V10")).slot, kNone);
    ASSERT_EQ(VarSetInteger(S("NUEVA"), 7), 0);
    EXPECT_EQ(VarFind(S("NUEVA")).slot, ints + 10);
    FixedNumber n{};
    ASSERT_EQ(VarGetNumber(S("NUEVA"), &n), 0);
    EXPECT_EQ(n, NumFromInteger(7));
}

TEST_F(VarTest, BadNamesAreRefusedAndLeaveTheStoreUnchanged) {
    std::uint16_t before = VarCount();
    DynScope scope;
    EXPECT_EQ(VarGet(S("A@B")), 147);
    EXPECT_EQ(VarSetInteger(S("A@B"), 1), 147);
    EXPECT_EQ(VarGet(S("T(1)")), 147);  // elements go through the array functions
    EXPECT_EQ(VarSetInteger(S("A,B"), 1), 157);
    EXPECT_EQ(VarSetInteger(S(""), 1), 157);
    EXPECT_EQ(VarCount(), before);
    EXPECT_EQ(VarSet(StrError(146), S("x")), 146);
    EXPECT_EQ(VarSet(S("Q$"), StrError(146)), 146);
    EXPECT_EQ(VarFind(S("Q$")).slot, kNone);
}

TEST_F(VarTest, NameThatCannotBePlacedLeavesNoValueBehind) {
    // Fill the slot table so that a new name no longer fits into the integer name list.
    std::string filler(kSlotByteCapacity - SlotBytesInUse() - 6, 'f');
    ASSERT_EQ(SlotSet(30, 0, D(filler)), 0);
    std::uint16_t before = VarCount(kVarInteger);
    EXPECT_EQ(VarSetInteger(S("AVERYLONGNAME"), 9), 157);
    EXPECT_EQ(VarCount(kVarInteger), before);
    EXPECT_EQ(VarIntSlot(before), 0);
    EXPECT_EQ(VarSetText(S("T$"), D(std::string(20, 'x'))), 159);  // the value itself does not fit
    EXPECT_EQ(VarFind(S("T$")).slot, kNone);
    EXPECT_EQ(VarSetInteger(S("_LB"), 64), 0);  // existing variables still take values
    EXPECT_EQ(SysVar(kSysLb), 64);
}

TEST_F(VarTest, NameLyingInSlotBytesThatMove) {
    // The name lives in a later slot group whose bytes move when the new text value is stored.
    ASSERT_EQ(SlotPush(30, S("NEW$")), 0);
    ASSERT_EQ(VarSetText(SlotPeek(30), S("xyz")), 0);
    DynScope scope;
    EXPECT_EQ(Str(VarGetText(S("NEW$"))), "xyz");
}

TEST_F(VarTest, SpecialTextsReadFixed) {
    DynScope scope;
    StrDesc lf = VarGetText(S(".lf$"));
    StrDesc tab = VarGetText(S(".tab$"));
    EXPECT_EQ(Str(StrConcat(lf, tab)), "\r\n\t");
    EXPECT_EQ(Str(VarGetText(S(".pchr$"))), "\\");
    EXPECT_EQ(Str(VarGetText(S(".null$"))), "");
    ASSERT_EQ(VarSetText(S(".lf$"), S("changed")), 0);  // stored but never read back
    EXPECT_NE(VarFind(S(".lf$")).slot, kNone);
    EXPECT_EQ(Str(VarGetText(S(".lf$"))), "\r\n");
    EXPECT_EQ(Str(VarGetText(S(".LF$"))), "");  // only the exact names are special
}

// A screen with the fields _F$ (text "abc"), _N# (number text "12.5") and _BAD (fails with 200).
struct HookLog {
    std::vector<std::string> calls;
};
HookLog g_log;

ErrCode TestHook(StrDesc name, std::uint16_t mode, StrDesc value, StrDesc* answer) {
    std::string n = Str(name);
    g_log.calls.push_back(n + ":" + std::to_string(mode) + ":" + Str(value));
    if (n == "_F$") {
        if (mode == 1) *answer = StrCopy(S("abc"));
        return 0;
    }
    if (n == "_N#" || n == "_NI") {
        if (mode == 1) *answer = StrCopy(S("12.5"));
        return 0;
    }
    if (n == "_BAD") return 200;
    return 163;
}

TEST_F(VarTest, ScreenFieldHookIsAskedFirstForUnderscoreNames) {
    g_log.calls.clear();
    EXPECT_EQ(VarScreenHookSet(TestHook), nullptr);
    DynScope scope;
    EXPECT_EQ(Str(VarGetText(S("_F$"))), "abc");
    FixedNumber n = 0;
    ASSERT_EQ(VarGetNumber(S("_N#"), &n), 0);
    EXPECT_EQ(n, 1250);
    ASSERT_EQ(VarGetNumber(S("_NI"), &n), 0);  // integer kinds read the answer as a number text too
    EXPECT_EQ(n, 1250);
    EXPECT_EQ(VarGet(S("_BAD")), 200);
    ASSERT_EQ(VarGetNumber(S("_PRECIS"), &n), 0);  // 163: the store answers
    EXPECT_EQ(n, 200);
    ASSERT_EQ(VarGetNumber(S("PLAIN"), &n), 0);   // no underscore: the hook is not asked

    ASSERT_EQ(VarSetText(S("_F$"), S("zz")), 0);
    ASSERT_EQ(VarSetNumber(S("_N#"), 150), 0);
    EXPECT_EQ(VarSetInteger(S("_BAD"), 1), 200);
    ASSERT_EQ(VarSetInteger(S("_LB"), 5), 0);
    EXPECT_EQ(VarFind(S("_F$")).slot, kNone);  // taken by the screen, not stored
    EXPECT_EQ(VarFind(S("_N#")).slot, kNone);
    EXPECT_EQ(SysVar(kSysLb), 5);

    std::vector<std::string> expected = {
        "_F$:1:", "_N#:1:", "_NI:1:", "_BAD:1:", "_PRECIS:1:",
        "_F$:5:zz", "_N#:5:1.5", "_BAD:5:1", "_LB:5:5",
    };
    EXPECT_EQ(g_log.calls, expected);

    EXPECT_EQ(VarScreenHookSet(nullptr), TestHook);
    ASSERT_EQ(VarSetText(S("_F$"), S("zz")), 0);  // the default hook sends everything to the store
    EXPECT_EQ(Str(VarGetText(S("_F$"))), "zz");
}

TEST_F(VarTest, ItemRedirection) {
    char kind = 0;
    std::uint16_t number = 0;
    EXPECT_FALSE(VarItemRedirect(12, &kind, &number));
    ASSERT_EQ(VarSetText(S("_V12$"), S("B7")), 0);
    ASSERT_TRUE(VarItemRedirect(12, &kind, &number));
    EXPECT_EQ(kind, 'B');
    EXPECT_EQ(number, 7);
    ASSERT_EQ(VarSetText(S("_V3$"), S("C")), 0);
    ASSERT_TRUE(VarItemRedirect(3, &kind, &number));
    EXPECT_EQ(kind, 'C');
    EXPECT_EQ(number, 0);
    ASSERT_EQ(VarSetText(S("_V4$"), S("")), 0);
    EXPECT_FALSE(VarItemRedirect(4, &kind, &number));
    // A redirection variable that fails to read does not redirect.
    VarScreenHookSet([](StrDesc, std::uint16_t, StrDesc, StrDesc*) -> ErrCode { return 200; });
    EXPECT_FALSE(VarItemRedirect(12, &kind, &number));
    VarScreenHookSet(nullptr);
}

TEST_F(VarTest, FileNumberVariablesAreNamedInLowerCase) {
    ASSERT_EQ(VarSetFileNumber(S("CONTACTOS"), 3), 0);
    ASSERT_EQ(VarSetFileNumber(S("contactos"), 4), 0);  // overwritten
    FixedNumber n = 0;
    ASSERT_EQ(VarGetNumber(S("contactos"), &n), 0);
    EXPECT_EQ(n, 400);
    EXPECT_EQ(VarFind(S("CONTACTOS")).slot, kNone);
}

TEST_F(VarTest, InitTwiceIsRefused) { EXPECT_EQ(VarInit(), 124); }

}  // namespace
}  // namespace rt::test
