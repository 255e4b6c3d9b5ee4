#include "turn/events.h"

#include "turn/recruitment.h"
#include "turn/reinforcements.h"
#include "turn/weather.h"
#include "turn/week_events.h"

namespace vezer {

void RunTurnEvents(Game& game) {
    if (const int sound = WeatherSound(game.state.Weather)) game.screen.PlaySound(sound);
    CompleteCityRecruitment(game);
    ApplyPoliticalEffects(game);
    RunWeekEvents(game);
    UpdateWeaponShortage(game);
    RaiseLevies(game);
    ArriveReinforcements(game);
}

} // namespace vezer
