// The limits capture's specs: the choice dialog over a file's first eight fields and the limits spec
// made from its answer.
#include <gtest/gtest.h>

#include "runtime/sql/limits_form.h"
#include "runtime/text/dyn_strings.h"
#include "tests/runtime/data/data_fixture.h"

namespace rt::test {
namespace {

class LimitsSpecTest : public DataTest {
protected:
    std::string Spec(const std::string& answer, std::uint16_t* first) {
        DynScope scope;
        return Str(LimitsSpec(file_, D(answer), first));
    }
    std::uint8_t file_ = 0;
};

TEST_F(LimitsSpecTest, ChoiceListsAtMostTheFirstEightFields) {
    file_ = AddFile("ancho", {{"F1", 1, 'A'}, {"F2", 1, 'A'}, {"F3", 1, 'A'}, {"F4", 1, 'A'}, {"F5", 1, 'A'},
                              {"F6", 1, 'A'}, {"F7", 1, 'A'}, {"F8", 1, 'A'}, {"F9", 1, 'A'}, {"F10", 1, 'A'},
                              {"F11", 1, 'A'}, {"F12", 1, 'A'}});
    DynScope scope;
    EXPECT_EQ(Str(LimitsChoiceSpec(file_)),
              "'F1(L/S):':'A1','F2(L/S):':'A1','F3(L/S):':'A1','F4(L/S):':'A1','F5(L/S):':'A1',"
              "'F6(L/S):':'A1','F7(L/S):':'A1','F8(L/S):':'A1'");
}

TEST_F(LimitsSpecTest, AnswerGivesRangesAndSelections) {
    file_ = AddFile("gente", {{"NOMBRE", 30, 'A'}, {"N_LINE", 5, 'N'}, {"POBLACION", 20, 'A'}});
    std::uint16_t first = 99;
    EXPECT_EQ(Spec("'L','','S'", &first),
              "'NOMBRE (Desde):':'A30':NOMBRE{}>=,'NOMBRE (Hasta):':'A30':NOMBRE{}<=,"
              "'POBLACION :':'A20':POBLACION{}==");
    EXPECT_EQ(first, 1);
    EXPECT_EQ(Spec("'', 'l'", &first), "'N_LINE (Desde):':'N5':N_LINE{}>=,'N_LINE (Hasta):':'N5':N_LINE{}<=");
    EXPECT_EQ(first, 2);
    EXPECT_EQ(Spec("'','x'", &first), "") << "another letter adds nothing but is the first chosen field";
    EXPECT_EQ(first, 2);
    EXPECT_EQ(Spec("  ,' ',  ", &first), "");
    EXPECT_EQ(first, 0);
}

}  // namespace
}  // namespace rt::test
