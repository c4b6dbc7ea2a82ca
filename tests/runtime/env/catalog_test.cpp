// Message lookup: the built-in Spanish catalog, codes with their own default text, and language
// files found in the default folder at the first lookup of the run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "runtime/env/catalog.h"
#include "runtime/env/catalog_builtin.h"
#include "runtime/text/slot_table.h"
#include "tests/support/runtime_fixture.h"
#include "tests/support/temp_folder.h"

namespace rt::test {
namespace {

namespace fs = std::filesystem;

// Codes the runtime reads from the built-in catalog.
const char* const kUsedCodes[] = {
    "0005", "0007", "0008", "0009", "0011", "0012", "0013", "0014", "0016", "0017", "0019", "0020",
    "0023", "0024", "0025", "0040", "0051", "0055", "0056", "0057", "0060", "0061", "0062", "0063",
    "0064", "0065", "0066", "0067", "0068", "0075", "0080", "0085", "0086", "0087", "0088", "0089",
    "0090", "0091", "0094", "0095", "0096", "0097", "0098", "0099", "0100", "0101", "0117",
};

// Each test gets a fresh runtime, an empty temporary folder as the default folder (slot 0, 5) and
// a language state that has not looked for a file yet.
class CatalogTest : public RuntimeTest {
protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        ASSERT_FALSE(folder_.path().empty());
        dir_ = folder_.path();
        std::string runtimePath = dir_.string();
        for (char& c : runtimePath)
            if (c == '/') c = '\\';
        ASSERT_EQ(SlotSet(0, 5, D(runtimePath)), 0);
        MsgLangReset();
    }
    void TearDown() override {
        MsgLangReset();
        RuntimeTest::TearDown();
    }
    void WriteFile(const std::string& name, const std::string& bytes) {
        std::ofstream out(dir_ / name, std::ios::binary);
        out << bytes;
    }
    static std::string Msg(const char* code) { return Str(MsgText(code)); }

    rt::test::TempFolder folder_;
    fs::path dir_;
};

TEST_F(CatalogTest, BuiltInTextsAreExact) {
    struct Case {
        const char* code;
        std::string text;
    } cases[] = {
        {"0009", "Error "},
        {"0040", "\xBF" "Desea ver Incidencias?"},
        {"0088", "Selecci\xF3n de Fichero"},
        {"0089", "Relativa,Secuencial,Delimitada,Listado"},
        {"0005", "Proceso Completado Satisfactoriamente"},
        {"0017", "Parametros incorrectos para campo de pantalla%s\r\n (%s)"},
        {"0019", ",.'0123456789,-D',' NS','  ,NO,SI'"},
        {"0023", "Clave no encontrada,Fin de fichero,,,Clave incorrecta,Clave Repetida,Datos Cambiados. "
                 "Grabaci\xF3n canceleda,Datos Cambiados. Confirmar,Contrase\xF1" "as no coinciden"},
        {"0091", "'Servidor:':'A30'::%s,'Base:':'A30'::%s,'Usuario:':'A30'::%s,'Contrase\xF1"
                 "a:':'P30'::%s,'Recordar (S/N):':'L1'"},
        {"0095", "'Fichero:':'A255'::'%s','Modo a\xF1" "adir:':'L1'::'1'"},
        {"0117", "'Enero,Febrero,Marzo,Abril,Mayo,Junio,Julio,Agosto,Septiembre,Octubre,Noviembre,"
                 "Diciembre','[D] de [M] de [Y]'"},
        {"0069", ""},  // not in the catalog
        {"0131", ""},
        {"0001", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(Msg(c.code), c.text) << c.code;
    EXPECT_EQ(MsgLangState(), LangState::kTried);
}

TEST_F(CatalogTest, EveryUsedCodeFindsItsOwnRecord) {
    // A code must never be found inside another message, and a text never runs into the next record.
    std::vector<std::string> codes(std::begin(kUsedCodes), std::end(kUsedCodes));
    for (int n = kMsgWinCodeFirst; n <= kMsgWinCodeLast; ++n) {
        char code[8];
        std::snprintf(code, sizeof code, "%04d", n);
        codes.push_back(code);
    }
    for (const std::string& name : codes) {
        const char* code = name.c_str();
        std::string text = Msg(code);
        EXPECT_FALSE(text.empty()) << code;
        EXPECT_EQ(text.find('\t'), std::string::npos) << code;
        std::string block = Str(CatalogBlock(std::atoi(code) < 40 ? 0 : std::atoi(code) < 89 ? 1 : 2));
        EXPECT_NE(block.find(std::string(code) + " " + text), std::string::npos) << code;
    }
    // The first block starts with a tab, the other two directly with their first code.
    EXPECT_EQ(Str(CatalogBlock(0)).substr(0, 1), "\t");
    EXPECT_EQ(Str(CatalogBlock(1)).substr(0, 5), "0040 ");
    EXPECT_EQ(Str(CatalogBlock(2)).substr(0, 5), "0089 ");
}

TEST_F(CatalogTest, WindowTextsAreTheDialogsSpanish) {
    EXPECT_EQ(Msg(kMsgWinCaption), "Quintara de Contactos");
    EXPECT_EQ(Msg(kMsgWinDial), "Marcar Tel\xE9" "fono");
    EXPECT_EQ(Msg(kMsgMenuImportExternal), "E&xterno");
    EXPECT_EQ(Msg(kMsgAboutVersion), "Quintara Versi\xF3n 1.0");
    EXPECT_EQ(Msg(kMsgAboutItem), "&Acerca de Quintara...");
}

// The loaded file's name gives the language code; a chosen file (or none) replaces the search.
TEST_F(CatalogTest, LanguageCodeOfTheFileAndAChosenFile) {
    WriteFile("Kv_Lang_It.msj", "0009 Errore \r\n");
    WriteFile("other.txt", "0009 Other \r\n");
    EXPECT_EQ(Str(MsgLangCode()), "");  // nothing loaded yet
    EXPECT_EQ(Msg("0009"), "Errore ");
    EXPECT_EQ(Str(MsgLangCode()), "IT");

    MsgLangChoose(StrFromC((dir_ / "other.txt").string().c_str()));
    MsgLangReset();
    EXPECT_EQ(Msg("0009"), "Other ");
    EXPECT_EQ(Str(MsgLangCode()), "");  // a name that gives no language

    MsgLangChoose(StrEmpty());
    MsgLangReset();
    EXPECT_EQ(Msg("0009"), "Error ");
    EXPECT_EQ(MsgLangState(), LangState::kTried);

    MsgLangUnchoose();
    MsgLangReset();
    EXPECT_EQ(Msg("0009"), "Errore ");
}

TEST_F(CatalogTest, CodeWithItsOwnDefaultText) {
    EXPECT_EQ(Msg("0999 Texto propio"), "Texto propio");
    // Without a language file the code's own text wins over the catalog.
    EXPECT_EQ(Msg("0009 Fallo"), "Fallo");
    EXPECT_EQ(Msg("0999 "), "");
    // A code that reads as 0 goes to the catalog, which has nothing for it.
    EXPECT_EQ(Msg("abcd xyz"), "");
    EXPECT_EQ(Msg("12"), "");
}

TEST_F(CatalogTest, LanguageFileWithGapsAndLineBreaks) {
    WriteFile("KV_LANG_EN.MSJ",
              "0012 Aviso\\nGeneral\r\n"
              "comment line\r\n"
              "0013 Fatal alert\r\n"
              "0016 In progress\n");
    ASSERT_EQ(SlotSet(0, 4, S("EN")), 0);
    EXPECT_EQ(Msg("0012"), "Aviso\r\nGeneral");
    EXPECT_EQ(MsgLangState(), LangState::kLoaded);
    EXPECT_EQ(Msg("0013"), "Fatal alert");
    EXPECT_EQ(Msg("0014"), "");  // inside the file's range but missing from it
    EXPECT_EQ(Msg("0015"), "");
    EXPECT_EQ(Msg("0016"), "In progress");
    EXPECT_EQ(Msg("0011"), "Ss,Nn");  // before the range: built-in
    EXPECT_EQ(Msg("0017"), "Parametros incorrectos para campo de pantalla%s\r\n (%s)");  // after it
    EXPECT_EQ(Msg("0999 Propio"), "Propio");
    EXPECT_EQ(SlotCount(37), 0);  // the work queue is left empty
}

TEST_F(CatalogTest, FirstLookupDecidesTheFile) {
    WriteFile("KV_LANG_DE.MSJ", "0009 Fehler \r\n");
    WriteFile("KV_LANG_FR.MSJ", "0009 Erreur \r\n");
    // With no language code yet, the first file found (in name order) serves the run.
    EXPECT_EQ(Msg("0009"), "Fehler ");
    ASSERT_EQ(SlotSet(0, 4, S("FR")), 0);
    EXPECT_EQ(Msg("0009"), "Fehler ");

    MsgLangReset();
    EXPECT_EQ(Msg("0009"), "Erreur ");

    // A run that found nothing does not look again.
    MsgLangReset();
    ASSERT_EQ(SlotSet(0, 4, S("IT")), 0);
    EXPECT_EQ(Msg("0009"), "Error ");
    WriteFile("KV_LANG_IT.MSJ", "0009 Errore \r\n");
    EXPECT_EQ(Msg("0009"), "Error ");
    EXPECT_EQ(MsgLangState(), LangState::kTried);
}

TEST_F(CatalogTest, FilesOf256LinesOrMoreAreNotUsed) {
    for (int lines : {255, 256, 300}) {
        std::string file;
        for (int i = 1; i <= lines; ++i) {
            char line[32];
            std::snprintf(line, sizeof line, "%04d T%d\r\n", i, i);
            file += line;
        }
        WriteFile("KV_LANG_EN.MSJ", file);
        ASSERT_EQ(SlotSet(0, 4, S("EN")), 0);
        MsgLangReset();
        bool used = lines <= 255;
        EXPECT_EQ(Msg("0009"), used ? "T9" : "Error ") << lines;
        EXPECT_EQ(Msg("0131"), used ? "T131" : "") << lines;
        EXPECT_EQ(MsgLangState(), used ? LangState::kLoaded : LangState::kTried) << lines;
        EXPECT_EQ(SlotCount(37), 0) << lines;
    }
}

TEST_F(CatalogTest, CodesOutOfOrderKeepTheirOwnTexts) {
    // Repeated and descending codes are skipped; the texts of the others stay with their codes.
    WriteFile("KV_LANG_EN.MSJ", "0020 Cancel\r\n0012 Late\r\n0020 Again\r\n0023 Not found\r\n");
    ASSERT_EQ(SlotSet(0, 4, S("EN")), 0);
    EXPECT_EQ(Msg("0020"), "Cancel");
    EXPECT_EQ(Msg("0012"), "Mensaje Informativo");
    EXPECT_EQ(Msg("0023"), "Not found");
    EXPECT_EQ(Msg("0021"), "");
}

TEST_F(CatalogTest, LanguageIndexAndFileNames) {
    struct IndexCase {
        const char* code;
        std::uint16_t index;
    } indexCases[] = {{"EN", 1}, {"ES", 2}, {"IT", 5}, {"es", 0}, {"", 0}, {"XX", 0}};
    for (const IndexCase& c : indexCases) {
        ASSERT_EQ(SlotSet(0, 4, StrFromC(c.code)), 0);
        EXPECT_EQ(LangIndex(), c.index) << c.code;
    }

    ASSERT_EQ(SlotSet(0, 4, S("FR")), 0);
    struct NameCase {
        const char* path;
        int index;
        const char* result;
    } nameCases[] = {
        {"C:\\app\\help.htm", 2, "C:\\app\\help_es.htm"},
        {"C:\\app\\help.htm", -1, "C:\\app\\help_fr.htm"},
        {"C:\\app\\help.htm", 0, "C:\\app\\help.htm"},
        {"C:\\app\\help.htm", 9, "C:\\app\\help.htm"},
        {"C:\\app\\help", 1, "C:\\app\\help_en"},
        {"C:\\app\\help.tar.gz", 4, "C:\\app\\help_de.tar.gz"},
    };
    for (const NameCase& c : nameCases)
        EXPECT_EQ(Str(LangFileName(StrFromC(c.path), c.index)), c.result) << c.path << " " << c.index;

    ASSERT_EQ(SlotSet(0, 4, S("XX")), 0);
    EXPECT_EQ(Str(LangFileName(S("help.htm"), -1)), "help.htm");
}

}  // namespace
}  // namespace rt::test
