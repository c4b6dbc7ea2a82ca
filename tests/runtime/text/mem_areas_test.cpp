#include "runtime/text/mem_areas.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <string>

#include "tests/support/runtime_fixture.h"

namespace rt {
namespace {

class MemAreasTest : public test::RuntimeTest {};

TEST_F(MemAreasTest, SecondInitChangesNothing) { EXPECT_EQ(MemInit(), 124); }

TEST_F(MemAreasTest, FreeChecksOwnerThenGuard) {
    auto* block = static_cast<unsigned char*>(AreaAllocPtr(kOwnerArrays, 100));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(AreaFree(kOwnerScreens, block), 141);
    EXPECT_EQ(AreaWrite(kOwnerArrays, block, 0, S("still usable")), 0);
    int x = 0;
    EXPECT_EQ(AreaFree(kOwnerArrays, &x), 154);
    block[100] = 0x7F;  // damage the guard right behind the block
    EXPECT_EQ(AreaFree(kOwnerArrays, block), 180);
    block[100] = 0x00;
    EXPECT_EQ(AreaFree(kOwnerArrays, block), 0);
}

TEST_F(MemAreasTest, WriteBeyondTheSizeWritesNothing) {
    auto* block = static_cast<unsigned char*>(AreaAllocPtr(kOwnerArrays, 100));
    EXPECT_EQ(AreaWrite(kOwnerArrays, block, 95, S("0123456789")), 168);
    EXPECT_EQ(block[95], 0);
    EXPECT_EQ(AreaWrite(kOwnerArrays, block, 90, S("0123456789")), 0);
    EXPECT_EQ(block[99], '9');
    AreaFree(kOwnerArrays, block);
}

TEST_F(MemAreasTest, TableHoldsSixtyFourAreas) {
    std::uint16_t live = AreaLive(0, kAreaCount, 1, nullptr);
    std::uint16_t n = 0, last = 0;
    while ((last = AreaAlloc(kOwnerBuffers, 8, 0)) != kNone) ++n;
    EXPECT_EQ(n + live, kAreaCount);
    EXPECT_EQ(AreaLive(0, kAreaCount, 2, nullptr), 0);
    MemArea a;
    EXPECT_EQ(AreaGet(64, &a), 163);
    for (std::uint16_t i = live; i < kAreaCount; ++i) {
        ASSERT_EQ(AreaGet(i, &a), 0);
        AreaFree(kOwnerBuffers, a.block);
    }
}

TEST_F(MemAreasTest, GrowKeepsTheContents) {
    void* b = AreaAllocPtr(kOwnerArrays, 4);
    std::memcpy(b, "abcd", 4);
    auto* g = static_cast<char*>(AreaGrow(kOwnerArrays, b, 4, 16));
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(std::memcmp(g, "abcd\0\0", 6), 0);
    EXPECT_EQ(AreaFree(kOwnerArrays, g), 0);
}

TEST_F(MemAreasTest, AreaBufferAppendsAlignedAndStopsAtTheFirstError) {
    AreaBuffer buf;
    ASSERT_EQ(AreaBufferGrow(buf, kOwnerRows, 16), 0);
    EXPECT_NE(AreaBufferAppend(buf, kOwnerRows, S("abc"), false), nullptr);
    void* at = AreaBufferAppend(buf, kOwnerRows, S("de"), true);
    EXPECT_EQ(at, buf.block + 4);
    EXPECT_EQ(buf.used, 6);
    EXPECT_EQ(AreaBufferAppend(buf, kOwnerRows, S("0123456789AB"), false), nullptr);
    EXPECT_EQ(buf.error, 168);
    EXPECT_EQ(AreaBufferAppend(buf, kOwnerRows, S("x"), false), nullptr);
    EXPECT_EQ(AreaBufferRelease(buf, kOwnerRows), 0);

    // Rounding a nearly full count up past 65,535 must not wrap to the start of the buffer.
    ASSERT_EQ(AreaBufferGrow(buf, kOwnerRows, 0xFFFF), 0);
    const std::string full(0xFFFD, 'a');
    ASSERT_NE(AreaBufferAppend(buf, kOwnerRows, test::D(full), false), nullptr);
    EXPECT_EQ(AreaBufferAppend(buf, kOwnerRows, S("x"), true), nullptr);
    EXPECT_EQ(buf.error, 168);
    EXPECT_EQ(buf.used, 0xFFFD);
    EXPECT_EQ(buf.block[0], 'a');
    EXPECT_EQ(AreaBufferRelease(buf, kOwnerRows), 0);
}

TEST(MemShutdownTest, ReportsTheOwnerOfALeakedAreaThenReleasesEverything) {
    ASSERT_EQ(SlotInit(), 0);
    // An area left above the slot table stops the shutdown and names its owner; nothing is released.
    void* leak = AreaAllocPtr(kOwnerScreens, 10);
    EXPECT_EQ(MemShutdown(), kOwnerScreens);
    EXPECT_TRUE(MemReady());
    EXPECT_TRUE(SlotReady());
    AreaFree(kOwnerScreens, leak);
    EXPECT_EQ(MemShutdown(), 0);
    EXPECT_FALSE(MemReady());
    EXPECT_FALSE(SlotReady());
    EXPECT_EQ(SlotInit(), 0);  // a new run can start
    EXPECT_EQ(MemShutdown(), 0);
}

}  // namespace
// The check every fixture runs after each test: left areas of any tag are reported, tag 0 too, and
// the table is released either way, so the next test starts clean.
TEST(MemShutdownTest, TheCheckReportsEveryLeftAreaAndReleasesEverything) {
    struct Case {
        const char* what;
        std::initializer_list<std::uint16_t> owners;  // areas left live
        const char* report;
    } cases[] = {
        {"none", {}, ""},
        {"one of tag 0", {kOwnerBuffers}, "1 area left: owner 0"},
        {"two tags", {kOwnerArrays, kOwnerScreens}, "2 areas left: owner 10, owner 20"},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(SlotInit(), 0) << c.what;
        for (std::uint16_t owner : c.owners) ASSERT_NE(AreaAllocPtr(owner, 8), nullptr) << c.what;
        EXPECT_EQ(test::MemShutdownReport(), c.report) << c.what;
        EXPECT_FALSE(MemReady()) << c.what;
        EXPECT_FALSE(SlotReady()) << c.what;
    }
    // The plain shutdown cannot tell a tag-0 leak from none (both give 0), and stops with memory set up.
    ASSERT_EQ(SlotInit(), 0);
    ASSERT_NE(AreaAllocPtr(kOwnerBuffers, 8), nullptr);
    EXPECT_EQ(MemShutdown(), 0);
    EXPECT_TRUE(MemReady());
    EXPECT_EQ(test::MemShutdownReport(), "1 area left: owner 0");
}

}  // namespace rt
