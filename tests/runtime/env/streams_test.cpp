// File streams over real files: the line reader, opening rules, writes and the table limit.
#include "runtime/env/streams.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "runtime/env/errors.h"
#include "tests/support/runtime_fixture.h"
#include "tests/support/temp_folder.h"

namespace fs = std::filesystem;

namespace rt::test {
namespace {

class StreamsTest : public RuntimeTest {
protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        ASSERT_FALSE(folder_.path().empty());
        dir_ = folder_.path();
        ErrClear();
        ErrSetText(0, S(""));
    }
    void TearDown() override {
        for (std::uint16_t h : open_) StreamClose(h);
        ErrClear();
        ErrSetText(0, S(""));
        RuntimeTest::TearDown();
    }
    // The runtime's spelling of a file in the test folder.
    std::string Path(const std::string& name) const {
        std::string p = dir_ + "/" + name;
        std::replace(p.begin(), p.end(), '/', '\\');
        return p;
    }
    void Write(const std::string& name, const std::string& content) {
        std::ofstream(dir_ + "/" + name, std::ios::binary) << content;
    }
    std::string Content(const std::string& name) {
        std::ifstream in(dir_ + "/" + name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::uint16_t Open(const std::string& name, std::uint16_t flags) {
        std::uint16_t h = StreamOpen(D(Path(name)), flags);
        if (h >= kStreamFirstFile && h < kStreamCount) open_.push_back(h);
        return h;
    }
    // Every line StreamReadDyn gives until end of file.
    std::vector<std::string> ReadLines(const std::string& content) {
        Write("lines.txt", content);
        std::uint16_t h = Open("lines.txt", kStreamReadOnly);
        std::vector<std::string> lines;
        EXPECT_LT(h, kStreamCount);
        for (int guard = 0; guard < 100; ++guard) {
            std::uint16_t mark = DynMark();
            StrDesc line = StreamReadDyn(h, kStreamHere, kStreamLine);
            if (line.IsError()) {
                EXPECT_EQ(line.len, 130);
                EXPECT_EQ(DynMark(), mark);
                break;
            }
            EXPECT_EQ(DynMark(), mark + 1);  // the line is claimed on the arena
            lines.push_back(Str(line));
            DynRelease(mark);
        }
        return lines;
    }

    rt::test::TempFolder folder_;
    std::string dir_;
    std::vector<std::uint16_t> open_;
};

using LineList = std::vector<std::string>;

TEST_F(StreamsTest, LineEnds) {
    std::string a511(511, 'a'), long1500(1500, 'x');
    struct Case { std::string content; LineList want; } cases[] = {
        {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
        {"x\r\n\x1A", {"x"}},                    // closing Ctrl-Z
        {"x\x1A", {"x"}},                        // Ctrl-Z right after an unterminated last line
        {"", {}},
        {"\r\n\n", {"", ""}},
        {"a\n\rb", {"a", "", "b"}},              // LF CR is two line ends
        {a511 + "\r\nb", {a511, "b"}},           // CR LF split between two 512-byte pieces
        {long1500 + "\ny", {long1500, "y"}},
        {"mid\x1A" "dle\n", {"mid\x1A" "dle"}},  // Ctrl-Z inside the text is data
    };
    for (const Case& c : cases) EXPECT_EQ(ReadLines(c.content), c.want) << c.content.substr(0, 20);
}

TEST_F(StreamsTest, ReadsAtPositionsAndIntoSmallBuffers) {
    Write("f.txt", "first\r\nsecond\r\n");
    std::uint16_t h = Open("f.txt", kStreamReadOnly);
    char buffer[16];
    EXPECT_EQ(StreamRead(h, 7, kStreamLine, buffer, sizeof buffer), 6);
    EXPECT_EQ(std::string(buffer, 6), "second");
    EXPECT_EQ(StreamPos(h), 15u);
    EXPECT_TRUE(StreamAtEnd(h));
    EXPECT_EQ(StreamRead(h, kStreamHere, kStreamLine, buffer, sizeof buffer), kStreamBad);
    // A line longer than the buffer comes in buffer-sized parts.
    EXPECT_EQ(StreamRead(h, 0, kStreamLine, buffer, 3), 3);
    EXPECT_EQ(std::string(buffer, 3), "fir");
    EXPECT_EQ(StreamRead(h, kStreamHere, kStreamLine, buffer, sizeof buffer), 2);
    // A CR that fills the buffer still takes its LF along: no empty line follows.
    EXPECT_EQ(StreamRead(h, 0, kStreamLine, buffer, 6), 5);
    EXPECT_EQ(StreamPos(h), 7u);
    EXPECT_EQ(StreamRead(h, kStreamHere, kStreamLine, buffer, sizeof buffer), 6);
    // Block reads: fewer bytes at the end, then end of file.
    EXPECT_EQ(StreamRead(h, 10, 10, buffer, sizeof buffer), 5);
    EXPECT_EQ(std::string(buffer, 5), "ond\r\n");
    EXPECT_EQ(StreamRead(h, kStreamHere, 10, buffer, sizeof buffer), kStreamBad);
    EXPECT_EQ(StrCheck(StreamReadDyn(h, 15, 4)), 130);
    EXPECT_EQ(StreamSize(h), 15u);
    EXPECT_EQ(StreamSeek(h, 2), 0);
    EXPECT_EQ(StreamPos(h), 2u);
}

TEST_F(StreamsTest, OpeningMissingFiles) {
    std::uint16_t h = Open("new.dat", kStreamUpdate);
    ASSERT_LT(h, kStreamCount);
    EXPECT_TRUE(fs::exists(dir_ + "/new.dat"));
    EXPECT_EQ(StreamSize(h), 0u);

    EXPECT_EQ(Open("absent.dat", kStreamReadOnly | kStreamUpdate | kStreamQuiet), 164);
    EXPECT_FALSE(fs::exists(dir_ + "/absent.dat"));
    EXPECT_EQ(ErrNoted(), 0u);  // quiet: nothing noted

    EXPECT_EQ(Open("absent.dat", kStreamReadOnly | kStreamUpdate), kStreamBad);
    EXPECT_EQ(Str(ErrDetail()), Path("absent.dat"));
    EXPECT_EQ(ErrNoted(), (std::uint32_t(kAreaStreams) << 16) | 164u);
    // A second failure appends its path to the detail.
    EXPECT_EQ(Open("other.dat", kStreamReadOnly), kStreamBad);
    EXPECT_EQ(Str(ErrDetail()), Path("absent.dat") + "\r\n" + Path("other.dat"));

    // A folder is no file: reading it would give empty lines for ever.
    fs::create_directory(dir_ + "/folder");
    EXPECT_EQ(Open("folder", kStreamReadOnly | kStreamQuiet), 164);
    EXPECT_EQ(Open("folder", kStreamUpdate | kStreamQuiet), 164);
    EXPECT_EQ(Open("folder", kStreamWrite | kStreamQuiet), 164);
    EXPECT_TRUE(fs::is_directory(dir_ + "/folder"));

    EXPECT_EQ(StreamOpen(S(""), kStreamQuiet), 163);
    EXPECT_EQ(StreamOpen(D(std::string(384, 'a')), kStreamQuiet), 163);
    EXPECT_EQ(StreamOpen(StrError(146), kStreamQuiet), 163);
}

TEST_F(StreamsTest, ReadingFindsANameWrittenInOtherCase) {
    Write("KV_LANG_ES.MSJ", "0001 Hola\r\n");
    std::uint16_t h = Open("kv_lang_es.msj", kStreamReadOnly);
    ASSERT_LT(h, kStreamCount);
    std::uint16_t mark = DynMark();
    EXPECT_EQ(Str(StreamReadDyn(h, kStreamHere, kStreamLine)), "0001 Hola");
    DynRelease(mark);
}

TEST_F(StreamsTest, WritesAtPositionsAndAtTheEnd) {
    Write("w.dat", "0123456789");
    std::uint16_t h = Open("w.dat", kStreamUpdate);
    EXPECT_EQ(StreamWrite(h, kStreamHere, S("ab")), 2);
    EXPECT_EQ(StreamWrite(h, 3, S("X")), 1);
    std::string big(2000, 'z');
    EXPECT_EQ(StreamWrite(h, kStreamHere, D(big)), 2000);
    EXPECT_EQ(StreamWrite(h, 0, StrError(137)), 137);
    EXPECT_EQ(StreamSize(h), 2012u);
    // Reading right after writing on the same stream.
    char buffer[12];
    EXPECT_EQ(StreamRead(h, 0, 12, buffer, sizeof buffer), 12);
    EXPECT_EQ(std::string(buffer, 12), "012X456789ab");
    StreamClose(h);
    EXPECT_EQ(Content("w.dat"), "012X456789ab" + big);

    std::uint16_t r = Open("w.dat", kStreamReadOnly);
    EXPECT_EQ(StreamWrite(r, 0, S("no")), kStreamBad);  // opened for reading only

    std::uint16_t t = Open("t.dat", kStreamWrite);
    EXPECT_EQ(StreamWrite(t, kStreamHere, S("new")), 3);
    std::uint16_t a = Open("t.dat", kStreamAppend);
    EXPECT_EQ(StreamWrite(a, 0, S("+")), 1);  // appending ignores the position
    StreamClose(t);
    StreamClose(a);
    EXPECT_EQ(Content("t.dat"), "new+");
}

TEST_F(StreamsTest, FileAppendText) {
    Write("p.dat", "old content");
    EXPECT_EQ(FileAppendText(D(Path("p.dat")), kStreamRewrite, S("new")), 0);
    EXPECT_EQ(Content("p.dat"), "new");
    EXPECT_EQ(FileAppendText(D(Path("p.dat")), kStreamHere, S("\r\nmore")), 0);
    EXPECT_EQ(Content("p.dat"), "new\r\nmore");
    EXPECT_EQ(FileAppendText(D(Path("p.dat")), 0, S("N")), 0);
    EXPECT_EQ(Content("p.dat"), "New\r\nmore");
    EXPECT_EQ(FileAppendText(D(Path("p.dat")), kStreamHere, S("")), 131);
    EXPECT_EQ(Content("p.dat"), "New\r\nmore");
    // Rewriting with no text still empties the file; the empty write itself reports 131.
    EXPECT_EQ(FileAppendText(D(Path("p.dat")), kStreamRewrite, S("")), 131);
    EXPECT_TRUE(fs::exists(dir_ + "/p.dat"));
    EXPECT_EQ(Content("p.dat"), "");
    EXPECT_EQ(FileAppendText(D(Path("p.dat")), kStreamRewrite, StrError(145)), 131);
    EXPECT_TRUE(fs::exists(dir_ + "/p.dat"));
    EXPECT_EQ(FileAppendText(D(Path("created.dat")), kStreamHere, S("c")), 0);
    EXPECT_EQ(Content("created.dat"), "c");
    EXPECT_EQ(FileDelete(D(Path("created.dat"))), 0);
    EXPECT_NE(FileDelete(D(Path("created.dat"))), 0);
}

TEST_F(StreamsTest, The38thOpenFileFails) {
    Write("shared.txt", "x");
    std::vector<std::uint16_t> handles;
    for (int i = 0; i < 37; ++i) handles.push_back(Open("shared.txt", kStreamReadOnly));
    EXPECT_EQ(handles.front(), kStreamFirstFile);
    EXPECT_EQ(handles.back(), kStreamCount - 1);
    EXPECT_EQ(Open("shared.txt", kStreamReadOnly | kStreamQuiet), 168);
    EXPECT_EQ(Open("shared.txt", kStreamReadOnly), kStreamBad);
    EXPECT_EQ(ErrNoted(), (std::uint32_t(kAreaStreams) << 16) | 168u);
    // Closing one frees exactly that entry.
    EXPECT_EQ(StreamClose(10), 0);
    EXPECT_EQ(StreamOpen(D(Path("shared.txt")), kStreamReadOnly), 10);
    EXPECT_EQ(StreamClose(40), 163);
}

TEST_F(StreamsTest, ConsoleAndStandardStreams) {
    EXPECT_EQ(StreamOpen(S("CON"), kStreamWrite), 1);
    EXPECT_EQ(StreamOpen(S("con"), kStreamReadOnly), 0);
    EXPECT_EQ(StreamOpen(S("CON"), kStreamWrite | kStreamReadOnly), 0);
    EXPECT_EQ(StreamClose(1), 0);  // left open
    EXPECT_EQ(StreamWrite(2, kStreamHere, S("")), 0);
    EXPECT_EQ(StreamSize(1), kStreamNoSize);
}

TEST_F(StreamsTest, StandardInputLines) {
    struct Case { std::string content; LineList want; } cases[] = {
        {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
        {"x\r\n\x1A", {"x"}},  // the closing Ctrl-Z is no line of its own
        {"x\x1A", {"x"}},
    };
    for (const Case& c : cases) {
        Write("stdin.txt", c.content);
        ASSERT_NE(std::freopen((dir_ + "/stdin.txt").c_str(), "rb", stdin), nullptr);
        LineList lines;
        char buffer[32];
        for (int guard = 0; guard < 10; ++guard) {
            std::uint16_t n = StreamRead(0, kStreamHere, kStreamLine, buffer, sizeof buffer);
            if (n == kStreamBad) break;
            lines.emplace_back(buffer, n);
        }
        EXPECT_EQ(lines, c.want) << c.content;
    }
}

TEST_F(StreamsTest, FileKindExtensions) {
    EXPECT_EQ(Str(FileKindExt(kFileKindPlain)), "");
    EXPECT_EQ(Str(FileKindExt(kFileKindFd)), "FD");
    EXPECT_EQ(Str(FileKindExt(kFileKindTmp)), "TMP");
    EXPECT_EQ(Str(FileKindExt(kFileKindDir | kFileKindLower)), "dir");
    EXPECT_EQ(Str(FileKindExt(kFileKindTxt | kFileKindLower)), "txt");
    EXPECT_EQ(Str(FileKindExt(7)), "");
}

}  // namespace
}  // namespace rt::test
