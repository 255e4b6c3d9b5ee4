#pragma once
// The end of a campaign: the victory points, when the campaign is over, the verdict on five
// grades, the side's account of the outcome, and the player's choices on the end-of-game screen.

#include "core/game.h"

#include <string>

namespace vezer {

inline constexpr int kGradeCount = 5;

// TotalPoints = BattlePoints + CityPoints for both sides.
void UpdateTotalPoints(State& state);

// Whether the campaign is over: its end date, the first week of 1850 whatever the campaign,
// or a side without a valued town.
bool CampaignOver(const State& state);

// The grade of the result, 1 (total Hungarian victory) to 5 (total Austrian victory), from
// R = total1 / (total2 + 1): above 2, above 1.15, above 0.87, above 0.5, else. A ratio exactly
// on a boundary falls to the lower grade.
int VerdictGrade(int total1, int total2);
// "Totális magyar gyözelem!" .. "Totális osztrák gyözelem!"; the picture "gy1.bmp", "gy3.bmp"
// or "gy5.bmp"; an empty text outside 1..5.
std::string VerdictText(int grade);
std::string VerdictPicture(int grade);
// "data\\gy" + language + side + grade + ".txt": each side's own account of the outcome.
std::string OutcomeStoryFileName(int language, int side, int grade);

// The end-of-game check of every week's upkeep and of order 18: when the campaign is over,
// the end-of-game screen shows the verdict and the player goes on or leaves for the menu.
void CheckVictory(Game& game);

// The end-of-game screen's "Következo kör": the game goes on.
void EndOfGameGoOn(Game& game);
// Its "Menü": the game is saved to "save\\autosave.sav" (not in a network game) and the main
// screen closes.
void EndOfGameLeave(Game& game);

} // namespace vezer
