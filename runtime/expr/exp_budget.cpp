// The work budget shared by everything one top-level evaluation runs.
#include "runtime/expr/exp_budget.h"

namespace rt {
namespace {

std::uint32_t g_budget = kExpWorkBudget;
std::uint32_t g_left = 0;  // units left to the evaluation running
int g_nesting = 0;         // evaluations open, the top-level one included

}  // namespace

std::uint32_t ExpWorkBudgetSet(std::uint32_t units) {
    std::uint32_t previous = g_budget;
    g_budget = units;
    return previous;
}

bool ExpWorkSpend() {
    if (g_nesting == 0) return true;
    if (g_left == 0) return false;
    --g_left;
    return true;
}

ExpWorkScope::ExpWorkScope() {
    if (g_nesting++ == 0) g_left = g_budget;
}

ExpWorkScope::~ExpWorkScope() { --g_nesting; }

}  // namespace rt
