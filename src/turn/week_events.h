#pragma once
// The week's events outside the players' orders: the weight of the key cities, the historical
// event, sorties and surrenders of besieged fortresses, the recruiting tour, levies that
// disperse, the leaders' visits, conversions, cholera, convoys, desertion and intelligence.

#include "core/game.h"

namespace vezer {

// The weekly effects of side 1 holding Olmütz, Vienna, Nagyszeben and Zágráb (every campaign).
void ApplyPoliticalEffects(Game& game);

// The historical and chance events of the week, in their order (nothing in the tutorial).
void RunWeekEvents(Game& game);

// The steps of RunWeekEvents, each in the rules' order of draws.
void RunHistoricalEvent(Game& game);
void RunSorties(Game& game);
void RunSurrenders(Game& game);
void RunRecruitingTour(Game& game);
void RunLevyDispersal(Game& game);
void RunLeaderVisits(Game& game);
void RunConversions(Game& game);
void RunCholera(Game& game);
void RunConvoys(Game& game);
void RunDesertion(Game& game);
void RunIntelligence(Game& game);

} // namespace vezer
