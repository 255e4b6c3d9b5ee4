#pragma once
// Game set-up in two stages. SetUpGame clears the game and loads everything that does not
// depend on the campaign (random table, map, types, texts, formations, generals, name pools,
// weather table, tutorial); StartCampaign then loads the campaign's start file, which is a
// saved game, and applies the options of the new-game screen. Loading a saved game instead
// runs SetUpGame and then LoadGame.

#include "core/game.h"

#include <cstdint>
#include <memory>

namespace vezer {

inline constexpr int kCampaignTutorial = 0;
inline constexpr int kCampaignTransylvania = 6;
inline constexpr int kTutorialDifficulty = 10;

// The choices of the new-game screen, in the game's own values.
struct CampaignChoices {
    int playerType1 = 1; // 1 a person here, 2 the computer, 3 the other machine
    int playerType2 = 2;
    int pbem = 0; // 1 an e-mail game
    int fogOfWar = 0;
    int polishIntervention = 0; // 0 none, 1 limited, 2 full
    int russianIntervention = 0;
    int difficulty = 2; // 1..3; 10 the tutorial
};

// The set-up stage. A missing data file throws FileIoError and a damaged one DataError: the
// game does not start. The state starts clean; only what the menu and the dialogs set before
// a game (DataSet, Language, NetworkGame, the previous Campaign and the entered password)
// is kept.
// `seed` sets the chance cursor (SeedRandom): the caller chooses it, so a set-up can be made again.
void SetUpGame(Game& game, int dataSet, std::uint32_t seed);

// The campaign stage. A missing start file is an input-output error (FileIoError), a damaged
// one DataError: the start is abandoned rather than opening an empty game, and the game stays
// exactly as it was.
void StartCampaign(Game& game, int dataSet, int campaign, const CampaignChoices& choices);

// A new game from the new-game screen or the command line: the set-up and the campaign's start
// file are read into a scratch game, which replaces the running one only when both succeeded.
void StartNewGame(Game& game, int dataSet, std::uint32_t seed, int campaign, const CampaignChoices& choices);

// The set-up stage run in a new scratch game on `game`'s directory, with the menu's choices
// of `game` (for loading a saved game into a scratch game). Throws like SetUpGame.
std::unique_ptr<Game> SetUpScratchGame(const Game& game, Presentation& quiet, Transport& none, int dataSet,
                                       std::uint32_t seed);

// Start and end dates and the victory values of a campaign.
void SetCampaignDates(State& state, int campaign);

// Campaign 6: the generals of the main theatre are unavailable, and every reinforcement but
// records 6 and 7 counts as arrived. Run at the start and after every load; the caller
// centres the map on city 1.
void ApplyTransylvanianAdjustments(State& state);

// The map view scrolls so that the city is in the middle.
void CentreMapOnCity(Game& game, int city);

} // namespace vezer
