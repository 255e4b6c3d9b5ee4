#include "battle/battle_figures.h"

#include "battle/battle_internal.h"

#include <algorithm>

namespace vezer {

using namespace battle;

std::string OddsGrade(int odds, bool networkGame) {
    if (networkGame) return "?";
    if (odds <= 25) return "Csekély";
    if (odds <= 50) return "Kicsi";
    if (odds <= 75) return "Jó";
    return "Kiváló";
}

int ChosenSpeedLabel(std::string_view line12) {
    if (line12 == "2") return 2;
    if (line12 == "3") return 3;
    if (line12 == "4") return 4;
    return 1;
}

int DisplayDelayFromSetting(std::string_view line12) {
    constexpr std::array<int, 5> kDelay = {0, 100, 400, 800, 0};
    return kDelay[static_cast<std::size_t>(ChosenSpeedLabel(line12))];
}

int DisplayDelayForLabel(int label) {
    constexpr std::array<int, 5> kDelay = {100, 100, 400, 1000, 0};
    return label >= 1 && label <= 4 ? kDelay[static_cast<std::size_t>(label)] : 100;
}

std::array<ParticipantRow, 5> ParticipantRows(const State& st, int side) {
    std::array<ParticipantRow, 5> rows{};
    for (int i = 1; i <= 5; ++i) {
        const TSupportEntry& e = st.Battle.SupportList[static_cast<std::size_t>(i)];
        if (e.Corps == 0 || !IsCorps(st, side, e.Corps)) continue;
        const THad& h = st.CorpsRec(side, e.Corps);
        ParticipantRow& row = rows[static_cast<std::size_t>(i - 1)];
        row.shown = true;
        row.name = h.Name.str();
        row.movementPoints = h.MovementPoints;
        row.cavalry = h.CavalryMen;
        row.infantry = h.InfantryMen;
        row.guns = h.Guns;
        row.chance = std::to_string(e.JoinChance) + " %";
    }
    return rows;
}

int FirstPanelSlot(int n) {
    if (n <= 2) return 5;
    if (n <= 4) return 4;
    if (n <= 6) return 3;
    if (n <= 8) return 2;
    if (n <= 10) return 1;
    return 0;
}

namespace {

std::array<int, kMaxTypes + 1> MenByType(const State& st, const THad& f, int side, int flagClass) {
    std::array<int, kMaxTypes + 1> men{};
    for (int i = 1; i <= UnitsOf(f); ++i) {
        const int r = UnitAt(f, i);
        if (!IsRegiment(st, side, r)) continue;
        const TEzred& e = st.Regiment(side, r);
        if (!IsType(e.Type)) continue;
        if (flagClass != 0 && NationFlagOf(e.Nation) != flagClass) continue;
        men[static_cast<std::size_t>(e.Type)] += e.Men;
    }
    return men;
}

} // namespace

UnitPanel BuildUnitPanel(const State& st, const THad& f, int side) {
    UnitPanel panel;
    panel.side = side;
    const auto men = MenByType(st, f, side, 0);
    std::vector<int> shown;
    for (int t = 1; t <= std::min(st.TypeCount, kMaxTypes); ++t)
        if (men[static_cast<std::size_t>(t)] > 0) shown.push_back(t);
    panel.firstSlot = FirstPanelSlot(static_cast<int>(shown.size()));
    const auto austrian = MenByType(st, f, side, 2);
    const auto third = MenByType(st, f, side, 3);
    for (std::size_t k = 0; k < shown.size(); ++k) {
        const int slot = panel.firstSlot + static_cast<int>(k);
        if (slot >= kPanelSlots) break;
        const int t = shown[k];
        const int set = side == 1                                                                    ? 1
                        : austrian[static_cast<std::size_t>(t)] > third[static_cast<std::size_t>(t)] ? 2
                                                                                                     : 3;
        UnitSlot s;
        s.type = t;
        s.slot = slot;
        s.left = 67 * slot + 40;
        s.picture = "Pictures\\egysegek\\" + std::to_string(set) + std::to_string(t) + ".bmp";
        panel.slots.push_back(s);
    }
    RefreshUnitPanel(st, f, panel);
    return panel;
}

void RefreshUnitPanel(const State& st, const THad& f, UnitPanel& panel) {
    const auto men = MenByType(st, f, panel.side, 0);
    const int side = IsSide(panel.side) ? panel.side : 0;
    for (UnitSlot& s : panel.slots) {
        s.men = men[static_cast<std::size_t>(s.type)];
        s.losses =
            st.Battle.BattleLossesByType[static_cast<std::size_t>(side)][static_cast<std::size_t>(s.type)];
    }
}

ForceLabels BattleForceLabels(const State& st, int side) {
    const BattleState& b = st.Battle;
    const int s = IsSide(side) ? side : 0;
    const THad& f = side == b.AttackerSide ? b.AttackingForce : b.DefendingForce;
    return ForceLabels{"Teljesítmény: " + std::to_string(b.GeneralPerformance[static_cast<std::size_t>(s)]),
                       "Morál változás: " + std::to_string(b.MoraleTally[static_cast<std::size_t>(s)]),
                       "Harcérték: " + std::string(" ") + std::to_string(f.CombatValue)};
}

int ReportLinePicture(int icon, std::string_view text, int images) {
    if (!text.empty() && text.front() == '-') return -1;
    if (icon < 1 || icon > images) return -1;
    return icon - 1;
}

ResultSummary OpenResultSummary(State& st) {
    ResultSummary r;
    for (int s = 1; s <= 2; ++s) {
        st.TotalPoints[s] = st.BattlePoints[s] + st.CityPoints[s];
        r.engagementsWon[s] = st.EngagementsWon[s];
        r.battlesWon[s] = st.BattlesWon[s];
        r.battlePoints[s] = st.BattlePoints[s];
        r.cityPoints[s] = st.CityPoints[s];
        r.totalPoints[s] = st.TotalPoints[s];
        r.losses[s] = st.Losses[s];
    }
    r.drawnEngagements = st.DrawnEngagements;
    r.drawnBattles = st.DrawnBattles;
    return r;
}

std::string FortressLevelText(const TVaros& city) {
    return std::to_string(city.FortStrength) + " / " + std::to_string(city.FortMax);
}

} // namespace vezer
