// A runtime with its variable store and an empty file table; tear-down checks that every memory
// area came back.
#pragma once
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "runtime/data/file_open.h"
#include "runtime/data/file_table.h"
#include "runtime/vars/var_system.h"
#include "runtime/vars/variables.h"
#include "tests/support/runtime_fixture.h"

namespace rt::test {

struct FieldSpec {
    const char* name;
    std::uint16_t width;
    char type;
};

class DataTest : public RuntimeTest {
protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        ASSERT_EQ(VarInit(), 0);
        FileTableReset();
        FileReadLayerSet(nullptr);
    }
    void TearDown() override {
        FileReadLayerSet(nullptr);
        FileTableReset();
        VarShutdown();
        CheckMemory();
    }
    // Registers a file with its fields; gives its number.
    std::uint8_t AddFile(const char* name, std::initializer_list<FieldSpec> fields, const char* folder = "") {
        EXPECT_EQ(FileRegister(0, StrFromC(name), StrFromC(folder)), 0) << name;
        for (const FieldSpec& f : fields) EXPECT_EQ(FieldAdd(StrFromC(f.name), f.width, f.type), 0) << f.name;
        return FileCount();
    }
};

}  // namespace rt::test
