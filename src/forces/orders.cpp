#include "forces/orders.h"

#include "core/errors.h"
#include "forces/forces.h"
#include "forces/generals.h"
#include "forces/movement.h"
#include "forces/organisation.h"
#include "forces/stacks.h"
#include "forces/strength.h"
#include "map/geometry.h"
#include "turn/turn.h"
#include "turn/turn_hooks.h"

#include <algorithm>
#include <string>

namespace vezer {

std::array<std::uint8_t, kOrderBytes> EncodeOrder(const TParancs& order) {
    std::array<std::uint8_t, kOrderBytes> bytes{};
    const int values[6] = {order.Code, order.HexX, order.HexY, order.Side, order.Corps, order.Param};
    for (int i = 0; i < 6; ++i) {
        auto v = static_cast<std::uint32_t>(values[i]);
        for (int b = 0; b < 4; ++b) bytes[static_cast<std::size_t>(4 * i + b)] = static_cast<std::uint8_t>(v >> (8 * b));
    }
    return bytes;
}

TParancs DecodeOrder(const std::array<std::uint8_t, kOrderBytes>& bytes) {
    int values[6];
    for (int i = 0; i < 6; ++i) {
        std::uint32_t v = 0;
        for (int b = 0; b < 4; ++b) v |= std::uint32_t{bytes[static_cast<std::size_t>(4 * i + b)]} << (8 * b);
        values[i] = static_cast<int>(v);
    }
    return TParancs{values[0], values[1], values[2], values[3], values[4], values[5]};
}

namespace {

bool InRange(int v, int lo, int hi) { return v >= lo && v <= hi; }

// Which fields each code reads.
bool UsesSide(int code) {
    switch (code) {
    case 1: case 2: case 3: case 5: case 6: case 7: case 8: case 9: case 10: case 11: case 12:
    case 13: case 14: case 16: case 17: case 22: case 25: case 29:
        return true;
    default:
        return false;
    }
}
bool UsesCorps(int code) {
    switch (code) {
    case 1: case 2: case 3: case 5: case 7: case 8: case 9: case 10: case 11: case 12: case 14:
    case 17: case 22: case 25: case 29:
        return true;
    default:
        return false;
    }
}
bool NeedsMapHex(int code) {
    return code == 1 || code == 3 || code == 6 || code == 24 || code == 25 || code == 29;
}

std::string CheckParam(const State& st, const TParancs& o) {
    const int side = o.Side;
    const int p = o.Param;
    switch (o.Code) {
    case 7: case 13: case 16:
        if (!InRange(p, 1, std::min(st.RegimentCount[side], kMaxRegiments))) return "regiment out of range";
        break;
    case 6: case 10:
        if (!InRange(p, 1, std::min(st.GeneralCount[side], kMaxGenerals))) return "general out of range";
        break;
    case 8:
        if (!InRange(p, 1, kFormationCount)) return "formation out of range";
        break;
    case 9:
        if (!InRange(p, 1, kTacticCount)) return "tactic out of range";
        break;
    case 14:
        if (!InRange(p, 0, 5)) return "direction out of range";
        break;
    case 26:
        if (!InRange(p, 1, 5)) return "supporter entry out of range";
        break;
    case 21:
        if (!InRange(o.Corps, 0, std::min(st.TypeCount, kMaxTypes))) return "regiment type out of range";
        if (!InRange(p, 1, kCityCount)) return "city out of range";
        break;
    default:
        break;
    }
    return {};
}

// Order 30: the end of the turn. In an e-mail game the machine whose side is active only closes
// its order file; the turn ends on the opponent's machine when it replays this order.
void ExecuteEndTurnOrder(Game& game) {
    State& st = game.state;
    if (st.PbemGame && st.LocalSide == st.ActiveSide) {
        HookCloseOrderFile(game);
        return;
    }
    EndTurn(game);
    if (game.screen.MainScreenExists()) {
        game.screen.EnableCommands(st.LocalSide == st.ActiveSide);
        game.screen.RefreshMainScreen();
    }
}

void ReportRefusedOrder(Game& game, const TParancs& o, const std::string& why) {
    game.screen.ShowError("Hibás parancs (" + std::to_string(o.Code) + " " + std::to_string(o.HexX) + " " +
                          std::to_string(o.HexY) + " " + std::to_string(o.Side) + " " + std::to_string(o.Corps) +
                          " " + std::to_string(o.Param) + "): " + why);
}

// Order 6: a new, empty corps at the hex under the chosen general, on top of its stack.
bool NewCorps(Game& game, const TParancs& o) {
    State& st = game.state;
    const int side = o.Side;
    const int g = o.Param;
    TTabornok& general = st.General(side, g);
    // A general leads one corps, and only one who has not fallen or been taken takes a command.
    if (general.Available != 1 || (IsCorps(st, side, general.Corps) && st.CorpsRec(side, general.Corps).General == g))
        return false;
    if (st.CorpsCount[side] >= kMaxCorps) return false;
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
        return false;
    }
    st.SelectedCorps = index;
    st.SelectedCorpsSide = side;
    return true;
}

// Order 22: the selection made on the machine that gave the order.
void SelectCorps(Game& game, const TParancs& o) {
    State& st = game.state;
    st.SelectedCorps = o.Corps;
    st.SelectedCorpsSide = o.Side;
    st.SelectedHexX = o.HexX;
    st.SelectedHexY = o.HexY;
    if (!IsCorps(st, o.Side, o.Corps)) return;
    RecomputeCorps(game, o.Side, o.Corps);
    if (!IsCorps(st, o.Side, o.Corps)) return;
    const THad& h = st.CorpsRec(o.Side, o.Corps);
    if ((h.ReconLevel >= 1 || st.FogOfWar == 0) && st.ActiveSide != st.LocalSide)
        game.screen.CentreMapOn(o.HexX, o.HexY);
}

OrderOutcome RunOrder(Game& game, const TParancs& o) {
    State& st = game.state;
    const int side = o.Side;
    switch (o.Code) {
    case 1: HookAttack(game, o); break;
    case 2: HookBombard(game, o); break;
    case 3: HookStorm(game, o); break;
    case kOrderNewCorps:
        if (!NewCorps(game, o)) return OrderOutcome::Refused;
        break;
    case 7:
        MoveRegiment(game, side, o.Param, o.Corps, false);
        break;
    case 9:
        st.CorpsRec(side, o.Corps).Tactic = o.Param;
        break;
    case 10:
        ReplaceGeneral(game, side, o.Corps, o.Param);
        break;
    case 11: {
        THad& h = st.CorpsRec(side, o.Corps);
        h.Activity = 11;
        h.ActivityWeeks = st.Cell(h.X, h.Y).Entrenchment > 0 ? 4 : 2;
        if (side == st.LocalSide) game.screen.PlaySound(kSoundEntrench);
        break;
    }
    case 12: {
        THad& h = st.CorpsRec(side, o.Corps);
        h.Activity = 12;
        h.ActivityWeeks = 2;
        if (side == st.LocalSide) game.screen.PlaySound(kSoundFortify);
        break;
    }
    case 13:
        MergeRegiment(game, side, o.Param);
        break;
    case 14:
        st.CorpsRec(side, o.Corps).Direction = o.Param;
        game.screen.RefreshCorpsMarker(side, o.Corps);
        break;
    case kOrderClickHex:
        HookSelectAtHex(game, o.HexX, o.HexY);
        break;
    case 16:
        SplitRegiment(game, side, o.Param);
        break;
    case kOrderRemoveCorps:
        // A corps that still has regiments stays: they would point at the corps moved into its slot.
        if (!RemoveCorps(game, side, o.Corps)) return OrderOutcome::Refused;
        break;
    case 18: HookCheckVictory(game); break;
    case 21: {
        TVaros& city = CityRec(st, o.Param);
        city.RecruitType = o.Corps;
        city.RecruitWeeksLeft = st.Types[static_cast<std::size_t>(o.Corps)].RecruitWeeks;
        break;
    }
    case kOrderSelectCorps:
        SelectCorps(game, o);
        break;
    case 25: HookCollectSupporters(game, o); break;
    case 26: HookDropSupporter(game, o.Param); break;
    case 29: HookBattleOdds(game, o); break;
    case kOrderEndTurn:
        ExecuteEndTurnOrder(game);
        break;
    default:
        // 4, 19, 20, 23, 24 and 28 do nothing here; 5, 8 and 27 are the movement's.
        return RunMovementOrder(game, o);
    }
    return OrderOutcome::Executed;
}

} // namespace

std::string ValidateOrder(const State& st, const TParancs& o) {
    if (!InRange(o.Code, 1, kOrderEndTurn)) return "unknown order code " + std::to_string(o.Code);
    if (UsesSide(o.Code) && !IsSide(o.Side)) return "side out of range";
    if (UsesCorps(o.Code)) {
        const int lowest = o.Code == kOrderSelectCorps ? 0 : 1;
        if (!InRange(o.Corps, lowest, std::min(st.CorpsCount[o.Side], kMaxCorps))) return "corps out of range";
    }
    if (std::string bad = CheckParam(st, o); !bad.empty()) return bad;
    if (!State::InHexArray(o.HexX, o.HexY)) return "hex out of range";
    if (NeedsMapHex(o.Code) && !OnMap(st, Hex{o.HexX, o.HexY})) return "hex off the map";
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
    if (given.Code < 1 || given.Code > kOrderEndTurn)
        throw OrderError("unknown order code " + std::to_string(given.Code));
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
    bool selected = false;
    if ((st.NetworkGame || st.PbemGame) && st.LocalSide == st.ActiveSide && order.Code == kOrderClickHex) {
        HookSelectAtHex(game, order.HexX, order.HexY);
        order = TParancs{kOrderSelectCorps, st.SelectedHexX, st.SelectedHexY, st.SelectedCorpsSide, st.SelectedCorps, 0};
        selected = true;
    }
    if (st.ActiveSide == st.LocalSide) {
        if (st.PbemGame) HookRecordOrder(game, order);
        if (st.NetworkGame) game.link.SendOrder(order, st.RandPos, st.RandStep);
    }
    if (order.Code != kOrderUndo) st.Undo.Available = 0;
    if (order.Code == kOrderMove || order.Code == kOrderChangeFormation) FillUndoRecord(st, order);
    (void)selected;
    return RunOrder(game, order);
}

} // namespace vezer
