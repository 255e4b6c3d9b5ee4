#include "campaign/setup.h"

#include "ai/ai_turn.h"
#include "battle/battle_orders.h"
#include "campaign/load_game.h"
#include "core/data_set.h"
#include "core/errors.h"
#include "core/headless.h"
#include "core/log.h"
#include "core/random.h"
#include "core/texts.h"
#include "files/email_files.h"
#include "files/map_files.h"
#include "files/savegame.h"
#include "files/scenario_files.h"
#include "forces/markers.h"
#include "forces/organisation.h"
#include "forces/strength.h"
#include "map/queries.h"
#include "turn/recruitment.h"
#include "turn/turn.h"
#include "turn/weather.h"

#include <memory>

namespace vezer {

namespace {

// --- SetUpGame, step by step ------------------------------------------------------------

// Step 1: a clean state. Only what the menu and the dialogs set before a game survives.
void ClearGameState(State& st, int dataSet) {
    const int language = st.Language;
    const int network = st.NetworkGame;
    const int previousCampaign = st.Campaign; // the city file of the set-up is the previous game's
    const ShortText<40> entered = st.EnteredPassword;
    st = *std::make_unique<State>();
    st.DataSet = dataSet;
    st.Language = language;
    st.NetworkGame = network;
    st.Campaign = previousCampaign;
    st.EnteredPassword = entered;

    st.SelectedCorps = 0;
    st.SelectedCorpsSide = 0;
    st.SelectedHexX = -1;
    st.SelectedHexY = -1;
    const THad empty = EmptyCorpsRecord();
    for (int side = 1; side <= 2; ++side)
        for (THad& corps : st.Corps[static_cast<std::size_t>(side)]) corps = empty;
    ResetEventLogs(st);
}

// Step 4.
void SetDefaults(State& st) {
    st.ActiveSide = 1;
    st.OtherSide = 2;
    st.LocalSide = 1;
    st.LocalOtherSide = 2;
    st.Battle.BattleMode = 1;
    st.KeepReinforcementDates = 1;
    st.Tutorial = 0;
    for (int side = 1; side <= 2; ++side) {
        st.LevyChance[side] = 8;
        st.LevyLimit[side] = 40000;
    }
    // Only side 1 may open the recruitment screen from the main screen.
    st.MayRecruit[1] = 1;
    st.MayRecruit[2] = 0;
    st.MapMaxX = kDataSetSizes.mapMaxX;
    st.MapMaxY = kDataSetSizes.mapMaxY;
    st.TerrainCostBase = {8, 10, 15, 15};
    st.TerrainCost[kTerrainImpassable] = 255;
    st.TypeCount = kShippedTypeCount;
    st.NationCount = kNationCount;
}

// Step 14: the week's bookkeeping and the historical event table, which is not saved.
void SetHistoricalEvents(State& st) {
    st.AutoRecruit = 1;
    st.HistoricalEventIndex = 1;
    THistoricalEvent& revolution = st.HistoricalEvents[1];
    revolution.Kind = 20; // the revolution in Vienna
    revolution.HexX = 6;
    revolution.HexY = 9;
    revolution.City = 3;
    revolution.Side = 1;
    revolution.Year = kFirstWarYear;
    revolution.Month = 10;
    revolution.Week = 1;
    st.HistoricalEvents[2].Year = 0;
}

void RunSetUp(Game& game, int dataSet, std::uint32_t seed) {
    State& st = game.state;
    ClearGameState(st, dataSet);
    ResetBattleState(game);
    LoadRandomTable(game);
    SeedRandom(st, seed);
    LoadAiBonus(game);
    SetDefaults(st);
    LoadTerrain(game, dataSet, st.MapMaxX, st.MapMaxY);
    LoadRoads(game, dataSet);
    LoadRivers(game, dataSet);
    LoadCities(game, dataSet, st.Campaign);
    LoadMask(game);
    LoadRegimentTypes(game, dataSet);
    st.NationFlag = kNationFlag;
    LoadTexts(game, st.Language);
    LoadFormations(game, dataSet);
    st.GeneralCount = {0, kShippedGeneralCount1, kShippedGeneralCount2};
    st.InitialGeneralCount = st.GeneralCount;
    LoadGeneralRoster(game, dataSet);
    LoadNamePools(game);
    LoadWeatherTables(game, dataSet);
    SetHistoricalEvents(st);
    st.ZealFloor = {0, 40, 40};
    LoadTutorialText(game);
}

// --- StartCampaign ----------------------------------------------------------------------

// Step 11: the campaign's date, temperature and zeal; the weather starts fair everywhere.
void SetStartConditions(Game& game, int campaign) {
    State& st = game.state;
    const CampaignDates& dates = CampaignCalendar(campaign);
    st.Year = dates.start.year;
    st.Month = dates.start.month;
    st.Week = dates.start.week;
    st.Temperature = dates.startTemperature;
    switch (campaign) {
    case 1:
    case 5:
        st.Zeal[2] = 60;
        break;
    case 2:
        st.Zeal = {0, 70, 60};
        break;
    case 4:
        st.Zeal[2] = st.RussianIntervention == 2 ? 55 : 60;
        break;
    default:
        st.Zeal = {0, 65, 65};
        break; // 0, 3 and 6
    }
    st.Weather = st.RiverState = st.DanubeState = st.GroundState = 1;
    DrawWeather(game, false);
}

void RestartResults(State& st) {
    st.DrawnBattles = st.DrawnEngagements = 0;
    st.EngagementsWon = st.BattlesWon = st.BattlePoints = st.CityPoints = {0, 0, 0};
    for (int c = 1; c <= kCityCount; ++c) {
        const TVaros& city = st.Cities[static_cast<std::size_t>(c)];
        if (city.Owner == 1 || city.Owner == 2) st.CityPoints[city.Owner] += city.VictoryValue;
    }
}

// Step 18: works that no corps holds are gone, marks and builders with them.
void ClearEntrenchmentsWithoutCorps(Game& game) {
    State& st = game.state;
    for (int x = 0; x <= st.MapMaxX; ++x)
        for (int y = 0; y <= st.MapMaxY; ++y)
            if (st.Cell(x, y).CorpsCount == 0 && st.Cell(x, y).Entrenchment > 0)
                SetEntrenchment(game, x, y, 0, 0);
}

// The menu's choices a set-up keeps, carried into a scratch game.
void CarryMenuChoices(const State& from, State& to) {
    to.Language = from.Language;
    to.NetworkGame = from.NetworkGame;
    to.Campaign = from.Campaign;
    to.EnteredPassword = from.EnteredPassword;
}

// StartCampaign steps 1 to 5 in `staged`: everything that reads a file. A failure leaves
// nothing changed outside it.
void ReadCampaignStart(Game& staged, int dataSet, int campaign, const CampaignChoices& choices) {
    State& st = staged.state;
    const std::string startFile = CampaignStartFileName(dataSet, campaign);
    if (campaign < 0 || campaign > 6)
        throw FileIoError(startFile, "there is no campaign " + std::to_string(campaign));
    // Every campaign the new-game screen offers has a start file; without it there is no game.
    if (!staged.dir.Exists(startFile)) throw FileIoError(startFile, "the campaign start file is missing");
    for (int i = 1; i <= st.ReinforcementCount && i <= kMaxReinforcements; ++i)
        st.Reinforcements[static_cast<std::size_t>(i)].Arrived = 0;
    st.Difficulty = choices.difficulty;
    LoadCities(staged, st.DataSet, st.Campaign);
    LoadGame(staged, startFile);
}

// StartCampaign steps 6 to 24 on the game the start file was read into: none of them reads a
// file but the e-mail order file it creates.
void ApplyCampaignStart(Game& game, int dataSet, int campaign, const CampaignChoices& choices) {
    State& st = game.state;
    st.PbemGame = choices.pbem;
    if (st.NetworkGame) {
        st.RandPos = 1;
        st.RandStep = 1;
    }
    // Bem was still in Vienna before October 1848.
    if (st.Year == 1848 && st.Month < 10) st.Generals[1][3].Available = 0;
    st.Campaign = campaign;
    st.DataSet = dataSet;
    st.PlayerType = {0, choices.playerType1, choices.playerType2};
    if (st.PbemGame) {
        st.PlayerType = {0, 1, 1};
        st.PasswordSet = {0, 0, 0};
    }
    st.Difficulty = st.NetworkGame && choices.difficulty == 3 ? 2 : choices.difficulty;
    st.Tutorial = st.Difficulty == kTutorialDifficulty ? 1 : 0;
    st.RussianIntervention = choices.russianIntervention;
    st.PolishIntervention = choices.polishIntervention;
    st.FogOfWar = choices.fogOfWar;
    SetStartConditions(game, campaign);
    if (st.FogOfWar)
        for (int side = 1; side <= 2; ++side)
            for (int c = 1; c <= st.CorpsCount[side]; ++c)
                st.Corps[side][static_cast<std::size_t>(c)].ReconLevel = 0;
    CountLevyMen(game);
    RestartResults(st);
    st.LocalSide = st.PlayerType[1] == 1 ? 1 : 2;
    st.LocalOtherSide = 3 - st.LocalSide;
    st.ActiveSide = 1;
    st.OtherSide = 2;
    for (int side = 1; side <= 2; ++side) {
        for (int c = 1; c <= st.CorpsCount[side]; ++c) {
            if (st.Difficulty == 1) RecomputeCorps(game, side, c);
            THad& corps = st.Corps[side][static_cast<std::size_t>(c)];
            corps.GuardCorps = corps.ThreatPercent = corps.ThreatCorps = 0;
        }
    }
    StartSideTurn(game);
    ClearEntrenchmentsWithoutCorps(game);
    for (int t = 1; t <= st.TypeCount && t <= kMaxTypes; ++t)
        st.Types[static_cast<std::size_t>(t)].RecruitWeeks = st.BaseRecruitWeeks[static_cast<std::size_t>(t)];
    st.PrevTemperature = st.Temperature;
    st.PrevWeather = st.Weather;
    st.PrevGround = st.GroundState;
    for (int side = 1; side <= 2; ++side)
        if (st.PlayerType[side] == 2) st.AiSiegeCorps[side] = FindSiegeCorps(game, side);
    SetCampaignDates(st, st.Campaign);
    if (st.Campaign == kCampaignTransylvania) {
        ApplyTransylvanianAdjustments(st);
        CentreMapOnCity(game, 1);
    }
    if (st.PbemGame) {
        st.PasswordSet = {0, 0, 0};
        st.NewGameWeek = 1;
        CreateOrderFile(game);
    } else {
        st.NewGameWeek = 0;
    }
}

} // namespace

void CentreMapOnCity(Game& game, int city) {
    if (city < 1 || city > kCityCount) return;
    const TVaros& c = game.state.Cities[static_cast<std::size_t>(city)];
    game.screen.CentreMapOn(c.X, c.Y);
}

std::unique_ptr<Game> SetUpScratchGame(const Game& game, Presentation& quiet, Transport& none, int dataSet,
                                       std::uint32_t seed) {
    auto staging = MakeGame(quiet, none, game.dir);
    CarryMenuChoices(game.state, staging->state);
    RunSetUp(*staging, dataSet, seed);
    return staging;
}

void SetUpGame(Game& game, int dataSet, std::uint32_t seed) {
    // Everything is read into a scratch game first: a missing or damaged file stops the set-up
    // before the running program's game is touched.
    HeadlessPresentation quiet;
    NoTransport none;
    auto staging = SetUpScratchGame(game, quiet, none, dataSet, seed);
    game.state = staging->state;
    game.screen.CreateCityDots();
}

void StartCampaign(Game& game, int dataSet, int campaign, const CampaignChoices& choices) {
    // The start file is read into a copy of the set-up game: a missing or damaged one leaves
    // the game as it was, reinforcements, difficulty and cities included.
    HeadlessPresentation quiet;
    NoTransport none;
    auto staging = MakeGame(quiet, none, game.dir);
    staging->state = game.state;
    ReadCampaignStart(*staging, dataSet, campaign, choices);
    game.state = staging->state;
    ApplyCampaignStart(game, dataSet, campaign, choices);
}

void StartNewGame(Game& game, int dataSet, std::uint32_t seed, int campaign, const CampaignChoices& choices) {
    HeadlessPresentation quiet;
    NoTransport none;
    auto staging = SetUpScratchGame(game, quiet, none, dataSet, seed);
    ReadCampaignStart(*staging, dataSet, campaign, choices);
    game.state = staging->state;
    game.screen.CreateCityDots();
    ApplyCampaignStart(game, dataSet, campaign, choices);
}

void SetCampaignDates(State& st, int campaign) {
    const CampaignDates& d = CampaignCalendar(campaign);
    st.StartYear = d.start.year;
    st.StartMonth = d.start.month;
    st.StartWeek = d.start.week;
    st.EndYear = d.end.year;
    st.EndMonth = d.end.month;
    st.EndWeek = d.end.week;
    st.BattleVictoryValue = d.battleVictoryValue;
    st.EngagementVictoryValue = d.engagementVictoryValue;
}

void ApplyTransylvanianAdjustments(State& st) {
    for (int g : kAwayFromTransylvania1) st.Generals[1][static_cast<std::size_t>(g)].Available = 0;
    for (int g : kAwayFromTransylvania2) st.Generals[2][static_cast<std::size_t>(g)].Available = 0;
    if (st.ReinforcementCount > 2)
        for (int i = 1; i <= st.ReinforcementCount && i <= kMaxReinforcements; ++i)
            if (i != 6 && i != 7) st.Reinforcements[static_cast<std::size_t>(i)].Arrived = 1;
}

} // namespace vezer
