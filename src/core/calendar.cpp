#include "core/calendar.h"

#include "core/random.h"

namespace vezer {

void StepWeek(int& year, int& month, int& week, int delta) {
    for (; delta > 0; --delta) {
        if (++week > 4) {
            week = 1;
            if (++month > 12) {
                month = 1;
                ++year;
            }
        }
    }
    for (; delta < 0; ++delta) {
        if (--week < 1) {
            week = 4;
            if (--month < 1) {
                month = 12;
                --year;
            }
        }
    }
}

bool DateBefore(const Date& a, const Date& b) {
    if (a.year != b.year) return a.year < b.year;
    if (a.month != b.month) return a.month < b.month;
    return a.week < b.week;
}

void RandomShiftDate(State& state, int& year, int& month, int& week, int spread) {
    int d = R(state, 2 * spread + 1) - spread - 1;
    StepWeek(year, month, week, d);
    // Each part is compared by itself, as the rule has always done.
    if (year < state.Year && month < state.Month && week < state.Week) {
        year = state.Year;
        month = state.Month;
        week = state.Week;
    }
}

} // namespace vezer
