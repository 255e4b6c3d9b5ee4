#include "turn/reinforcements.h"

#include "core/calendar.h"

namespace vezer {

namespace {

bool OptionAllows(int option, const TErosites& record) {
    return option == 2 || (option == 1 && record.LimitedIntervention == 1);
}

} // namespace

bool InterventionAllows(const State& state, const TErosites& record) {
    if (record.Template.Nation == kRussianNation) return OptionAllows(state.RussianIntervention, record);
    if (record.Template.Nation == kPolishNation) return OptionAllows(state.PolishIntervention, record);
    return true;
}

bool ReinforcementDue(const State& state, int k) {
    if (state.Campaign == 0) return false;  // the tutorial keeps to its own small war
    if (k < 1 || k > state.ReinforcementCount || k > kMaxReinforcements) return false;
    const TErosites& r = state.Reinforcements[static_cast<std::size_t>(k)];
    const Date arrival{r.Year, r.Month, r.Week};
    if (r.Arrived != 0) return false;
    if (DateBefore(Today(state), arrival)) return false;
    if (DateBefore(arrival, Date{state.StartYear, state.StartMonth, state.StartWeek})) return false;
    return InterventionAllows(state, r);
}

} // namespace vezer
