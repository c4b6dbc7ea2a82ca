// The language files the program ships (lang/KV_LANG_xx.MSJ) against the built-in catalog: the same
// codes, and every text built as its Spanish original is, so that whoever splits it into items,
// fills its %s, reads it as a field-entry form or as the locale record finds the same structure.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "runtime/env/catalog.h"
#include "runtime/env/catalog_builtin.h"
#include "runtime/text/str_bridge.h"
#include "runtime/text/text_clean.h"
#include "runtime/text/text_lists.h"
#include "runtime/vars/format_desc.h"
#include "tests/support/language_file.h"
#include "tests/support/runtime_fixture.h"

namespace rt::test {
namespace {

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string CodeText(int n) {
    char code[8];
    std::snprintf(code, sizeof code, "%04d", n);
    return code;
}

std::size_t CountOf(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++n;
    return n;
}

// The conversions of a format text in order ("%s%s").
std::string Conversions(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i + 1 < text.size(); ++i)
        if (text[i] == '%') out += text.substr(i++, 2);
    return out;
}

std::vector<std::string> Items(const std::string& text, char sep) {
    StrDesc list = StrViewStd(text);
    std::vector<std::string> items;
    for (std::uint16_t i = 1, n = ItemCount(list, static_cast<unsigned char>(sep)); i <= n; ++i)
        items.push_back(Str(Item(list, static_cast<unsigned char>(sep), i)));
    return items;
}

// A field-entry form without its labels: each field's type and default parts ("'A30'::%s").
bool IsForm(const std::string& text) { return text.size() > 2 && text[0] == '\'' && text.find("':'") != std::string::npos; }
std::string FormSkeleton(const std::string& text) {
    std::string out;
    for (const std::string& field : Items(text, ',')) {
        std::vector<std::string> parts = Items(field, ':');
        if (parts.empty() || parts[0].size() < 2 || parts[0].front() != '\'' || parts[0].back() != '\'')
            return "label not quoted: " + field;
        for (std::size_t i = 1; i < parts.size(); ++i) out += ":" + parts[i];
        out += ",";
    }
    return out;
}

// Every code of the built-in catalog with its text; the window's codes are among them.
std::map<int, std::string> BuiltinTexts() {
    std::map<int, std::string> texts;
    for (int n = 1; n <= 999; ++n) {
        std::string text = Str(MsgBuiltin(StrViewStd(CodeText(n))));
        if (!text.empty()) texts[n] = text;
    }
    return texts;
}

class LanguageFilesTest : public RuntimeTest {};

TEST_F(LanguageFilesTest, EveryFileHasEveryCodeBuiltAsTheSpanish) {
    const std::map<int, std::string> builtin = BuiltinTexts();
    ASSERT_TRUE(builtin.count(kMsgWinCodeFirst) && builtin.count(kMsgWinCodeLast));
    const FormatDescriptor spanish = FormatParse(StrViewStd(builtin.at(19)));

    for (const char* language : {"EN", "FR", "DE", "IT"}) {
        SCOPED_TRACE(language);
        const std::string bytes = ReadBytes(std::string(QUINTARA_SOURCE_DIR "/lang/KV_LANG_") + language + ".MSJ");
        ASSERT_FALSE(bytes.empty());

        // CR LF lines, each a four-digit code, a blank and the text; codes ascending.
        std::map<int, std::string> file;
        int previous = 0;
        std::size_t at = 0;
        while (at < bytes.size()) {
            std::size_t end = bytes.find("\r\n", at);
            ASSERT_NE(end, std::string::npos) << "last line without CR LF";
            std::string line = bytes.substr(at, end - at);
            at = end + 2;
            ASSERT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;
            ASSERT_GE(line.size(), 6u) << line;
            ASSERT_EQ(line[4], ' ') << line;
            int n = std::stoi(line.substr(0, 4));
            EXPECT_GT(n, previous) << line;
            previous = n;
            // Within the text a backslash and n stand for a line break.
            std::string text = line.substr(5);
            for (std::size_t p = text.find("\\n"); p != std::string::npos; p = text.find("\\n", p + 2))
                text.replace(p, 2, "\r\n");
            file[n] = text;
        }

        std::vector<int> missing, extra;
        for (const auto& [n, text] : builtin)
            if (!file.count(n)) missing.push_back(n);
        for (const auto& [n, text] : file)
            if (!builtin.count(n)) extra.push_back(n);
        EXPECT_EQ(missing, std::vector<int>{});
        EXPECT_EQ(extra, std::vector<int>{});

        for (const auto& [n, text] : file) {
            if (!builtin.count(n)) continue;
            const std::string& es = builtin.at(n);
            SCOPED_TRACE(CodeText(n) + " " + text);
            EXPECT_FALSE(text.empty());
            EXPECT_EQ(Items(text, ',').size(), Items(es, ',').size()) << "comma items outside quotes";
            EXPECT_EQ(Conversions(text), Conversions(es));
            EXPECT_EQ(CountOf(text, "'"), CountOf(es, "'"));
            EXPECT_EQ(CountOf(text, "\""), CountOf(es, "\""));
            EXPECT_EQ(CountOf(text, "\r\n"), CountOf(es, "\r\n"));
            EXPECT_EQ(CountOf(text, "&"), CountOf(es, "&")) << "mnemonics";
            EXPECT_EQ(text.back() == ' ', es.back() == ' ') << "trailing blank";
            if (IsForm(es)) EXPECT_EQ(FormSkeleton(text), FormSkeleton(es));
            // Empty items stay empty (0023's items 3 and 4), filled ones filled.
            std::vector<std::string> items = Items(text, ','), es_items = Items(es, ',');
            for (std::size_t i = 0; i < items.size() && i < es_items.size() && n != 19; ++i)
                EXPECT_EQ(items[i].empty(), es_items[i].empty()) << "item " << i + 1;
        }

        // The locale record: number and logical conventions, month names and the long-date pattern.
        const FormatDescriptor f = FormatParse(StrViewStd(file[19]));
        EXPECT_NE(f.decimal, f.thousands);
        for (char c : std::string("0123456789-D") + f.decimal)
            EXPECT_NE(f.number_chars.find(c), std::string::npos) << c;
        EXPECT_EQ(f.letters[0], ' ');
        EXPECT_NE(f.letters[1], f.letters[2]);
        EXPECT_EQ(f.words[0], spanish.words[0]);
        EXPECT_FALSE(f.words[1].empty() || f.words[2].empty());
        std::vector<std::string> dates = Items(file[117], ',');
        ASSERT_EQ(dates.size(), 2u);
        std::vector<std::string> months = Items(Str(Unquote(StrViewStd(dates[0]))), ',');
        EXPECT_EQ(months.size(), 12u);
        for (const std::string& month : months) EXPECT_GE(month.size(), 3u);
        for (const char* part : {"[D]", "[M]", "[Y]"}) EXPECT_NE(dates[1].find(part), std::string::npos) << part;

        // The yes and no letters of the message boxes are the logical letters' true and false.
        std::vector<std::string> answers = Items(file[11], ',');
        ASSERT_EQ(answers.size(), 2u);
        EXPECT_EQ(answers[0][0], f.letters[2]);
        EXPECT_EQ(answers[1][0], f.letters[1]);

        // Loaded as the run's language file, every code gives the file's text.
        LanguageFile loaded(language, bytes);
        for (const auto& [n, text] : file) EXPECT_EQ(Str(MsgText(StrViewStd(CodeText(n)))), text) << CodeText(n);
        EXPECT_EQ(Str(MsgLangCode()), language);
        MsgLangReset();
    }
}

}  // namespace
}  // namespace rt::test
