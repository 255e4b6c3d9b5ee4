#include "turn/turn.h"

#include "core/calendar.h"
#include "core/errors.h"
#include "core/log.h"
#include "battle/battle_orders.h"
#include "files/email_files.h"
#include "files/savegame.h"
#include "forces/organisation.h"
#include "forces/recon.h"
#include "forces/strength.h"
#include "turn/events.h"
#include "turn/recruitment.h"
#include "turn/upkeep.h"

#include <string>

namespace vezer {

namespace {

std::string DateName(const State& st) {
    return std::to_string(st.Year) + "_" + std::to_string(st.Month) + "_" + std::to_string(st.Week);
}

// Step 1: two automatic saves of the ending turn, for a person here or a network game.
void SaveEndingTurn(Game& game) {
    const State& st = game.state;
    if (!((st.PlayerType[st.ActiveSide] == 1 || st.NetworkGame) && !st.PbemGame)) return;
    // A save that cannot be written is shown to the player; the turn goes on.
    TrySaveGame(game, AutoSaveName(st));
    TrySaveGame(game, AutoSaveLatestName(st));
}

// Steps 4 to 6: the other side moves.
void SwitchSides(State& st) {
    st.ActiveSide = 3 - st.ActiveSide;
    st.OtherSide = 3 - st.OtherSide;
    // Hot-seat: the machine follows the side whose turn it is.
    if (st.PlayerType[1] == 1 && st.PlayerType[2] == 1 && !st.PbemGame) {
        st.LocalSide = 3 - st.LocalSide;
        st.LocalOtherSide = 3 - st.LocalOtherSide;
    }
    st.SelectedCorps = 0;
    st.SelectedCorpsSide = 0;
}

// Step 8: closing an e-mail turn: the week's recruitment bookkeeping, a clean battle module,
// the start-of-turn save and a new order file.
void CloseEmailTurn(Game& game) {
    UpdateWeaponShortage(game);
    CountLevyMen(game);
    ResetBattleState(game);
    TrySaveGame(game, kEmailSaveFile);
    // An order file that cannot be made is shown; the player's orders are then refused (nothing
    // could record them), never played unrecorded.
    try {
        CreateOrderFile(game);
    } catch (const FileIoError& e) {
        game.state.OrderFileOpen = 0;
        game.screen.ShowError(e.what());
    }
}

} // namespace

std::string AutoSaveName(const State& st) {
    return std::string("save\\") + (st.NetworkGame ? "m" : "") + DateName(st) + ".sav";
}

std::string AutoSaveLatestName(const State& st) {
    return st.NetworkGame ? "save\\multikorvege.sav" : "save\\korvege.sav";
}

void EndTurn(Game& game) {
    State& st = game.state;
    SaveEndingTurn(game);
    ChooseCityRecruitment(game, st.ActiveSide);
    ConsolidateRegiments(game, st.ActiveSide);
    SwitchSides(st);
    if (st.ActiveSide == 1) AdvanceWeek(game);
    if (st.PbemGame) CloseEmailTurn(game);
    if (st.ActiveSide == 1) {
        WeeklyUpkeep(game);
        // The end of the campaign closes the main screen; nothing more happens then.
        if (!game.screen.MainScreenExists()) return;
        ShowTurnStartScreen(game);
        game.screen.RefreshMainScreen();
    }
    StartSideTurn(game);
    // Whoever plays the new side plays it after this returns, from the driver loop: turns
    // never nest.
}

void AdvanceWeek(Game& game) {
    State& st = game.state;
    StepWeek(st.Year, st.Month, st.Week, 1);
    st.TurnEventCount = 0;
    std::string header = "--------- " + std::to_string(st.Year) + "-" + std::to_string(st.Month) + "-" +
                         std::to_string(st.Week) + " ---------";
    AddLogEntry(game, 1, 0, kLogKindRules, header, kColourWhite);
}

void StartSideTurn(Game& game) {
    State& st = game.state;
    int side = st.ActiveSide;
    if (side != 1 && side != 2) return;
    for (int r = 1; r <= st.RegimentCount[side]; ++r) {
        RecomputeRegiment(game.state, side, r);
        TEzred& e = st.Regiment(side, r);
        int corps = e.Corps;
        bool busy = corps >= 1 && corps <= kMaxCorps && st.CorpsRec(side, corps).Activity >= 1;
        e.MovementPoints = busy ? e.MovementAllowance / 2 : e.MovementAllowance;
    }
    for (int c = 1; c <= st.CorpsCount[side]; ++c) RecomputeCorps(game, side, c);
    TurnStartReconnaissance(game);
    FillTickerWithNewest(game);
    game.screen.RefreshAllMarkers();
    if (st.ActiveSide == 2 && st.LocalSide == 2 && !st.GameBeingLoaded)
        ShowMessageBox(game, "Az osztrák seregek parancsára várnak. A Császárért elöre!");
}

bool TurnEventVisible(const State& st, const TTurnEvent& event) {
    return event.Side == 0 || event.Side == st.LocalSide || st.FogOfWar == 0 || !event.Hidden;
}

void AddTurnEvent(Game& game, int side, bool hidden, std::string_view text) {
    State& st = game.state;
    if (!st.TurnStartScreenOpen) return;
    TTurnEvent event;
    event.Side = side == 3 || side == 4 ? 2 : side;  // the Russians and the Italians are told to side 2
    event.Hidden = hidden ? 1 : 0;
    event.Text = text;
    if (TurnEventVisible(st, event)) game.screen.TurnEventLine(event.Side, "  " + event.Text.str());
    if (st.TurnEventCount < kTurnEventLimit) st.TurnEventList[static_cast<std::size_t>(++st.TurnEventCount)] = event;
}

void ShowTurnStartScreen(Game& game) {
    State& st = game.state;
    st.TurnStartScreenOpen = 1;
    RunTurnEvents(game);
    game.screen.ShowTurnStartScreen(false);
    st.TurnStartScreenOpen = 0;
    // In a network game the screen waits for both players: this machine reports it is ready.
    if (st.NetworkGame) game.link.SendReadiness(1);
    if (st.LocalSide == 1)
        ShowMessageBox(game, "A magyar seregek parancsára várnak. A hazáért és a szabadságért elôre!!");
}

void ReviewTurnEvents(Game& game) {
    const State& st = game.state;
    if (st.NetworkGame && st.ActiveSide != st.LocalSide) return;
    for (int i = 1; i <= st.TurnEventCount; ++i) {
        const TTurnEvent& event = st.TurnEventList[static_cast<std::size_t>(i)];
        if (TurnEventVisible(st, event)) game.screen.TurnEventLine(event.Side, "  " + event.Text.str());
    }
    game.screen.ShowTurnStartScreen(true);
}

} // namespace vezer
