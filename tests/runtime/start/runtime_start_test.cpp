#include "runtime/start/runtime_start.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/data/file_table.h"
#include "runtime/env/catalog.h"
#include "runtime/env/errors.h"
#include "runtime/env/fonts.h"
#include "runtime/env/options.h"
#include "runtime/vars/var_system.h"
#include "runtime/vars/variables.h"
#include "runtime/text/mem_areas.h"
#include "runtime/text/slot_table.h"
#include "runtime/ui/about_box.h"
#include "tests/support/runtime_fixture.h"
#include "tests/support/temp_folder.h"

namespace rt::test {
namespace {

std::vector<std::uint16_t> g_phases;
ErrCode g_phase2Answer = 0;
ErrCode g_phase3Answer = 0;

std::string g_detailAtPhase2;

ErrCode Callback(std::uint16_t phase) {
    g_phases.push_back(phase);
    if ((phase & 15) == 2) g_detailAtPhase2 = Str(ErrDetail());
    if ((phase & 15) == 2) return g_phase2Answer;
    if (phase == 3) return g_phase3Answer;
    return 0;
}

std::u16string Wide(const std::string& s) { return std::u16string(s.begin(), s.end()); }

class RuntimeStartTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_phases.clear();
        g_phase2Answer = 0;
        g_phase3Answer = 0;
    }
    void TearDown() override {
        // The run's own take-down first, then the memory check, then the rest of the end.
        if (MemReady()) {
            FileTableReset();
            VarShutdown();
            EXPECT_EQ(MemShutdownReport(), "") << "the test left memory areas live";
            RuntimeEnd(nullptr, 0);
        }
    }
    ErrCode Start(const std::string& cmdLine, StrDesc identity = S(":Quintara"), std::uint8_t flags = 2) {
        StartRequest r;
        r.commandLine = Wide(cmdLine);
        r.identity = identity;
        r.description = S("Quintara");
        r.flags = flags;
        r.callback = Callback;
        return RuntimeStart(r);
    }
};

TEST_F(RuntimeStartTest, TheContactApplicationsStartLetsPhaseTwoDecide) {
    ASSERT_EQ(Start("\\usr\\bin\\quintara  -TRACE:0"), 0);
    // Flags 2 ask for the dictionary, but ":Quintara" has no application code: the 156 of that is
    // replaced by phase 2's answer.
    EXPECT_EQ(g_phases, (std::vector<std::uint16_t>{2 * 16 + 1, 2 * 16 + 2}));
    EXPECT_EQ(Str(SlotGet(0, 1)), "\\usr\\bin\\quintara /TRACE:0");
    EXPECT_EQ(Str(SlotGet(0, 2)), ":Quintara");
    EXPECT_EQ(Str(SlotGet(0, 3)), "Quintara");
    EXPECT_EQ(Str(SlotGet(0, 4)), "ES");
    EXPECT_EQ(Str(SlotGet(0, 5)), "\\usr\\bin");  // the program's folder
    EXPECT_EQ(ErrNoted(), 0u);
    // The locale record: message 0019, NUL, message 0117, NUL, one blank.
    StrDesc locale = SlotGet(0, 0);
    ASSERT_GE(locale.len, 3);
    EXPECT_EQ(std::string(locale.ptr + locale.len - 2, 2), std::string("\0 ", 2));
    EXPECT_EQ(FontCount(), 0);
    EXPECT_EQ(RuntimeEnd(Callback, 0), 0);
    EXPECT_EQ(g_phases.back(), 3);
    EXPECT_FALSE(MemReady());
}

// A language file in the working folder gives the run its texts, its locale record and its
// language code; a file chosen ahead of the start wins over it, and an empty choice keeps Spanish.
TEST_F(RuntimeStartTest, TheRunSpeaksTheLanguageOfItsLanguageFile) {
    TempFolder dir(true);
    dir.Write("kv_lang_de.msj", "0009 Fehler \r\n0019 ,.'0123456789,-D',' NJ','  ,NEIN,JA'\r\n");
    dir.Write("chosen.msj", "0009 Errore \r\n");
    struct Case {
        int choice;  // 0 none, 1 the file chosen.msj, 2 the built-in catalog
        const char* language;
        const char* error;
    } cases[] = {{0, "DE", "Fehler "}, {1, "ES", "Errore "}, {2, "ES", "Error "}};
    for (const Case& c : cases) {
        if (c.choice == 1) MsgLangChoose(S("chosen.msj"));
        if (c.choice == 2) MsgLangChoose(StrEmpty());
        ASSERT_EQ(Start("q"), 0) << c.choice;
        EXPECT_EQ(Str(SlotGet(0, 4)), c.language) << c.choice;
        EXPECT_EQ(Str(MsgText("0009")), c.error) << c.choice;
        if (c.choice == 0) {
            EXPECT_EQ(Str(SlotGet(0, 0)).substr(0, 2), ",.");
        }
        RuntimeEnd(nullptr, 0);
        MsgLangUnchoose();
    }
}

TEST_F(RuntimeStartTest, TraceOptionSetsTheTraceMask) {
    struct Case { const char* line; std::int16_t trace; };
    for (Case c : {Case{"q /TRACE:YES", 1}, Case{"q", 1}, Case{"q /TRACE:256", 257}, Case{"q -trace:4", 5}}) {
        ASSERT_EQ(Start(c.line), 0) << c.line;
        EXPECT_EQ(VarIntSlot(kSysTrace), c.trace) << c.line;
        RuntimeEnd(nullptr, 0);
    }
}

TEST_F(RuntimeStartTest, ApNameReplacesTheIdentityAndLoadsItsDictionaryFromDPath) {
    TempFolder apps;
    apps.Write("X1DICC.DAT", "01**00clientes\r\n01       030 ANOMBRE\r\n01       006 NCODIGO\r\n");
    // The first load looks in the program's folder and fails; the second mode takes DPATH.
    std::string line = "q /APNAME:\"X1:Name\" /DPATH:'" + apps.RuntimePath() + "'";
    ErrCode e = Start(line, S(":Quintara"), 2);
    EXPECT_EQ(Str(SlotGet(0, 2)), "X1:Name");
    ASSERT_EQ(e, 0) << Str(ErrText(e));
    EXPECT_EQ(Str(SlotGet(0, 5)), apps.RuntimePath());
    EXPECT_EQ(FileCount(), 1);
    StrDesc v = VarGetText(S("clientes"));
    EXPECT_EQ(Str(v), "1");
}

TEST_F(RuntimeStartTest, AMissingDictionaryIsForgivenOnlyWithFlagFour) {
    TempFolder empty;
    std::string line = "q /DPATH:'" + empty.RuntimePath() + "'";
    EXPECT_EQ(Start(line, S("ZZ:None"), 2 | 4), 0);
    RuntimeEnd(nullptr, 0);
    g_phases.clear();
    // Without flag 4 the failed load is the outcome, and phase 2 does not run.
    ErrCode e = Start(line, S("ZZ:None"), 2);
    EXPECT_GE(e, 128);
    EXPECT_EQ(g_phases, (std::vector<std::uint16_t>{2 * 16 + 1}));
}

TEST_F(RuntimeStartTest, FlagEightLoadsOnlyWhenTheSettledIdentityIsAnotherOne) {
    TempFolder apps;
    apps.Write("X1DICC.DAT", "01**00clientes\r\n01       030 ANOMBRE\r\n");
    const std::string dpath = " /DPATH:'" + apps.RuntimePath() + "'";
    // The identity as given is the one settled: nothing to load (X1 would be found; ZZ would not).
    // APNAME naming another application settles that one, and its dictionary is loaded.
    struct Case { std::string line; const char* identity; ErrCode start; int files; } cases[] = {
        {"q" + dpath, "ZZ:None", 0, 0},
        {"q" + dpath, "X1:Name", 0, 0},
        {"q /APNAME:\"X1:Name\"" + dpath, "ZZ:None", 0, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Start(c.line, StrFromC(c.identity), 8), c.start) << c.line << " " << c.identity;
        EXPECT_EQ(int(FileCount()), c.files) << c.line << " " << c.identity;
        RuntimeEnd(nullptr, 0);
    }
}

TEST_F(RuntimeStartTest, ALoadThatEndsWellLeavesNoErrorOfItsFirstAttemptBehind) {
    TempFolder apps, empty;
    apps.Write("X1DICC.DAT", "01**00clientes\r\n01       030 ANOMBRE\r\n");
    // Found on the second attempt (DPATH), and forgiven when missing with flag 4: either way a
    // failing phase 2 is reported on its own, without the dictionary's error note or detail.
    struct Case { std::string dpath; std::uint8_t flags; } cases[] = {{apps.RuntimePath(), 2}, {empty.RuntimePath(), 6}};
    for (const Case& c : cases) {
        g_phase2Answer = 162;
        EXPECT_EQ(Start("q /DPATH:'" + c.dpath + "'", S("X1:Name"), c.flags), 162);
        EXPECT_EQ(ErrNoted(), 0u) << c.dpath;
        EXPECT_EQ(g_detailAtPhase2, "") << c.dpath;
        RuntimeEnd(nullptr, 0);
    }
}

TEST_F(RuntimeStartTest, PhaseOneCanStopTheStart) {
    g_phase2Answer = 0;
    StartRequest r;
    r.commandLine = u"q";
    r.callback = [](std::uint16_t phase) -> ErrCode { return (phase & 15) == 1 ? 124 : 0; };
    EXPECT_EQ(RuntimeStart(r), 124);
    EXPECT_EQ(RuntimeEnd(nullptr, 124), 0);
}

TEST_F(RuntimeStartTest, TheFontFileSetsTheScreenFont) {
    TempFolder dir(true);
    dir.Write("KVFONT.PPN", "21;9;BOLD;  Courier New  :ignored\r\n");
    ASSERT_EQ(Start("q", S(":Quintara"), 0), 0);
    ASSERT_EQ(FontCount(), 1);
    const FontSpec* f = FontCurrent();
    EXPECT_EQ(f->height, 21);
    EXPECT_EQ(f->width, 9);
    EXPECT_EQ(f->weight, 700);
    EXPECT_STREQ(f->face, "Courier New");
    EXPECT_EQ(SlotCount(31), 0);  // the parameter set was dropped
    RuntimeEnd(nullptr, 0);
    // The contact application's start (flags 2, no application code) leaves the fonts alone.
    ASSERT_EQ(Start("q"), 0);
    EXPECT_EQ(FontCount(), 0);
}

TEST_F(RuntimeStartTest, TraceStartWithBits256And16And1WritesTheLogAndStops) {
    TempFolder dir(true);
    dir.Write("log.txt", "old run\r\n");
    EXPECT_EQ(Start("q /TRACE:272", S(":Quintara"), 0), 121);
    EXPECT_TRUE(g_phases.size() == 1);  // phase 2 does not run
    EXPECT_EQ(dir.Read("log.txt"), "0,ES\r\n");
}

TEST_F(RuntimeStartTest, RuntimeEndFinalCodes) {
    struct Case { ErrCode code, phase3, want; };
    for (Case c : {Case{163, 0, 163}, Case{0, 124, 0}, Case{0, 0, 0}, Case{5, 0, 0}, Case{0, 162, 162}}) {
        ASSERT_EQ(Start("q"), 0);
        g_phase3Answer = c.phase3;
        EXPECT_EQ(RuntimeEnd(Callback, c.code), c.want) << c.code << " " << c.phase3;
        EXPECT_FALSE(MemReady());
    }
}

TEST_F(RuntimeStartTest, ALeakedAreaStopsTheReleaseButNotTheEnd) {
    ASSERT_EQ(Start("q"), 0);
    void* leak = AreaAllocPtr(kOwnerScreens, 16);
    EXPECT_EQ(RuntimeEnd(nullptr, 0), 0);  // owner tags are below 128: the end reports success
    EXPECT_TRUE(MemReady());               // ...and released nothing, naming the screens' tag
    AreaFree(kOwnerScreens, leak);
    EXPECT_EQ(MemShutdown(), 0);
}

TEST_F(RuntimeStartTest, ArgumentVectorsFollowTheProgramPath) {
    const char* argv[] = {"\\bin\\qrt", "--user:abc", "x\r"};
    ASSERT_EQ(RuntimeStartArgs(3, argv, S(":qrt"), S("qrt"), 0, nullptr), 0);
    EXPECT_EQ(Str(SlotGet(0, 1)), "\\bin\\qrt /user:abc x");
    EXPECT_EQ(Str(SlotGet(0, 5)), "\\bin");
    EXPECT_EQ(Str(OptValue(S("user"))), "ABC");
}

TEST_F(RuntimeStartTest, FontSetKeepsSevenFontSettings) {
    ASSERT_EQ(Start("q"), 0);
    for (std::uint16_t i = 1; i <= 8; ++i) EXPECT_EQ(FontSet(i, i, 0, S("Courier New")), 0);
    EXPECT_EQ(FontCount(), 7);
    EXPECT_EQ(FontCurrent()->height, 7);
    EXPECT_EQ(FontCurrent()->weight, 400);
    FontReset();
    FontSet(0xFFFF, 0xFFFF, 1, S("0123456789012345678901234567890123"));
    EXPECT_GT(FontCurrent()->height, 3);
    EXPECT_STREQ(FontCurrent()->face, "");  // a face of 32 bytes or more is not taken
    EXPECT_EQ(FontCurrent()->weight, 700);
    ControlFont cf;
    EXPECT_EQ(ControlFontFor(1, &cf), 163);
    FontReset();
    FontSet(21, 9, 0, S("Courier New"));
    ASSERT_EQ(ControlFontFor(2, &cf), 0);
    EXPECT_EQ(cf.spec.height, 18);
    EXPECT_EQ(cf.spec.width, 8);
    EXPECT_EQ(FontCell().width, 9);
    EXPECT_EQ(FontCell().height, 21);
}

TEST_F(RuntimeStartTest, AboutTextCarriesTheVersionLine) {
    ASSERT_EQ(Start("q"), 0);
    EXPECT_EQ(Str(AboutText(S(""))), "Quintara\r\nVersion 2.20 (0 ES  1900)");
    EXPECT_EQ(Str(AboutText(S("2"))), "Quintara\r\nVersion 2.20 (0 ES 2 1900)");
}

}  // namespace
}  // namespace rt::test
