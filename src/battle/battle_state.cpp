// The battle's working state: clearing it, the forces' figures, the report lines and the
// bookkeeping that keeps the forces' regiment lists true while regiments are deleted.

#include "battle/battle.h"
#include "battle/battle_internal.h"

#include "core/text.h"
#include "forces/strength.h"
#include "map/queries.h"

#include <array>

namespace vezer {

using namespace battle;

namespace battle {

void Report(Game& game, int icon, std::string_view text) {
    if (!game.state.Battle.ReportOpen) return;
    game.screen.ReportLine(icon, CutToChars(text, kReportLineLength));
}

void ReportSeparator(Game& game, int side) {
    Report(game, side, kReportSeparator);
}

std::string NationName(const State& st, int nation) {
    if (nation < 1 || nation > kNationCount) return {};
    return std::string(st.Texts.NationName[static_cast<std::size_t>(nation)].view());
}

std::string NationNameByFlag(const State& st, int nation) {
    const int flag = NationFlagOf(nation);
    return flag >= 1 ? NationName(st, flag) : NationName(st, nation);
}

int StepCostFor(State& st, int side, int corps, Hex from, Hex to, bool knowAll, bool enterEnemy) {
    const int selected = st.SelectedCorps, selectedSide = st.SelectedCorpsSide;
    const int active = st.ActiveSide, other = st.OtherSide;
    st.SelectedCorps = corps;
    st.SelectedCorpsSide = side;
    st.ActiveSide = side;
    st.OtherSide = 3 - side;
    const int cost = MoveCost(st, from, to, knowAll, enterEnemy);
    st.SelectedCorps = selected;
    st.SelectedCorpsSide = selectedSide;
    st.ActiveSide = active;
    st.OtherSide = other;
    return cost;
}

int BatteryParticipation(int mode) {
    constexpr std::array<int, 5> kTable = {0, 10, 20, 20, 10};
    return mode >= 1 && mode <= 4 ? kTable[static_cast<std::size_t>(mode)] : 10;
}

void ResetKeepingSupporters(Game& game) {
    const auto supporters = game.state.Battle.SupportList;
    ResetBattleState(game);
    game.state.Battle.SupportList = supporters;
}

ForceIndexGuard::ForceIndexGuard(Game& game) : game_(game) {
    game_.watches.Add(this);
}
ForceIndexGuard::~ForceIndexGuard() {
    game_.watches.Remove(this);
}

void ForceIndexGuard::RecordRemoved(RecordKind kind, int side, int removed, int movedFrom) {
    if (kind != RecordKind::Regiment) return;
    BattleState& b = game_.state.Battle;
    const std::array<std::pair<THad*, int>, 4> forces = {{{&b.AttackingForce, b.AttackerSide},
                                                          {&b.DefendingForce, b.DefenderSide},
                                                          {&b.WinnerForce, b.Winner},
                                                          {&b.LoserForce, b.Loser}}};
    for (auto [force, forceSide] : forces) {
        if (forceSide != side) continue;
        int kept = 0;
        for (int i = 1; i <= UnitsOf(*force); ++i) {
            int r = UnitAt(*force, i);
            if (r == removed) continue;
            if (movedFrom > 0 && r == movedFrom) r = removed;
            force->Units[static_cast<std::size_t>(++kept)] = r;
        }
        for (int i = kept + 1; i <= UnitsOf(*force); ++i) force->Units[static_cast<std::size_t>(i)] = 0;
        force->UnitCount = kept;
    }
}

} // namespace battle

void ResetBattleState(Game& game) {
    State& st = game.state;
    const int mode = st.Battle.BattleMode;
    st.Battle = BattleState{};
    st.Battle.BattleMode = mode;
    st.Battle.BattleKind = kEngagement;
    for (int side = 1; side <= 2; ++side)
        for (int r = 1; r <= st.RegimentCount[side] && r <= kMaxRegiments; ++r) {
            TEzred& e = st.Regiment(side, r);
            e.EngagedInRound = e.FoughtInBattle = e.ActedInRound = 0;
            e.BattleLine = 1;
        }
}

void RecomputeForce(State& st, int side, THad& f) {
    // The corps recompute's order of the list: by type, then by regiment index.
    const int n = UnitsOf(f);
    auto first = f.Units.begin() + 1;
    std::sort(first, first + n, [&](int a, int b) {
        const int ta = IsRegiment(st, side, a) ? st.Regiment(side, a).Type : 0;
        const int tb = IsRegiment(st, side, b) ? st.Regiment(side, b).Type : 0;
        return ta != tb ? ta < tb : a < b;
    });
    f.AvgMorale = f.AvgReadiness = f.AvgSupply = 0;
    f.SumVisibility = f.SumDefenceValue = f.AvgMovementAllowance = 0;
    f.CavalryMen = f.InfantryMen = f.Guns = f.Type13Men = f.Type6Men = 0;
    f.MinObservation = 1000;
    f.MovementPoints = f.MovementAllowance = 255;
    f.AllClassOne = f.AllClassZero = f.ArtilleryOnly = 1;
    if (st.Difficulty == 1) {
        f.Formation = 4;
        f.Tactic = 2;
    }
    long long morale = 0, readiness = 0, supply = 0, defence = 0, visibility = 0, movement = 0;
    for (int i = 1; i <= n; ++i) {
        const int r = UnitAt(f, i);
        if (!IsRegiment(st, side, r)) continue;
        RecomputeRegiment(st, side, r);
        const TEzred& e = st.Regiment(side, r);
        const TEzredAlap& type = TypeOf(st, e);
        if (type.ArmClass == 1) f.AllClassZero = 0;
        if (type.ArmClass == 0) f.AllClassOne = 0;
        if (e.Arm != 3) f.ArtilleryOnly = 0;
        f.MovementPoints = std::min(f.MovementPoints, e.MovementPoints);
        f.MovementAllowance = std::min(f.MovementAllowance, e.MovementAllowance);
        f.MinObservation = std::min(f.MinObservation, e.Observation);
        morale += e.Morale;
        readiness += e.Readiness;
        supply += e.Supply;
        defence += e.DefenceValue;
        visibility += e.Visibility;
        movement += e.MovementAllowance;
        if (e.Arm == 1) f.CavalryMen += e.Men;
        if (e.Arm == 2) f.InfantryMen += e.Men;
        if (e.Arm == 3) f.Guns += e.Men;
        if (e.Type == kTypeSiegeBattery) f.Type13Men += e.Men;
        if (e.Type == kTypeLevy) f.Type6Men += e.Men;
    }
    const int divisor = n > 0 ? n : 1; // an emptied force (a withdrawn garrison) has no averages
    f.SumVisibility = static_cast<int>(visibility / (n / (n > 4 ? 5 : 2) + 1));
    // The force's combat value as the recompute counts it: siege guns nothing, fortress
    // batteries a quarter in a garrison, other guns by the artillery ratio.
    const int full = std::max(1, st.Types[kTypeFootBattery].FullStrength);
    const long long cav = RoundHalfEvenRatio(f.CavalryMen, 700), inf = RoundHalfEvenRatio(f.InfantryMen, 700);
    const long long guns = RoundHalfEvenRatio(f.Guns, full);
    long long ratioNum = 1, ratioDen = 1;
    if (f.Garrison != 1 && guns != 0) {
        if (cav + inf > 0)
            ratioNum = guns, ratioDen = cav + inf;
        else
            ratioNum = 5;
        if (ratioNum < ratioDen) ratioNum = ratioDen = 1;
    }
    f.ArtilleryRatio = static_cast<double>(ratioNum) / static_cast<double>(ratioDen);
    long long total = 1;
    for (int i = 1; i <= n; ++i) {
        const int r = UnitAt(f, i);
        if (!IsRegiment(st, side, r)) continue;
        const TEzred& e = st.Regiment(side, r);
        if (e.Type == kTypeSiegeBattery) continue;
        if (e.Type == kTypeFortressBattery) {
            if (f.Garrison == 1) total += e.CombatValue / 4;
        } else if (e.Arm == 3) {
            total += RoundHalfEvenRatio(1LL * e.CombatValue * ratioDen, ratioNum);
        } else {
            total += e.CombatValue;
        }
    }
    f.CombatValue = total < 1 ? 1 : static_cast<int>(std::min<long long>(total, 1'000'000'000));
    const int m = f.CavalryMen + f.InfantryMen - f.Type6Men / 2;
    f.SizeClass = m <= 3000 ? 1 : m <= 9000 ? 2 : 3;
    f.SumDefenceValue = static_cast<int>(defence);
    f.AvgMorale = static_cast<int>(morale / divisor);
    f.AvgReadiness = static_cast<int>(readiness / divisor);
    f.AvgSupply = static_cast<int>(supply / divisor);
    f.AvgMovementAllowance = static_cast<int>(movement / divisor);
    if (f.ArtilleryOnly) f.AvgMovementAllowance /= 2;
}

} // namespace vezer
