// A language file KV_LANG_<code>.MSJ in a fresh default folder, with <code> made the run's language,
// so that the next message lookup loads it. The folder is removed with the object.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "runtime/env/catalog.h"
#include "runtime/text/slot_table.h"
#include "tests/support/runtime_fixture.h"
#include "tests/support/temp_folder.h"

namespace rt::test {

class LanguageFile {
public:
    LanguageFile(const std::string& code, const std::string& lines) {
        folder_.Write("KV_LANG_" + code + ".MSJ", lines);
        EXPECT_EQ(SlotSet(0, 4, D(code)), 0);
        EXPECT_EQ(SlotSet(0, 5, D(folder_.RuntimePath())), 0);
        MsgLangReset();
    }

private:
    TempFolder folder_;
};

}  // namespace rt::test
