#pragma once
// Scripting the shared random table for tests of rules that draw.

#include "core/state.h"

#include <initializer_list>
#include <vector>

namespace vezer::testing {

// The next draws R(n) give these values, in order (each value must be at most its draw's n):
// the table entries the cursor will reach are set to value - 1.
void QueueDraws(State& state, std::initializer_list<int> values);
void QueueDraws(State& state, const std::vector<int>& values);

// How many draws were made since `before` (the cursor moves RandStep places a draw).
int DrawsSince(const State& state, int before);

} // namespace vezer::testing
