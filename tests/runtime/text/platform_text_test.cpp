// Runtime text to platform text and back, and the conversion of UTF-16 files.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

#include "runtime/env/streams.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/platform_text.h"
#include "runtime/env/utf16_file.h"
#include "tests/support/runtime_fixture.h"
#include "tests/support/temp_folder.h"

namespace rt {
namespace {

using test::D;
using test::Str;

class PlatformText : public test::RuntimeTest {};

TEST_F(PlatformText, AccentsStayAndHighBytesBecomeTheirCharacters) {
    std::uint16_t m = DynMark();
    const char16_t* p = ToPlatform(S("A\xf1o \xc1\xc9 \x80"));
    EXPECT_EQ(DynMark(), m + 1);
    EXPECT_EQ(std::u16string(p), u"A\u00f1o \u00c1\u00c9 \u20ac");
    EXPECT_EQ(Cp1252ToUnit(0x8D), 0x8D);  // undefined bytes keep their own code point
    EXPECT_EQ(Cp1252ToUnit(0x9F), 0x0178);
    EXPECT_EQ(std::u16string(ToPlatform(StrError(145))), u"");
}

TEST_F(PlatformText, EveryByteSurvivesTheRoundTrip) {
    std::string all;
    for (int b = 1; b <= 255; ++b) all += static_cast<char>(b);
    std::uint16_t m = DynMark();
    const char16_t* p = ToPlatform(D(all));
    StrDesc back = FromPlatform(p);
    EXPECT_EQ(DynMark(), m + 2);
    EXPECT_EQ(Str(back), all);
}

TEST_F(PlatformText, CharactersWithoutAByteBecomeQuestionMarks) {
    struct Case { std::u16string units; std::string want; };
    const Case cases[] = {
        {u"\u20ac5", "\x80" "5"},
        {u"A\u00f1o \u00c1\u00c9", "A\xf1o \xc1\xc9"},
        {u"\u0080\u0100x", "??x"},           // C1 control 0x80 and a letter outside the code page
        {u"a\U0001F600b", "a?b"},             // a surrogate pair is one character
        {u"a\xD800", "a?"},                   // a lone surrogate
        {std::u16string(u"a\0b", 3), std::string("a\0b", 3)},
    };
    for (const Case& c : cases) {
        std::uint16_t m = DynMark();
        StrDesc r = FromPlatform(c.units.data(), c.units.size());
        EXPECT_EQ(DynMark(), m + 1);
        EXPECT_EQ(Str(r), c.want);
    }
    EXPECT_EQ(FromPlatform(nullptr, 0).len, 163);
}

TEST(PlatformTextPairs, NarrowsInPlace) {
    char buf[] = {'a', 0, static_cast<char>(0xAC), 0x20, 0x3D, static_cast<char>(0xD8),
                  0x00, static_cast<char>(0xDE), static_cast<char>(0xF1), 0, 'z'};
    StrDesc r = NarrowPairs(StrDesc{buf, sizeof buf});
    EXPECT_EQ(Str(r), "a\x80?\xf1");  // euro, one '?' for the pair, the odd byte dropped
}

class Utf16File : public test::RuntimeTest {
protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        ASSERT_FALSE(folder_.path().empty());
        dir_ = folder_.path();
        setenv("TEMP", dir_.c_str(), 1);
    }
    void TearDown() override {
        for (const std::string& f : files_) std::remove(f.c_str());
        unsetenv("TEMP");
        RuntimeTest::TearDown();
    }
    std::string Write(const std::string& name, const std::string& bytes) {
        std::string path = dir_ + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        files_.push_back(path);
        return path;
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // The runtime path of a temporary name, as the operating system spells it.
    std::string SystemPath(StrDesc name) {
        std::string p = Str(name);
        for (char& c : p)
            if (c == '\\') c = '/';
        files_.push_back(p);
        return p;
    }
    static std::string Le(const std::u16string& s) {
        std::string out;
        for (char16_t u : s) {
            out += static_cast<char>(u & 0xFF);
            out += static_cast<char>(u >> 8);
        }
        return out;
    }
    rt::test::TempFolder folder_;
    std::string dir_;
    std::vector<std::string> files_;
};

TEST_F(Utf16File, RecognisesTheMark) {
    EXPECT_TRUE(IsUtf16File(D(Write("u.csv", "\xff\xfe" "a\0"))));
    EXPECT_FALSE(IsUtf16File(D(Write("p.csv", "ab"))));
    EXPECT_FALSE(IsUtf16File(D(Write("s.csv", "\xff"))));
    EXPECT_FALSE(IsUtf16File(D(dir_ + "/missing.csv")));

    std::uint16_t h = StreamOpen(D(Write("h.csv", "\xff\xfe" "a\0b\0")), kStreamReadOnly | kStreamQuiet);
    ASSERT_LT(h, kStreamCount);
    ASSERT_EQ(StreamSeek(h, 2), 0);
    EXPECT_TRUE(IsUtf16File(h));
    EXPECT_EQ(StreamPos(h), 2u);  // the reader goes on where it was
    EXPECT_EQ(StreamClose(h), 0);
}

TEST_F(Utf16File, ConvertsAfterTheMarkAcrossChunks) {
    // Long enough for several 1,024-byte chunks, with a surrogate pair split by a chunk boundary.
    std::u16string text = u"Nombre;Poblaci\u00f3n\r\n\u20ac;A\u00f1o\r\n";
    std::string want = "Nombre;Poblaci\xf3n\r\n\x80;A\xf1o\r\n";
    std::u16string body;
    std::string wantAll;
    while (body.size() < 511) { body += u'x'; wantAll += 'x'; }
    body += u"\U0001F600";  // units 511 and 512: bytes 1,022 to 1,025 after the mark
    wantAll += '?';
    for (int i = 0; i < 60; ++i) { body += text; wantAll += want; }
    std::string src = Write("in.csv", "\xff\xfe" + Le(body) + "!");  // an odd last byte is dropped

    std::uint16_t m = DynMark();
    StrDesc name = Utf16FileToTemp(D(src));
    ASSERT_FALSE(name.IsError()) << name.len;
    EXPECT_EQ(DynMark(), m + 1);
    EXPECT_NE(Str(name).find('\\'), std::string::npos);  // a runtime path
    EXPECT_EQ(Read(SystemPath(name)), wantAll);
}

TEST_F(Utf16File, FailuresAreReported) {
    EXPECT_EQ(Utf16FileToTemp(D(dir_ + "/missing.csv")).len, 164);
    StrDesc name = Utf16FileToTemp(D(Write("mark.csv", "\xff\xfe")));
    ASSERT_FALSE(name.IsError());
    EXPECT_EQ(Read(SystemPath(name)), "");
}

}  // namespace
}  // namespace rt
