// Numbers on the arena as the variable store reads and assigns them.
#include "runtime/vars/var_arena_number.h"
#include "runtime/text/dyn_strings.h"
#include "tests/runtime/vars/var_fixture.h"

namespace rt::test {
namespace {

TEST_F(VarTest, ArenaNumbersAreEightBytes) {
    DynScope scope;
    ASSERT_EQ(VarNumPush(-123456789012LL), 0);
    EXPECT_EQ(DynTop().len, 8);
    EXPECT_EQ(VarNumFromEntry(DynTop()), -123456789012LL);
    EXPECT_EQ(VarNumFromEntry(S("")), 0);
    EXPECT_EQ(VarNumFromEntry(S("abc")), -1);  // not a number: the raw value -1
}

}  // namespace
}  // namespace rt::test
