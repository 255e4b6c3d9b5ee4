#include "turn/activation.h"

#include "core/calendar.h"
#include "turn/turn.h"
#include "turn/upkeep.h"

namespace vezer {

void SetTurnStartFlagsAfterLoad(State& st) {
    st.SideTwoStartDue = 0;
    if (st.ActiveSide == 1 && Today(st) == Date{st.StartYear, st.StartMonth, st.StartWeek}) {
        st.TurnStartDue = 1;
        st.NewGameWeek = 1;
        return;
    }
    st.TurnStartDue = st.ActiveSide == 1 && st.PbemGame ? 1 : 0;
    st.SideTwoStartDue = st.ActiveSide == 2 ? 1 : 0;
    st.NewGameWeek = 0;
}

void MarkNewGameTurnStart(State& st) {
    st.TurnStartDue = 1;
}

void ActivateMainScreen(Game& game) {
    State& st = game.state;
    if (st.SideTwoStartDue) {
        st.SideTwoStartDue = 0;
        if (st.PbemGame) StartSideTurn(game);
    }
    // An e-mail game opened for side 1 past its first week has the week's upkeep still to run.
    const bool emailWeek = st.PbemGame && !st.NewGameWeek && st.ActiveSide == 1 && st.TurnStartDue;
    if (emailWeek) WeeklyUpkeep(game);
    if (st.TurnStartDue) ShowTurnStartScreen(game);
    if (emailWeek) StartSideTurn(game);
    st.TurnStartDue = 0;
}

} // namespace vezer
