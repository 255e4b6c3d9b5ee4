#pragma once
// Debug checks of a whole game state, for tests and fuzzers. Each returns one line per broken
// rule (empty when all hold).

#include "core/state.h"

#include <string>
#include <vector>

namespace vezer {

// The cross-references every operation keeps: counts within capacity; each corps lists exactly
// the regiments that name it (50 at most, none twice) and has its own index; a corps' general
// names it back and only it; hexes and cities name each other; each hex counts the corps on it;
// garrison links, the selection and the marker bookkeeping name existing records.
std::vector<std::string> CheckInvariants(const State& state);

// The totals the recompute derives from a corps' regiments (men by arm, siege guns, levies).
std::vector<std::string> CheckDerivedFigures(const State& state);

} // namespace vezer
