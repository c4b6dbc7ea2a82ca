// Relation texts and the key and value lookups in them.
#include "runtime/data/relations.h"

#include <gtest/gtest.h>

#include "tests/runtime/data/data_fixture.h"

namespace rt::test {
namespace {

class RelationsTest : public DataTest {
protected:
    void SetUp() override {
        DataTest::SetUp();
        AddFile("uno", {});
        AddFile("dos", {});
    }
};

TEST_F(RelationsTest, TextsAreJoinedWithColons) {
    EXPECT_EQ(RelationAdd(1, S("")), 0);
    EXPECT_EQ(Str(RelationText(1)), "");
    EXPECT_EQ(RelationAdd(1, S("2R1K3=NOMBRE{}")), 0);
    EXPECT_EQ(RelationAdd(1, S("")), 0);
    EXPECT_EQ(RelationAdd(1, S("2R2K1=CODIGO{}")), 0);
    EXPECT_EQ(Str(RelationText(1)), "2R1K3=NOMBRE{}:2R2K1=CODIGO{}");
    EXPECT_EQ(Str(RelationText(2)), "");
    EXPECT_EQ(RelationAdd(3, S("x")), 151);
    EXPECT_EQ(RelationAdd(0, S("x")), 151);
}

TEST_F(RelationsTest, KeyAndValueOfARelation) {
    ASSERT_EQ(RelationAdd(1, S("12R1K4=OTRO{}:2R1K3=NOMBRE{}:2R2K1='a b':2R3K=X{}")), 0);
    struct Case { std::uint8_t target; std::uint16_t relation, key; const char* value; } cases[] = {
        {2, 1, 3, "NOMBRE{}"},
        {12, 1, 4, "OTRO{}"},
        {2, 2, 1, "a b"},     // quoted: kept as written
        {2, 3, 0, "X{}"},     // no key number: the item is named without one
        {2, 4, 0, ""},
        {3, 1, 0, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RelationKey(1, c.target, c.relation), c.key) << int{c.target} << "R" << c.relation;
        EXPECT_EQ(Str(RelationValue(1, c.target, c.relation)), c.value) << int{c.target} << "R" << c.relation;
    }
    EXPECT_EQ(RelationKey(2, 2, 1), 0) << "another file's text";
}

TEST_F(RelationsTest, UnquotedValuesReadInUpperCase) {
    ASSERT_EQ(RelationAdd(2, S("1R1K2=nombre{}")), 0);
    EXPECT_EQ(Str(RelationValue(2, 1, 1)), "NOMBRE{}");
}

}  // namespace
}  // namespace rt::test
