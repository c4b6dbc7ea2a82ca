// A fixture that sets up the runtime's memory (areas, DynStrings, slot table) for one test and
// takes it down afterwards, checking that the test released every area it took.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "runtime/text/dyn_strings.h"
#include "runtime/text/mem_areas.h"
#include "runtime/text/slot_table.h"

namespace rt::test {

class RuntimeTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(SlotInit(), 0); }
    void TearDown() override { MemShutdown(); }
};

inline std::string Str(StrDesc d) {
    if (d.IsError()) return "<error " + std::to_string(d.len) + ">";
    return std::string(d.ptr, d.len);
}

inline StrDesc D(const std::string& s) { return StrDesc{s.data(), static_cast<std::uint16_t>(s.size())}; }

}  // namespace rt::test
