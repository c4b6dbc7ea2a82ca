// Keys: default keys, field lists of segments, key values and key lookups.
#include "runtime/data/keys.h"

#include <gtest/gtest.h>

#include <vector>

#include "runtime/data/file_open.h"
#include "runtime/data/record_buffer.h"
#include "tests/runtime/data/data_fixture.h"

namespace rt::test {
namespace {

class KeysTest : public DataTest {};

std::vector<std::uint16_t> Fields(std::uint8_t n, std::uint16_t key) {
    KeyFieldList list = KeyFields(n, key);
    return std::vector<std::uint16_t>(list.fields, list.fields + list.count);
}

TEST_F(KeysTest, DefaultKeyEndsWithNLineOrField1) {
    AddFile("lineas", {{"DOC", 10, 'A'}, {"CLIENTE", 20, 'A'}, {"N_LINE", 4, 'N'}, {"TEXTO", 30, 'A'}});
    AddFile("simple", {{"NOMBRE", 25, 'A'}, {"EDAD", 3, 'N'}});
    AddFile("vacio", {});
    EXPECT_EQ(KeyDefaults(3), 0);
    struct Case { std::uint8_t file; std::uint16_t length; std::vector<std::uint16_t> fields; } cases[] = {
        {1, 34, {1}}, {2, 25, {1}}, {3, 0, {}}};
    for (const Case& c : cases) {
        ASSERT_EQ(KeyCount(c.file), 1) << int{c.file};
        KeyDesc key = KeyInfo(c.file, 1);
        EXPECT_EQ(key.count, 1);
        EXPECT_EQ(key.segments[0].offset, 0);
        EXPECT_EQ(key.segments[0].length, c.length);
        EXPECT_EQ(Fields(c.file, 1), c.fields) << int{c.file};
    }
    EXPECT_EQ(KeyDefaults(3), 0);
    EXPECT_EQ(KeyCount(1), 1) << "files are given their default key once";
}

TEST_F(KeysTest, AddingAKeyGivesEarlierKeylessFilesTheirDefault) {
    AddFile("uno", {{"A", 5, 'A'}});
    AddFile("dos", {{"B", 6, 'A'}, {"C", 4, 'N'}});
    KeySegment seg[] = {{6, 4}, {0, 6}};
    EXPECT_EQ(KeyAdd(2, 2, seg), 0);
    EXPECT_EQ(KeyCount(1), 1);
    EXPECT_EQ(KeyInfo(1, 1).segments[0].length, 5);
    EXPECT_EQ(KeyCount(2), 1);
    EXPECT_EQ(Fields(2, 1), (std::vector<std::uint16_t>{2, 1}));
    EXPECT_EQ(KeyAdd(3, 1, seg), 163);
    EXPECT_EQ(KeyAdd(0, 1, seg), 163);
}

TEST_F(KeysTest, AKeyForAnEarlierFileStaysWithThatFile) {
    AddFile("uno", {{"A", 5, 'A'}, {"B", 5, 'A'}});
    AddFile("dos", {{"C", 7, 'A'}});
    KeySegment second[] = {{0, 7}};
    KeySegment first[] = {{5, 5}};
    ASSERT_EQ(KeyAdd(2, 1, second), 0);
    ASSERT_EQ(KeyAdd(1, 1, first), 0);
    EXPECT_EQ(KeyCount(1), 2);
    EXPECT_EQ(KeyInfo(1, 2).segments[0].offset, 5);
    EXPECT_EQ(KeyCount(2), 1);
    EXPECT_EQ(KeyInfo(2, 1).segments[0].length, 7);
    EXPECT_EQ(KeyDefaults(2), 0);
    EXPECT_EQ(KeyCount(2), 1);
}

TEST_F(KeysTest, SegmentsListTheFieldHoldingTheirFirstByte) {
    AddFile("f", {{"A", 10, 'A'}, {"B", 20, 'A'}, {"C", 8, 'D'}});
    KeySegment inside[] = {{12, 9}};
    KeySegment spanning[] = {{5, 30}, {30, 8}};
    KeySegment outside[] = {{38, 2}};
    KeySegment six[] = {{0, 1}, {1, 1}, {2, 1}, {3, 1}, {4, 1}};
    ASSERT_EQ(KeyAdd(1, 1, inside), 0);
    ASSERT_EQ(KeyAdd(1, 2, spanning), 0);
    ASSERT_EQ(KeyAdd(1, 1, outside), 0);
    ASSERT_EQ(KeyAdd(1, 0, nullptr), 0);
    ASSERT_EQ(KeyAdd(1, 6, six), 0);
    struct Case { std::uint16_t key; std::vector<std::uint16_t> fields; } cases[] = {
        {1, {2}}, {2, {1, 3}}, {3, {}}, {4, {1}}, {5, {}}, {6, {}}, {0, {}}};
    for (const Case& c : cases) EXPECT_EQ(Fields(1, c.key), c.fields) << c.key;

    EXPECT_EQ(KeyOfField(1, 2), 1);
    EXPECT_EQ(KeyOfField(1, 1), 2);
    EXPECT_EQ(KeyOfField(1, 3), 0);
    EXPECT_EQ(KeyOfDate(1), 0xFFFF);
    KeySegment date[] = {{30, 8}};
    ASSERT_EQ(KeyAdd(1, 1, date), 0);
    EXPECT_EQ(KeyOfDate(1), 6);

    EXPECT_EQ(KeyLength(1, 2, 0), 38);
    EXPECT_EQ(KeyLength(1, 2, 0xFFFF), 38);
    EXPECT_EQ(KeyLength(1, 2, 1), 30);
    EXPECT_EQ(KeyLength(1, 9, 0), 0);
}

TEST_F(KeysTest, KeyValueJoinsSegmentsOfARecordImage) {
    AddFile("f", {{"A", 4, 'A'}, {"B", 3, 'A'}, {"C", 2, 'A'}});
    KeySegment seg[] = {{7, 2}, {0, 4}};
    KeySegment past[] = {{8, 5}};
    ASSERT_EQ(KeyAdd(1, 2, seg), 0);
    ASSERT_EQ(KeyAdd(1, 1, past), 0);
    EXPECT_EQ(Str(KeyValue(1, 1, S("abcdefghi"))), "hiabcd");
    EXPECT_EQ(Str(KeyValue(1, 2, S("abcdefghi"))), "i") << "clipped to the image";
    EXPECT_EQ(KeyValue(1, 3, S("abcdefghi")).len, 168);
    EXPECT_EQ(KeyValue(1, 1).len, 169) << "the file is not open";

    ASSERT_EQ(FileOpen(1, 2), 0);
    ASSERT_EQ(RecWrite(1, 1, S("ABCDEFGHI")), 0);
    ASSERT_EQ(SysVarSet(kSysCurFil, 1), 0);
    EXPECT_EQ(Str(KeyValue(255, 1)), "HIABCD");
    EXPECT_EQ(KeyCount(255), 2);
}

}  // namespace
}  // namespace rt::test
