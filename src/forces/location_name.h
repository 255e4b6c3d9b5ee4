#pragma once
// Where a corps stands, in words, for the list of all corps.

#include "core/state.h"

#include <string>

namespace vezer {

// The city on the corps' hex, else the nearest of the 75 cities (the first wins ties) as
// "<city> környéke" in Hungarian, "<near> <city>" in another language with `near` its word
// for the vicinity; at most 120 characters. Empty for a corps that does not exist.
std::string CorpsLocationName(const State& state, int side, int corps, int language, const std::string& near);

} // namespace vezer
