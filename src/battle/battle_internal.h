#pragma once
// Helpers shared by the battle module's files; not for other modules.

#include "core/arith.h"
#include "core/game.h"
#include "core/geometry.h"
#include "forces/forces.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace vezer::battle {

inline BattleState& B(State& st) {
    return st.Battle;
}

// The regiments of a force, slots 1..UnitCount (never beyond the list's room).
inline int UnitsOf(const THad& f) {
    return std::clamp(f.UnitCount, 0, kCorpsUnitSlots);
}
inline int UnitAt(const THad& f, int slot) {
    return f.Units[static_cast<std::size_t>(slot)];
}

// The force a side fights with in the battle being fought.
inline THad& ForceOf(State& st, int side) {
    return side == st.Battle.AttackerSide ? st.Battle.AttackingForce : st.Battle.DefendingForce;
}

inline bool IsCavalry(const TEzred& e) {
    return e.Arm == 1;
}
inline bool IsInfantry(const TEzred& e) {
    return e.Arm == 2;
}
inline bool IsArtillery(const TEzred& e) {
    return e.Arm == 3;
}

// The corps a regiment stands in, or the empty record when it stands in none.
inline const THad& CorpsOfRegiment(const State& st, int side, const TEzred& e) {
    return st.Corps[static_cast<std::size_t>(side)]
                   [static_cast<std::size_t>(IsCorps(st, side, e.Corps) ? e.Corps : 0)];
}
inline bool InGarrison(const State& st, int side, const TEzred& e) {
    return IsCorps(st, side, e.Corps) && st.CorpsRec(side, e.Corps).Garrison == 1;
}

// A general's record, or the empty record for none.
inline const TTabornok& GeneralOf(const State& st, int side, int g) {
    return st.Generals[static_cast<std::size_t>(IsSide(side) ? side : 0)]
                      [static_cast<std::size_t>(IsGeneral(st, side, g) ? g : 0)];
}

// Icons of report lines: the flag class of a nation.
inline int NationIcon(int nation) {
    return NationFlagOf(nation);
}

// A product rounded half to even, as every battle figure is.
inline int Percent(int value, int percent) {
    return RoundHalfEvenRatio(1LL * value * percent, 100);
}

// A line of the battle report; dropped unless the report screen is open (an odds estimate and
// a bombardment write none).
void Report(Game& game, int icon, std::string_view text);
// The separator before an exchange, with the acting side's icon.
void ReportSeparator(Game& game, int side);

// The nation name of the nation numbered by a flag class (or the nation's own name when its
// class has none).
std::string NationNameByFlag(const State& st, int nation);
std::string NationName(const State& st, int nation);

// The movement cost of one step of `corps` from `from` into `to`, reckoned with that corps as
// the moving corps of its side, whatever is selected (the selection is put back after).
int StepCostFor(State& st, int side, int corps, Hex from, Hex to, bool knowAll, bool enterEnemy);

// Clears the battle state except the supporter list (which the attack order collected).
void ResetKeepingSupporters(Game& game);

// The close of ResolveBattle: the crushing-defeat test, the winner's morale and its log line.
void EndOfFight(Game& game, int side, int corps);

// Steps 7 and 8 of the fight: the tallies, shifted, make the winner or a draw (breaker: the
// side that broke off, if one did).
void DecideWinner(State& st, int attacker, bool brokeOff, int breaker);

// The fortress battery participation of a mode, in percent.
int BatteryParticipation(int mode);

// Follows the regiment indices of the four forces through deletions while a battle or a
// bombardment runs: a deleted regiment leaves its force, a moved one keeps its place.
class ForceIndexGuard : public IndexWatcher {
public:
    explicit ForceIndexGuard(Game& game);
    ~ForceIndexGuard() override;
    ForceIndexGuard(const ForceIndexGuard&) = delete;
    ForceIndexGuard& operator=(const ForceIndexGuard&) = delete;
    void RecordRemoved(RecordKind kind, int side, int removed, int movedFrom) override;

private:
    Game& game_;
};

} // namespace vezer::battle
