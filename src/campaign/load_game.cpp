// Loading a saved game: stage, verify, rebuild, then commit.

#include "core/errors.h"
#include "core/headless.h"
#include "core/log.h"
#include "core/texts.h"
#include "ai/ai_turn.h"
#include "battle/battle_orders.h"
#include "files/email_files.h"
#include "campaign/load_game.h"
#include "files/map_files.h"
#include "forces/generals.h"
#include "forces/strength.h"
#include "map/queries.h"
#include "turn/recruitment.h"
#include "turn/weather.h"
#include "files/savegame.h"
#include "files/scenario_files.h"
#include "campaign/setup.h"
#include "forces/markers.h"
#include "forces/organisation.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <system_error>

namespace vezer {

namespace {

// Rebuild step 1: generals created in play are created again, in index order, from their
// saved nation; the creation takes the next index and draws nothing.
void RecreateGenerals(Game& game) {
    State& st = game.state;
    for (int side = 1; side <= 2; ++side) {
        const int saved = st.GeneralCount[side];
        st.GeneralCount[side] = st.InitialGeneralCount[side];
        for (int g = st.InitialGeneralCount[side] + 1; g <= saved; ++g)
            // A general made again while loading joins no portrait list: the screen lists them anew.
            AddGeneral(game, side,
                           st.Generals[static_cast<std::size_t>(side)][static_cast<std::size_t>(g)].Nation, false);
    }
}

// Rebuild step 2: the general a corps names commands it.
void LinkGeneralsToCorps(State& st) {
    for (int side = 1; side <= 2; ++side) {
        for (int g = 1; g <= st.GeneralCount[side]; ++g)
            st.Generals[static_cast<std::size_t>(side)][static_cast<std::size_t>(g)].Corps = 0;
        for (int c = 1; c <= st.CorpsCount[side]; ++c) {
            const int general = st.Corps[static_cast<std::size_t>(side)][static_cast<std::size_t>(c)].General;
            if (general > 0)
                st.Generals[static_cast<std::size_t>(side)][static_cast<std::size_t>(general)].Corps = c;
        }
    }
}

// Rebuild step 4: regiments are numbered again within their type, named and recomputed.
void RenumberRegiments(Game& game) {
    State& st = game.state;
    for (int side = 1; side <= 2; ++side) {
        auto& counter = st.TypeCounter[static_cast<std::size_t>(side)];
        counter = {};
        for (int r = 1; r <= st.RegimentCount[side]; ++r) {
            TEzred& e = st.Regiments[static_cast<std::size_t>(side)][static_cast<std::size_t>(r)];
            e.Ordinal = ++counter[static_cast<std::size_t>(e.Type)];
            e.Name = RegimentTitle(st, side, r);
            RecomputeRegiment(game.state, side, r);
        }
    }
}

// Rebuild step 5. Every corps takes its general and is placed on its hex with its regiments
// before any is recomputed: a recompute that deletes an empty corps moves the last corps into
// its slot, and that corps must already be counted on its hex.
void PlaceCorps(Game& game) {
    State& st = game.state;
    for (int x = 0; x <= st.MapMaxX; ++x)
        for (int y = 0; y <= st.MapMaxY; ++y) st.Cell(x, y).CorpsCount = 0;
    for (int side = 1; side <= 2; ++side) {
        for (int c = 1; c <= st.CorpsCount[side]; ++c) {
            AssignGeneral(game, side, c);
            THad& h = st.Corps[static_cast<std::size_t>(side)][static_cast<std::size_t>(c)];
            h.SelfIndex = c;
            h.UnitCount = 0;
            h.Units = {};
            for (int r = 1; r <= st.RegimentCount[side]; ++r)
                if (st.Regiments[static_cast<std::size_t>(side)][static_cast<std::size_t>(r)].Corps == c)
                    h.Units[static_cast<std::size_t>(++h.UnitCount)] = r;
            const int count = ++st.Cell(h.X, h.Y).CorpsCount;
            h.StackOrder = h.Garrison == 1 ? 99 : count;
        }
    }
    for (int side = 1; side <= 2; ++side)
        for (int c = 1; c <= st.CorpsCount[side]; ++c) RecomputeCorps(game, side, c);
}

void CountCityPoints(State& st) {
    st.CityPoints = {0, 0, 0};
    for (int c = 1; c <= kCityCount; ++c) {
        const TVaros& city = st.Cities[static_cast<std::size_t>(c)];
        if (city.Owner == 1 || city.Owner == 2) st.CityPoints[city.Owner] += city.VictoryValue;
    }
}

// Rebuild step 9: each fortress shows the damage of its saved strength.
void ShowFortressDamage(State& st) {
    for (int c = 1; c <= kCityCount; ++c)
        st.FortressDamage[static_cast<std::size_t>(c)] = FortressDamageOf(st.Cities[static_cast<std::size_t>(c)]);
}

// The records a save fills start from their empty form, so that nothing of the game that was
// running before (a marker slot, a battle flag, a name) survives into the loaded one.
void ClearSavedRecords(State& st) {
    const THad emptyCorps = EmptyCorpsRecord();
    for (int side = 1; side <= 2; ++side) {
        for (THad& h : st.Corps[static_cast<std::size_t>(side)]) h = emptyCorps;
        for (TEzred& e : st.Regiments[static_cast<std::size_t>(side)]) e = TEzred{};
    }
    ResetCorpsMarkers(st);
}

// Everything derived from the saved fields, rebuilt in the scratch game.
void RebuildAfterLoad(Game& game) {
    State& st = game.state;
    st.GameBeingLoaded = 1; // the recompute keeps the saved estimates
    RecreateGenerals(game);
    LinkGeneralsToCorps(st);
    st.Tutorial = st.Difficulty == kTutorialDifficulty ? 1 : 0;
    // Every entrenched hex has its mark before any corps is recomputed: the entrenching
    // permission counts the marks.
    st.EntrenchmentMarkCount = CountEntrenchmentMarks(st);
    RenumberRegiments(game);
    PlaceCorps(game);
    ClearReconTargets(game);
    DrawWeather(game, false);
    CountCityPoints(st);
    ShowFortressDamage(st);
    // The campaign's dates first: a shifted reinforcement date is kept within them.
    SetCampaignDates(st, st.Campaign);
    LoadReinforcements(game);
    for (int side = 1; side <= 2; ++side)
        if (st.PlayerType[side] == 2) st.AiSiegeCorps[side] = FindSiegeCorps(game, side);
    if (st.Campaign == kCampaignTransylvania) ApplyTransylvanianAdjustments(st);
    st.GameBeingLoaded = 0;
    st.NewGameWeek = 0;
    if (st.PbemGame && st.ActiveSide == 1) st.TurnStartDue = 1;
    st.HiddenMove = 0;
    // An e-mail save is written right after the end of turn's weapon-shortage check (or at the
    // game's start, which runs it the same way): run again here, it must not count down the
    // recruitment penalty a second time, or the two machines fall out of step.
    if (st.PbemGame) ++st.RecruitPenaltyTurns;
    // A replay belongs to the turn file it was opened from (OpenTurnFile opens it).
    st.OrderFileOpen = st.ReplayOpen = st.ReplayPending = st.ReplayBusy = st.ReplayNotice = 0;
    st.ReplayNext = st.ReplayCount = 0;
    UpdateWeaponShortage(game);
    CountLevyMen(game);
    ResetBattleState(game);
}

// The references between records that the rules keep and a save could break: a general leads
// one corps, a corps holds at most fifty regiments, and a city's garrison is a garrison corps
// of its owner standing on it. Each is refused like a bad count.
void CheckCrossReferences(const State& st, const std::string& name) {
    auto refuse = [&](const std::string& why) { throw DataError(name, why); };
    for (int side = 1; side <= 2; ++side) {
        const auto s = std::to_string(side);
        std::array<int, kMaxCorps + 1> members{};
        for (int r = 1; r <= st.RegimentCount[side]; ++r)
            if (int c = st.Regiments[static_cast<std::size_t>(side)][static_cast<std::size_t>(r)].Corps;
                c > 0)
                ++members[static_cast<std::size_t>(c)];
        std::array<int, kMaxGenerals + 1> leads{};
        for (int c = 1; c <= st.CorpsCount[side]; ++c) {
            const THad& h = st.Corps[static_cast<std::size_t>(side)][static_cast<std::size_t>(c)];
            const auto corps = "corps " + std::to_string(c) + " of side " + s;
            if (members[static_cast<std::size_t>(c)] > kMaxUnitsPerCorps)
                refuse(std::to_string(members[static_cast<std::size_t>(c)]) + " regiments name " + corps +
                       ", more than " + std::to_string(kMaxUnitsPerCorps));
            if (h.General < 1 || h.General > kMaxGenerals) refuse(corps + " has no general");
            int& other = leads[static_cast<std::size_t>(h.General)];
            if (other != 0)
                refuse("general " + std::to_string(h.General) + " of side " + s + " leads corps " +
                       std::to_string(other) + " and " + std::to_string(c));
            other = c;
        }
    }
    for (int city = 1; city <= kCityCount; ++city) {
        const TVaros& v = st.Cities[static_cast<std::size_t>(city)];
        if (v.GarrisonCorps == 0 || (v.Owner != 1 && v.Owner != 2)) continue;
        const auto where =
            "the garrison corps " + std::to_string(v.GarrisonCorps) + " of city " + std::to_string(city);
        if (v.GarrisonCorps > st.CorpsCount[v.Owner]) refuse(where + " is not a corps of its owner");
        const THad& h =
            st.Corps[static_cast<std::size_t>(v.Owner)][static_cast<std::size_t>(v.GarrisonCorps)];
        if (h.X != v.X || h.Y != v.Y) refuse(where + " does not stand on it");
        if (h.Garrison != 1) refuse(where + " is not a garrison");
    }
}

// Reads the save into `staging` (a game prepared by the set-up), checks it and rebuilds
// everything derived there. `staging` is the loaded game when this returns. Returns where the
// recorded orders of an e-mail turn file begin (the end of the bytes for any other save).
std::size_t ReadAndRebuild(Game& staging, const Bytes& bytes, const std::string& displayName) {
    State& st = staging.state;
    ClearSavedRecords(st);
    st.NewGameWeek = 0;
    const std::size_t tail = ReadSaveInto(st, bytes, displayName, [&](State& s) {
        // The static city fields come from the city file before the saved ones are read.
        LoadCities(staging, s.DataSet, s.Campaign);
    });
    CheckCrossReferences(st, displayName);
    RebuildAfterLoad(staging);
    // The recorded orders of an e-mail turn file are checked with the save: a damaged order
    // part refuses the whole file.
    if (st.PbemGame && tail < bytes.size()) ReadOrderFile(std::span<const std::uint8_t>(bytes).subspan(tail), displayName);
    return tail;
}

// What the screen shows of a loaded game, once it is the running one.
void ShowLoadedGame(Game& game) {
    game.screen.RefreshAllMarkers();
    if (game.state.Campaign == kCampaignTransylvania) CentreMapOnCity(game, 1);
}

} // namespace

std::string SaveRefusal(const State& st) {
    if (st.PbemGame) return "Email-es játék esetén a mentés automatikus! (Kör vége gomb)";
    if (st.Campaign == kCampaignTutorial) return "Oktató hadjárat esetén nem lehet menteni!";
    return "";
}

void LoadGameFromBytes(Game& game, const Bytes& bytes, const std::string& displayName) {
    HeadlessPresentation quiet;
    NoTransport none;
    auto staging = MakeGame(quiet, none, game.dir);
    staging->state = game.state;
    ReadAndRebuild(*staging, bytes, displayName);
    game.state = staging->state;
    ShowLoadedGame(game);
}

void LoadSavedGame(Game& game, int dataSet, std::uint32_t seed, const Bytes& bytes,
                   const std::string& displayName) {
    HeadlessPresentation quiet;
    NoTransport none;
    auto staging = SetUpScratchGame(game, quiet, none, dataSet, seed);
    ReadAndRebuild(*staging, bytes, displayName);
    game.state = staging->state;
    game.screen.CreateCityDots();
    ShowLoadedGame(game);
}

void LoadSavedGameChecked(Game& game, int dataSet, std::uint32_t seed, const Bytes& bytes,
                          const std::string& displayName, const LoadAcceptance& accept) {
    HeadlessPresentation quiet;
    NoTransport none;
    auto staging = SetUpScratchGame(game, quiet, none, dataSet, seed);
    const std::size_t tail = ReadAndRebuild(*staging, bytes, displayName);
    accept(staging->state, std::span<const std::uint8_t>(bytes).subspan(tail));
    game.state = staging->state;
    game.screen.CreateCityDots();
    ShowLoadedGame(game);
}

void LoadGame(Game& game, std::string_view gameFileName) {
    const std::string name(gameFileName);
    LoadGameFromBytes(game, ReadFileBytes(game.dir.Resolve(name), name), name);
}

bool TryLoadGame(Game& game, std::string_view gameFileName, std::uint32_t seed) {
    try {
        const std::string name(gameFileName);
        LoadSavedGame(game, 1, seed, ReadFileBytes(game.dir.Resolve(name), name), name);
        return true;
    } catch (const DataError& e) {
        game.screen.ShowError(e.PlayerMessage());
    } catch (const FileIoError& e) {
        game.screen.ShowError(e.what());
    }
    return false;
}

} // namespace vezer
