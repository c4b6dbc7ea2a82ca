// A variable store with the locale record set as start-up sets it (message 0019, NUL, message 0117,
// NUL, one blank), in Spanish; English() switches to an English record.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "runtime/env/catalog.h"
#include "tests/runtime/vars/var_fixture.h"

namespace rt::test {

inline void SetLocale(const std::string& language, const std::string& descriptor, const std::string& dates) {
    ASSERT_EQ(SlotSet(0, 4, D(language)), 0);
    std::string record = descriptor + '\0' + dates + '\0' + ' ';
    ASSERT_EQ(SlotSet(0, 0, D(record)), 0);
}

class LocaleTest : public VarTest {
protected:
    void SetUp() override {
        VarTest::SetUp();
        ASSERT_EQ(SlotSet(0, 4, S("ES")), 0);
        MsgLangReset();
        DynScope scope;
        SetLocale("ES", Str(MsgText("0019")), Str(MsgText("0117")));
    }
    static void English() {
        SetLocale("EN", ".,'0123456789.-D',' NY','  ,NO,YES'",
                  "'January,February,March,April,May,June,July,August,September,October,November,December',"
                  "'[M] [D], [Y]'");
    }
};

}  // namespace rt::test
