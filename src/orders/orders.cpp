#include "orders/orders.h"

#include "battle/battle_orders.h"
#include "core/errors.h"
#include "core/geometry.h"
#include "core/players.h"
#include "files/email_files.h"
#include "forces/forces.h"
#include "forces/generals.h"
#include "forces/movement.h"
#include "forces/organisation.h"
#include "forces/stacks.h"
#include "forces/strength.h"
#include "turn/turn.h"
#include "turn/victory.h"

#include <algorithm>
#include <array>
#include <exception>
#include <string>

namespace vezer {

namespace {

bool InRange(int v, int lo, int hi) { return v >= lo && v <= hi; }

// --- The handlers, one per code ----------------------------------------------------------

OrderOutcome Nothing(Game&, const TParancs&) { return OrderOutcome::Executed; }

// Orders 1 to 3 are refused, before anything is drawn, when the rules would never offer them.
OrderOutcome Attack(Game& game, const TParancs& o) {
    return AttackOrder(game, o) ? OrderOutcome::Executed : OrderOutcome::Refused;
}
OrderOutcome Bombard(Game& game, const TParancs& o) {
    return BombardOrder(game, o) ? OrderOutcome::Executed : OrderOutcome::Refused;
}
OrderOutcome Storm(Game& game, const TParancs& o) {
    return StormOrder(game, o) ? OrderOutcome::Executed : OrderOutcome::Refused;
}

// Order 5: the corps of the selected side marches; the undo stays only when no enemy was
// spotted under fog of war.
OrderOutcome Move(Game& game, const TParancs& o) {
    State& st = game.state;
    // A record naming none of the selected side's corps would leave the selection pointing at
    // nothing.
    if (!IsCorps(st, st.SelectedCorpsSide, o.Corps)) return OrderOutcome::Refused;
    st.SelectedCorps = o.Corps;
    st.Undo.Available = 1;
    MoveCorps(game, Hex{o.HexX, o.HexY});
    if (st.EnemySpotted && st.FogOfWar != 0) st.Undo.Available = 0;
    return OrderOutcome::Executed;
}

// Order 6: a new, empty corps at the hex under the chosen general, on top of its stack.
OrderOutcome NewCorps(Game& game, const TParancs& o) {
    State& st = game.state;
    const int side = o.Side;
    const int g = o.Param;
    TTabornok& general = st.General(side, g);
    // A general leads one corps, and only one who has not fallen or been taken takes a command.
    if (general.Available != 1 || (IsCorps(st, side, general.Corps) && st.CorpsRec(side, general.Corps).General == g))
        return OrderOutcome::Refused;
    if (st.CorpsCount[side] >= kMaxCorps) return OrderOutcome::Refused;
    if (IsCorps(st, st.SelectedCorpsSide, st.SelectedCorps))
        st.CorpsRec(st.SelectedCorpsSide, st.SelectedCorps).StackOrder = kStackBelow;
    const int index = st.CorpsCount[side] + 1;
    const int previous = general.Corps;
    general.Corps = index;
    THad& t = st.NewCorpsTemplate;
    t.General = g;
    t.Formation = 1;
    t.Tactic = 2;
    t.StackOrder = kStackTop;
    t.Direction = side == 1 ? 5 : 2;
    t.X = o.HexX;
    t.Y = o.HexY;
    if (!CreateCorps(game, side, index, t)) {
        if (IsGeneral(st, side, g) && st.General(side, g).Corps == index) st.General(side, g).Corps = previous;
        return OrderOutcome::Refused;
    }
    st.SelectedCorps = index;
    st.SelectedCorpsSide = side;
    return OrderOutcome::Executed;
}

OrderOutcome TransferRegiment(Game& game, const TParancs& o) {
    MoveRegiment(game, o.Side, o.Param, o.Corps, false);
    return OrderOutcome::Executed;
}

OrderOutcome Formation(Game& game, const TParancs& o) {
    ChangeFormation(game, o.Side, o.Corps, o.Param);
    game.state.Undo.Available = 1;
    return OrderOutcome::Executed;
}

OrderOutcome Tactic(Game& game, const TParancs& o) {
    game.state.CorpsRec(o.Side, o.Corps).Tactic = o.Param;
    return OrderOutcome::Executed;
}

OrderOutcome General(Game& game, const TParancs& o) {
    ReplaceGeneral(game, o.Side, o.Corps, o.Param);
    return OrderOutcome::Executed;
}

// Order 11: four weeks where the hex is already entrenched, two where it is not.
OrderOutcome Entrench(Game& game, const TParancs& o) {
    State& st = game.state;
    THad& h = st.CorpsRec(o.Side, o.Corps);
    h.Activity = 11;
    h.ActivityWeeks = st.Cell(h.X, h.Y).Entrenchment > 0 ? 4 : 2;
    if (o.Side == st.LocalSide) game.screen.PlaySound(kSoundEntrench);
    return OrderOutcome::Executed;
}

OrderOutcome Fortify(Game& game, const TParancs& o) {
    State& st = game.state;
    THad& h = st.CorpsRec(o.Side, o.Corps);
    h.Activity = 12;
    h.ActivityWeeks = 2;
    if (o.Side == st.LocalSide) game.screen.PlaySound(kSoundFortify);
    return OrderOutcome::Executed;
}

OrderOutcome Merge(Game& game, const TParancs& o) {
    MergeRegiment(game, o.Side, o.Param);
    return OrderOutcome::Executed;
}

OrderOutcome Turn(Game& game, const TParancs& o) {
    game.state.CorpsRec(o.Side, o.Corps).Direction = o.Param;
    game.screen.RefreshCorpsMarker(o.Side, o.Corps);
    return OrderOutcome::Executed;
}

OrderOutcome ClickHex(Game& game, const TParancs& o) {
    SelectAtHex(game, o.HexX, o.HexY);
    return OrderOutcome::Executed;
}

OrderOutcome Split(Game& game, const TParancs& o) {
    SplitRegiment(game, o.Side, o.Param);
    return OrderOutcome::Executed;
}

// A corps that still has regiments stays: they would point at the corps moved into its slot.
OrderOutcome Remove(Game& game, const TParancs& o) {
    return RemoveCorps(game, o.Side, o.Corps) ? OrderOutcome::Executed : OrderOutcome::Refused;
}

OrderOutcome EndOfGameCheck(Game& game, const TParancs&) {
    CheckVictory(game);
    return OrderOutcome::Executed;
}

OrderOutcome Recruit(Game& game, const TParancs& o) {
    State& st = game.state;
    TVaros& city = CityRec(st, o.Param);
    city.RecruitType = o.Corps;
    city.RecruitWeeksLeft = st.Types[static_cast<std::size_t>(o.Corps)].RecruitWeeks;
    return OrderOutcome::Executed;
}

// Order 22: the selection made on the machine that gave the order.
OrderOutcome Select(Game& game, const TParancs& o) {
    State& st = game.state;
    st.SelectedCorps = o.Corps;
    st.SelectedCorpsSide = o.Side;
    st.SelectedHexX = o.HexX;
    st.SelectedHexY = o.HexY;
    if (!IsCorps(st, o.Side, o.Corps)) return OrderOutcome::Executed;
    RecomputeCorps(game, o.Side, o.Corps);
    if (!IsCorps(st, o.Side, o.Corps)) return OrderOutcome::Executed;
    const THad& h = st.CorpsRec(o.Side, o.Corps);
    if ((h.ReconLevel >= 1 || st.FogOfWar == 0) && st.ActiveSide != st.LocalSide)
        game.screen.CentreMapOn(o.HexX, o.HexY);
    return OrderOutcome::Executed;
}

OrderOutcome CollectSupporters(Game& game, const TParancs& o) {
    CollectSupportersOrder(game, o);
    return OrderOutcome::Executed;
}
OrderOutcome DropSupporter(Game& game, const TParancs& o) {
    DropSupporterOrder(game, o.Param);
    return OrderOutcome::Executed;
}
OrderOutcome Undo(Game& game, const TParancs&) {
    UndoLastOrder(game);
    return OrderOutcome::Executed;
}
OrderOutcome BattleOdds(Game& game, const TParancs& o) {
    BattleOddsOrder(game, o);
    return OrderOutcome::Executed;
}

// Order 30: the end of the turn. In an e-mail game the machine whose side is active only closes
// its order file; the turn ends on the opponent's machine when it replays this order.
OrderOutcome EndTurnOrder(Game& game, const TParancs&) {
    State& st = game.state;
    if (st.PbemGame && st.LocalSide == st.ActiveSide) {
        CloseOrderFiles(game);
        return OrderOutcome::Executed;
    }
    // The replay of the opponent's turn is over: the end-turn button works again.
    st.ReplayPending = 0;
    EndTurn(game);
    if (game.screen.MainScreenExists()) {
        game.screen.EnableCommands(st.LocalSide == st.ActiveSide);
        game.screen.RefreshMainScreen();
    }
    return OrderOutcome::Executed;
}

// --- The table ---------------------------------------------------------------------------

using C = CorpsField;
using P = ParamField;

constexpr std::array<OrderSpec, kOrderCodeCount + 1> kOrderTable = {{
    {},
    {kOrderAttack, "attack", true, C::OfSide, P::None, true, Attack},
    {kOrderBombard, "bombard fortress", true, C::OfSide, P::None, false, Bombard},
    {kOrderStorm, "storm fortress", true, C::OfSide, P::None, true, Storm},
    {kOrderNone4, "none", false, C::None, P::None, false, Nothing},
    {kOrderMove, "move", false, C::OfSelectedSide, P::None, false, Move},
    {kOrderNewCorps, "new corps", true, C::None, P::General, true, NewCorps},
    {kOrderTransferRegiment, "transfer regiment", true, C::OfSide, P::Regiment, false, TransferRegiment},
    {kOrderChangeFormation, "change formation", true, C::OfSide, P::Formation, false, Formation},
    {kOrderChangeTactic, "change tactic", true, C::OfSide, P::Tactic, false, Tactic},
    {kOrderReplaceGeneral, "replace general", true, C::OfSide, P::General, false, General},
    {kOrderEntrench, "entrench", true, C::OfSide, P::None, false, Entrench},
    {kOrderFortify, "fortify", true, C::OfSide, P::None, false, Fortify},
    {kOrderMergeRegiment, "merge regiment", true, C::None, P::Regiment, false, Merge},
    {kOrderTurnCorps, "turn corps", true, C::OfSide, P::Direction, false, Turn},
    {kOrderClickHex, "click on hex", false, C::None, P::None, false, ClickHex},
    {kOrderSplitRegiment, "split regiment", true, C::None, P::Regiment, false, Split},
    {kOrderRemoveCorps, "remove corps", true, C::OfSide, P::None, false, Remove},
    {kOrderEndOfGameCheck, "end-of-game check", false, C::None, P::None, false, EndOfGameCheck},
    {kOrderNone19, "none", false, C::None, P::None, false, Nothing},
    {kOrderNone20, "none", false, C::None, P::None, false, Nothing},
    {kOrderCityRecruitment, "city recruitment", false, C::RegimentType, P::City, false, Recruit},
    {kOrderSelectCorps, "select corps", true, C::OfSideOrNone, P::None, false, Select},
    {kOrderNone23, "none", false, C::None, P::None, false, Nothing},
    {kOrderBattleRecord, "battle record", false, C::None, P::None, true, Nothing},
    {kOrderCollectSupporters, "collect supporters", true, C::OfSide, P::None, true, CollectSupporters},
    {kOrderDropSupporter, "drop supporter", false, C::None, P::SupporterEntry, false, DropSupporter},
    {kOrderUndo, "undo", false, C::None, P::None, false, Undo},
    {kOrderNone28, "none", false, C::None, P::None, false, Nothing},
    {kOrderBattleOdds, "battle odds", true, C::OfSide, P::None, true, BattleOdds},
    {kOrderEndTurn, "end turn", false, C::None, P::None, false, EndTurnOrder},
}};

constexpr bool TableIsInCodeOrder() {
    for (int i = 1; i <= kOrderCodeCount; ++i)
        if (kOrderTable[static_cast<std::size_t>(i)].code != i || kOrderTable[static_cast<std::size_t>(i)].run == nullptr)
            return false;
    return true;
}
static_assert(TableIsInCodeOrder(), "the order table lists codes 1..30 in order, each with a handler");

std::string CheckCorps(const State& st, const OrderSpec& spec, const TParancs& o) {
    switch (spec.corps) {
    case C::None:
        return {};
    case C::OfSide:
    case C::OfSideOrNone: {
        const int lowest = spec.corps == C::OfSideOrNone ? 0 : 1;
        if (!InRange(o.Corps, lowest, std::min(st.CorpsCount[o.Side], kMaxCorps))) return "corps out of range";
        return {};
    }
    case C::OfSelectedSide:
        if (!IsSide(st.SelectedCorpsSide) ||
            !InRange(o.Corps, 1, std::min(st.CorpsCount[st.SelectedCorpsSide], kMaxCorps)))
            return "corps out of range";
        return {};
    case C::RegimentType:
        if (!InRange(o.Corps, 0, std::min(st.TypeCount, kMaxTypes))) return "regiment type out of range";
        return {};
    }
    return {};
}

std::string CheckParam(const State& st, const OrderSpec& spec, const TParancs& o) {
    const int p = o.Param;
    switch (spec.param) {
    case P::None:
        return {};
    case P::Regiment:
        return InRange(p, 1, std::min(st.RegimentCount[o.Side], kMaxRegiments)) ? "" : "regiment out of range";
    case P::General:
        return InRange(p, 1, std::min(st.GeneralCount[o.Side], kMaxGenerals)) ? "" : "general out of range";
    case P::Formation:
        return InRange(p, 1, kFormationCount) ? "" : "formation out of range";
    case P::Tactic:
        return InRange(p, 1, kTacticCount) ? "" : "tactic out of range";
    case P::Direction:
        return InRange(p, 0, 5) ? "" : "direction out of range";
    case P::SupporterEntry:
        return InRange(p, 1, 5) ? "" : "supporter entry out of range";
    case P::City:
        return InRange(p, 1, kCityCount) ? "" : "city out of range";
    }
    return {};
}

void ReportRefusedOrder(Game& game, const TParancs& o, const std::string& why) {
    game.screen.ShowError("Hibás parancs (" + std::to_string(o.Code) + " " + std::to_string(o.HexX) + " " +
                          std::to_string(o.HexY) + " " + std::to_string(o.Side) + " " + std::to_string(o.Corps) +
                          " " + std::to_string(o.Param) + "): " + why);
}

} // namespace

const OrderSpec* FindOrderSpec(int code) {
    if (!InRange(code, 1, kOrderCodeCount)) return nullptr;
    return &kOrderTable[static_cast<std::size_t>(code)];
}

std::string ValidateOrder(const State& st, const TParancs& o) {
    const OrderSpec* spec = FindOrderSpec(o.Code);
    if (spec == nullptr) return "unknown order code " + std::to_string(o.Code);
    if (spec->readsSide && !IsSide(o.Side)) return "side out of range";
    if (std::string bad = CheckCorps(st, *spec, o); !bad.empty()) return bad;
    if (std::string bad = CheckParam(st, *spec, o); !bad.empty()) return bad;
    if (!State::InHexArray(o.HexX, o.HexY)) return "hex out of range";
    if (spec->hexOnMap && !OnMap(st, Hex{o.HexX, o.HexY})) return "hex off the map";
    return {};
}

std::string ValidateCarriedPosition(int randPos, int randStep) {
    if (!InRange(randPos, 1, kRandTableSize)) return "random position out of range";
    if (!InRange(randStep, 1, 15)) return "random step out of range";
    return {};
}

OrderOutcome ExecuteIncomingOrder(Game& game, const TParancs& order, int randPos, int randStep) {
    std::string bad = ValidateOrder(game.state, order);
    if (bad.empty()) bad = ValidateCarriedPosition(randPos, randStep);
    if (!bad.empty()) {
        ReportRefusedOrder(game, order, bad);
        return OrderOutcome::Refused;
    }
    game.state.RandPos = randPos;
    game.state.RandStep = randStep;
    return ExecuteOrder(game, order);
}

OrderOutcome ExecuteOrder(Game& game, const TParancs& given) {
    State& st = game.state;
    if (FindOrderSpec(given.Code) == nullptr) throw OrderError("unknown order code " + std::to_string(given.Code));
    if (std::string bad = ValidateOrder(st, given); !bad.empty()) {
        ReportRefusedOrder(game, given, bad);
        return OrderOutcome::Refused;
    }
    TParancs order = given;
    // A network game holds back an order of this machine while the other one acts.
    if (st.NetworkGame && st.ActiveSide == st.LocalSide && !game.link.HoldsTurn()) {
        game.link.StartWatchdog();
        return OrderOutcome::HeldBack;
    }
    st.NewCorpsTemplate = THad{};
    // The other machine and the order file get the selection a click made, not the click.
    if ((st.NetworkGame || st.PbemGame) && st.LocalSide == st.ActiveSide && order.Code == kOrderClickHex) {
        SelectAtHex(game, order.HexX, order.HexY);
        order = TParancs{kOrderSelectCorps, st.SelectedHexX, st.SelectedHexY, st.SelectedCorpsSide, st.SelectedCorps, 0};
    }
    if (st.ActiveSide == st.LocalSide) {
        if (st.PbemGame) RecordOrder(game, order);
        if (st.NetworkGame) game.link.SendOrder(order, st.RandPos, st.RandStep);
    }
    if (order.Code != kOrderUndo) st.Undo.Available = 0;
    if (order.Code == kOrderMove || order.Code == kOrderChangeFormation) FillUndoRecord(st, order);
    return kOrderTable[static_cast<std::size_t>(order.Code)].run(game, order);
}

void PlayTurns(Game& game) {
    State& st = game.state;
    while (game.players != nullptr && game.screen.MainScreenExists() && IsSide(st.ActiveSide)) {
        const int side = st.ActiveSide;
        const int year = st.Year, month = st.Month, week = st.Week;
        auto stillSameTurn = [&] {
            return st.ActiveSide == side && st.Year == year && st.Month == month && st.Week == week;
        };
        try {
            if (!game.players->PlayTurn(game, side)) return;
        } catch (const std::exception& e) {
            // A fault inside a player's turn is shown, never swallowed into a game that no one
            // plays any more: the turn still ends below.
            game.screen.ShowError(std::string("A kör hibával ért véget / The turn ended with an error: ") + e.what());
        }
        if (stillSameTurn() && game.screen.MainScreenExists()) {
            ExecuteOrder(game, TParancs{kOrderEndTurn, 0, 0, side, 0, 0});
            // An e-mail game's own order 30 only closes the order file; nothing more can pass here.
            if (stillSameTurn()) return;
        }
    }
}

} // namespace vezer
