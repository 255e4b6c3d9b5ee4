#include "forces/occupation.h"

#include "core/arith.h"
#include "core/log.h"
#include "core/random.h"
#include "forces/forces.h"
#include "forces/markers.h"

#include <string>

namespace vezer {

namespace {

// Step 2 of an occupation: the town changes hands.
void TakeCity(Game& game, int side, int nation, int general, int cityIndex) {
    State& st = game.state;
    TVaros& city = CityRec(st, cityIndex);
    const int other = 3 - side;
    // A corps of no nation (the computer's detachments) flies its side's flag.
    city.FlagClass = NameClassFor(side, NationFlagOf(nation));
    city.Owner = side;
    city.RecruitType = 0;
    city.RecruitWeeksLeft = 0;
    city.CaptureCounter = 4;
    st.CityPoints[side] += city.VictoryValue;
    st.CityPoints[other] -= city.VictoryValue;
    if (city.Kind > 1) {
        ZealChange(game, side, city.VictoryValue / 200);
        ZealChange(game, other, -(city.VictoryValue / 200));
    }
    std::string who = IsGeneral(st, side, general) ? st.General(side, general).FamilyName.str() : "";
    AddLogEntry(game, side, 0, kLogKindRules, who + kOccupiesText + city.Name.str(), kColourOrange);

    // The loss of a town of their own land weakens the other side's troops of that nation.
    const int n = city.Nation;
    const int cls = NationFlagOf(n);
    if (n > 3 && n != 7 && cls == other) {
        for (int r = 1; r <= st.RegimentCount[other]; ++r) {
            TEzred& e = st.Regiment(other, r);
            if (e.Nation != n) continue;
            e.Supply = ClampSub(e.Supply, 10);
            e.Morale = ClampSub(e.Morale, 10);
        }
        std::string name = n <= kNationCount ? st.Texts.NationName[static_cast<std::size_t>(n)].str() : "";
        AddLogEntry(game, other, 0, kLogKindRules, name + " " + kNationUnitsWeakenedText, kColourYellow);
    }
}

} // namespace

void EnterEntrenchment(Game& game, int side, int x, int y) {
    const THex& hex = game.state.Cell(x, y);
    if (hex.Entrenchment <= 0 || hex.EntrenchmentSide != 3 - side) return;
    if (hex.Entrenchment == 1) SetEntrenchment(game, x, y, 0, 0);
    else SetEntrenchment(game, x, y, hex.Entrenchment, side);
}

void OccupyHex(Game& game, int side, int nation, int general, int x, int y) {
    State& st = game.state;
    if (!IsSide(side)) return;
    EnterEntrenchment(game, side, x, y);
    if (int city = CityAt(st, x, y); city && CityRec(st, city).VictoryValue != 0) {
        const TVaros& v = CityRec(st, city);
        // Fortresses fall by storm only; a town with any enemy corps in it is still held.
        if (v.GarrisonCapacity == 0 && v.Owner == 3 - side && FirstCorpsAt(st, 3 - side, x, y) == 0)
            TakeCity(game, side, nation, general, city);
        game.screen.RefreshCityMarker(city);
    }
    if (st.PlayerType[side] == 2) RemoveReconTarget(st, x, y);
}

void ZealChange(Game& game, int side, int amount) {
    State& st = game.state;
    if (amount == 0 || !IsSide(side)) return;
    int room = amount > 0 ? 100 - st.Zeal[side] : st.Zeal[side] - st.ZealFloor[side];
    if (room < 0) room = 0;
    int b = room * 3 / 2;
    if (st.Difficulty == 1) b = b * 3 / 2;
    if (b < R(st, 100)) return;
    st.Zeal[side] = amount > 0 ? ClampAdd(st.Zeal[side], amount) : ClampSub(st.Zeal[side], -amount);
    std::string text = side == 1 ? "Hungarian zeal: " : "Austrian zeal: ";
    text += amount > 0 ? "+" : "-";
    text += std::to_string(amount > 0 ? amount : -amount);
    AddLogEntry(game, side, 0, kLogKindRules, text, kColourYellow);
}

void RemoveReconTarget(State& st, int x, int y) {
    THex& hex = st.Cell(x, y);
    if (!hex.ReconListed) return;
    int i = 1;
    while (i <= st.ReconTargetCount && i <= kReconTargetRoom) {
        TReconTarget& t = st.ReconTargets[static_cast<std::size_t>(i)];
        if (t.X == x && t.Y == y) {
            t = st.ReconTargets[static_cast<std::size_t>(st.ReconTargetCount)];
            --st.ReconTargetCount;
            continue;  // the slot holds the last entry now
        }
        ++i;
    }
    hex.ReconListed = 0;
}

} // namespace vezer
