// A runtime with its variable store set up; tear-down checks that every memory area came back.
#pragma once
#include <gtest/gtest.h>

#include "runtime/vars/variables.h"
#include "tests/support/runtime_fixture.h"

namespace rt::test {

class VarTest : public RuntimeTest {
protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        ASSERT_EQ(VarInit(), 0);
    }
    void TearDown() override {
        VarShutdown();
        CheckMemory();
    }
};

// The number of the arena top after a successful read.
inline FixedNumber TopNumber() { return VarNumFromEntry(DynTop()); }

}  // namespace rt::test
