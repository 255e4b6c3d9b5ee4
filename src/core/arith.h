#pragma once
// The small arithmetic helpers every rule uses.

#include <string_view>

namespace vezer {

// value + delta, limited to 0..100 (regiment figures and zeal).
int ClampAdd(int value, int delta);
// value - delta, limited to 0..100.
int ClampSub(int value, int delta);

// The decimal number in `text` (leading and trailing blanks allowed, an optional sign);
// an empty text reads as 0. A text that is not a number also gives 0: callers that must
// tell the difference use ParseInt.
int ParseIntOrZero(std::string_view text);
// Parses a whole decimal number; false when the text is not one or does not fit.
bool ParseInt(std::string_view text, int& out);

// Where the rules say "round": halves go to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
int RoundHalfEven(double value);
// The same for an exact fraction num / den (den != 0), without floating point.
int RoundHalfEvenRatio(long long num, long long den);

} // namespace vezer
