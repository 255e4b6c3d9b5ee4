#pragma once
// The figures the battle screens show, worked out here so the window game only draws them:
// the odds grade, the report's display delay, the participants table, the unit panels of the
// report, its labels, and the result summary.

#include "core/state.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace vezer {

// "Csekély" 0..25, "Kicsi" 26..50, "Jó" 51..75, "Kiváló" 76 and more; "?" in a network game.
std::string OddsGrade(int odds, bool networkGame);

// The delay per report line from line 12 of the settings list ("1".."4"; anything else is
// "Gyors"), and the delay a click on a speed label (1..4) sets.
int DisplayDelayFromSetting(std::string_view line12);
int DisplayDelayForLabel(int label);
// The speed label shown as chosen for line 12: 1..4.
int ChosenSpeedLabel(std::string_view line12);

// One row of the participants screen: a supporter of the attack (empty rows show nothing).
struct ParticipantRow {
    bool shown = false;
    std::string name;
    int movementPoints = 0;
    int cavalry = 0;
    int infantry = 0;
    int guns = 0;
    std::string chance; // JoinChance + " %"
};
std::array<ParticipantRow, 5> ParticipantRows(const State& state, int side);

// The unit panel of one force on the report: the types shown (decided once, before the
// battle), their slots and pictures, and the men and losses of each (refreshed after every
// line).
inline constexpr int kPanelSlots = 11;
struct UnitSlot {
    int type = 0;
    int slot = 0; // 0..10
    int left = 0; // pixels: 67 x slot + 40
    std::string picture;
    int men = 0;
    int losses = 0;
};
struct UnitPanel {
    int side = 0;
    int firstSlot = 0;
    std::vector<UnitSlot> slots; // at most eleven
};
// The starting slot for n shown types.
int FirstPanelSlot(int shownTypes);
UnitPanel BuildUnitPanel(const State& state, const THad& force, int side);
void RefreshUnitPanel(const State& state, const THad& force, UnitPanel& panel);

// The labels of a side on the report.
struct ForceLabels {
    std::string performance;  // "Teljesítmény: " + rating
    std::string moraleChange; // "Morál változás: " + tally
    std::string combatValue;  // "Harcérték: " + " " + value
};
ForceLabels BattleForceLabels(const State& state, int side);

// The picture of a report line's icon in an image list of `images` flags: icon n shows
// picture n - 1; icon 0, an icon beyond the list and a line beginning with "-" show none (-1).
int ReportLinePicture(int icon, std::string_view text, int images);

// The result summary; opening it writes TotalPoints.
struct ResultSummary {
    PerSide<int> engagementsWon{};
    PerSide<int> battlesWon{};
    int drawnEngagements = 0;
    int drawnBattles = 0;
    PerSide<int> battlePoints{};
    PerSide<int> cityPoints{};
    PerSide<int> totalPoints{};
    PerSide<std::array<int, 4>> losses{}; // [side][1 cavalry, 2 infantry, 3 guns]
};
ResultSummary OpenResultSummary(State& state);

// A fortress' level as the city dialog shows it: "present / intact".
std::string FortressLevelText(const TVaros& city);

} // namespace vezer
