// The work budget of one evaluation: loop rounds, template replacements and function calls of a
// top-level expression (everything it evaluates on the way included) are counted together, and past
// the budget every further unit is refused, so that an expression whose loops nest or never end
// stops with 129 instead of freezing the program that reads it.
#pragma once
#include <cstdint>

namespace rt {

// Units one top-level evaluation may spend.
constexpr std::uint32_t kExpWorkBudget = 10000000;

// Sets the budget of the evaluations that start from now on and gives the previous one (tools that
// run many small inputs use a smaller one).
std::uint32_t ExpWorkBudgetSet(std::uint32_t units);

// Takes one unit of the running evaluation's budget: true while some was left. Once it is spent the
// answer stays false until the top-level evaluation ends. Outside any evaluation nothing is counted.
bool ExpWorkSpend();

// Brackets one evaluation; the outermost one starts with a full budget.
struct ExpWorkScope {
    ExpWorkScope();
    ~ExpWorkScope();
    ExpWorkScope(const ExpWorkScope&) = delete;
    ExpWorkScope& operator=(const ExpWorkScope&) = delete;
};

}  // namespace rt
