#pragma once
// The calendar: four weeks to a month, twelve months to a year.

#include "core/state.h"

namespace vezer {

struct Date {
    int year = 0;
    int month = 0;
    int week = 0;
    friend bool operator==(const Date&, const Date&) = default;
};

// Steps a date by `delta` weeks, one week at a time (negative steps back).
void StepWeek(int& year, int& month, int& week, int delta);
inline Date StepWeek(Date d, int delta) {
    StepWeek(d.year, d.month, d.week, delta);
    return d;
}
// Date order: year, then month, then week.
bool DateBefore(const Date& a, const Date& b);

inline Date Today(const State& s) { return {s.Year, s.Month, s.Week}; }

// Moves a date by a random number of weeks in -spread..+spread (one draw). A shifted date whose
// year, month and week are each smaller than today's becomes today.
void RandomShiftDate(State& state, int& year, int& month, int& week, int spread);

} // namespace vezer
