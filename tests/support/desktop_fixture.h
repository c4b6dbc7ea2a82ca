// A runtime whose message boxes go to a desktop backend of the test's choice (the Qt desktop
// offscreen, or the terminal), with the catalog's language state fresh for each test.
#pragma once
#include "platform/desktop.h"
#include "runtime/env/catalog.h"
#include "tests/support/runtime_fixture.h"

namespace rt::test {

template <typename Backend>
class DesktopTest : public RuntimeTest {
protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        MsgLangReset();
        DesktopSet(&desktop_);
    }
    void TearDown() override {
        DesktopSet(nullptr);
        RuntimeTest::TearDown();
    }
    Backend desktop_;
};

}  // namespace rt::test
