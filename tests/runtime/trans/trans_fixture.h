// A runtime with one open data file of text, numeric and decimal fields, for the transfer's readers
// and writers, and a scratch folder that is the current folder while the test runs.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "runtime/data/fields.h"
#include "runtime/data/file_open.h"
#include "runtime/data/record_buffer.h"
#include "runtime/env/errors.h"
#include "runtime/text/dyn_strings.h"
#include "runtime/text/slot_table.h"
#include "tests/runtime/data/data_fixture.h"
#include "tests/support/temp_folder.h"

namespace rt::test {

class TransTextTest : public DataTest {
protected:
    void SetUp() override {
        DataTest::SetUp();
        ErrClear();
        ErrSetText(0, StrEmpty());
        file_ = AddFile("clientes", {{"NOMBRE", 20, 'A'}, {"N_LINE", 5, 'N'}, {"POBLACION", 10, 'A'},
                                     {"IMPORTE", 8, '2'}});
        ASSERT_EQ(FileOpen(file_, 2), 0);
        FileSelect(file_);
        std::string log = folder_.RuntimePath() + "\\log.txt";
        SlotSet(kRunTextsGroup, kSlotLogPath, D(log));
    }
    void TearDown() override {
        FileClose(file_);
        DataTest::TearDown();
    }
    // A field of the current record without its padding on the right.
    std::string Field(std::uint16_t n) {
        DynScope scope;
        std::string s = Str(FieldRaw(file_, n, kRecCurrent));
        while (!s.empty() && s.back() == ' ') s.pop_back();
        return s;
    }
    std::string Record() {
        return Str(RecImage(file_, kRecCurrent));
    }
    void SetFields(const std::string& nombre, const std::string& line, const std::string& poblacion,
                   const std::string& importe) {
        ASSERT_EQ(FieldSet(file_, 1, D(nombre)), 0);
        ASSERT_EQ(FieldSet(file_, 2, D(line)), 0);
        ASSERT_EQ(FieldSet(file_, 3, D(poblacion)), 0);
        ASSERT_EQ(FieldSet(file_, 4, D(importe)), 0);
    }

    std::uint8_t file_ = 0;
    TempFolder folder_{true};
};

}  // namespace rt::test
