// A fixture that sets up the runtime's memory (areas, DynStrings, slot table) for one test and
// takes it down afterwards, checking that the test released every area it took.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "runtime/text/dyn_strings.h"
#include "runtime/text/mem_areas.h"
#include "runtime/text/slot_table.h"

namespace rt::test {

// Takes the runtime's memory down, releasing whatever was left, and reports the areas that were:
// empty when none, else "<n> area(s) left: owner <tag>, ...".
inline std::string MemShutdownReport() {
    MemLeaks leaks;
    MemShutdown(&leaks);
    if (leaks.count == 0) return "";
    std::string report = std::to_string(leaks.count) + (leaks.count == 1 ? " area left:" : " areas left:");
    for (std::uint16_t i = 0; i < leaks.count; ++i)
        report += std::string(i == 0 ? " owner " : ", owner ") + std::to_string(leaks.owners[i]);
    return report;
}

class RuntimeTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(SlotInit(), 0); }
    void TearDown() override { CheckMemory(); }
    // The check every fixture runs after its own take-down.
    static void CheckMemory() { EXPECT_EQ(MemShutdownReport(), "") << "the test left memory areas live"; }
};

inline std::string Str(StrDesc d) {
    if (d.IsError()) return "<error " + std::to_string(d.len) + ">";
    return std::string(d.ptr, d.len);
}

inline StrDesc D(const std::string& s) { return StrDesc{s.data(), static_cast<std::uint16_t>(s.size())}; }

}  // namespace rt::test
