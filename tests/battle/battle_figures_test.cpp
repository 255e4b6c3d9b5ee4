// The figures of the battle screens: grades, delays, the participants table, the unit panels
// and the result summary.

#include "battle/battle.h"
#include "battle/battle_figures.h"
#include "battle/battle_fixture.h"

#include <gtest/gtest.h>

namespace vezer {
namespace {

using testing::At;
using testing::Reg;

TEST(BattleFigures, OddsGradesAtTheirBoundaries) {
    const struct {
        int odds;
        const char* grade;
    } cases[] = {{0, "Csekély"}, {25, "Csekély"}, {26, "Kicsi"},  {50, "Kicsi"},
                 {51, "Jó"},     {75, "Jó"},      {76, "Kiváló"}, {99, "Kiváló"}};
    for (const auto& c : cases) EXPECT_EQ(OddsGrade(c.odds, false), c.grade) << c.odds;
    EXPECT_EQ(OddsGrade(80, true), "?");
}

TEST(BattleFigures, TheDisplayDelayFromTheSettingAndFromAClick) {
    const struct {
        const char* line;
        int delay, label;
    } cases[] = {{"1", 100, 1}, {"2", 400, 2}, {"3", 800, 3}, {"4", 0, 4},
                 {"", 100, 1},  {"7", 100, 1}, {"33", 100, 1}};
    for (const auto& c : cases) {
        EXPECT_EQ(DisplayDelayFromSetting(c.line), c.delay) << c.line;
        EXPECT_EQ(ChosenSpeedLabel(c.line), c.label) << c.line;
    }
    EXPECT_EQ(DisplayDelayForLabel(3), 1000); // "Lassú" clicked on the odds screen
    EXPECT_EQ(DisplayDelayForLabel(4), 0);
    EXPECT_EQ(DisplayDelayForLabel(2), 400);
}

TEST(BattleFigures, ThePanelsStartingSlotAndItsPictures) {
    const int expected[] = {0, 5, 5, 4, 4, 3, 3, 2, 2, 1, 1, 0, 0};
    for (int n = 1; n <= 12; ++n) EXPECT_EQ(FirstPanelSlot(n), expected[n]) << n;

    testing::BattleGame t;
    State& st = t.st();
    // Side 2: hussars mostly Russian (class 3), line battalions mostly Austrian.
    const int c = t.b.Corps(2, At{5, 5},
                            {{.type = 4, .nation = 3},
                             {.type = 4, .men = 500, .nation = 2},
                             {.type = 9},
                             {.type = 9, .men = 300, .nation = 3},
                             {.type = 11}});
    t.b.RecomputeAll();
    st.Battle.DefendingForce = st.CorpsRec(2, c);
    st.Battle.BattleLossesByType[2][9] = 40;
    UnitPanel panel = BuildUnitPanel(st, st.Battle.DefendingForce, 2);
    ASSERT_EQ(panel.slots.size(), 3u);
    EXPECT_EQ(panel.firstSlot, 4);
    EXPECT_EQ(panel.slots[0].picture, "Pictures\\egysegek\\34.bmp");
    EXPECT_EQ(panel.slots[1].picture, "Pictures\\egysegek\\29.bmp");
    EXPECT_EQ(panel.slots[2].picture, "Pictures\\egysegek\\211.bmp");
    EXPECT_EQ(panel.slots[1].left, 67 * 5 + 40);
    EXPECT_EQ(panel.slots[1].men, 1300);
    EXPECT_EQ(panel.slots[1].losses, 40);
    // A type whose men all fell keeps its slot and shows 0.
    for (int r = 1; r <= st.RegimentCount[2]; ++r)
        if (st.Regiment(2, r).Type == 4) st.Regiment(2, r).Men = 0;
    RefreshUnitPanel(st, st.Battle.DefendingForce, panel);
    EXPECT_EQ(panel.slots[0].men, 0);
    EXPECT_EQ(panel.slots.size(), 3u);
    // Side 1 always takes the first set.
    const int own = t.b.Corps(1, At{6, 6}, {{.type = 4, .nation = 3}});
    const UnitPanel first = BuildUnitPanel(st, st.CorpsRec(1, own), 1);
    ASSERT_EQ(first.slots.size(), 1u);
    EXPECT_EQ(first.slots[0].picture, "Pictures\\egysegek\\14.bmp");
}

TEST(BattleFigures, MoreThanElevenTypesShowTheFirstEleven) {
    testing::BattleGame t;
    State& st = t.st();
    const int c = t.b.Corps(1, At{5, 5}, {});
    for (int type = 1; type <= 15; ++type) t.b.Regiment(1, c, {.type = type});
    t.b.RecomputeAll();
    const UnitPanel panel = BuildUnitPanel(st, st.CorpsRec(1, c), 1);
    EXPECT_EQ(panel.firstSlot, 0);
    ASSERT_EQ(panel.slots.size(), 11u);
    EXPECT_EQ(panel.slots.back().type, 11);
}

TEST(BattleFigures, ReportLinePicturesNeverReachBeyondTheList) {
    EXPECT_EQ(ReportLinePicture(1, "Magyar morál változás: -3", 4), 0);
    EXPECT_EQ(ReportLinePicture(4, "x", 4), 3);
    EXPECT_EQ(ReportLinePicture(5, "x", 4), -1);
    EXPECT_EQ(ReportLinePicture(0, "Csata", 4), -1);
    EXPECT_EQ(ReportLinePicture(2, kReportSeparator, 4), -1);
    EXPECT_EQ(ReportLinePicture(-3, "x", 4), -1);
}

TEST(BattleFigures, TheParticipantsTableAndTheResultSummary) {
    testing::BattleGame t;
    State& st = t.st();
    const int a = t.b.Corps(1, At{5, 5}, {{}, {.type = 4}, {.type = 11}});
    t.b.RecomputeAll();
    st.Battle.SupportList[2] = TSupportEntry{a, 20, 5, 5, 8, 0};
    const auto rows = ParticipantRows(st, 1);
    EXPECT_FALSE(rows[0].shown);
    ASSERT_TRUE(rows[1].shown);
    EXPECT_EQ(rows[1].name, st.CorpsRec(1, a).Name.str());
    EXPECT_EQ(rows[1].cavalry, 1000);
    EXPECT_EQ(rows[1].infantry, 1000);
    EXPECT_EQ(rows[1].guns, 8);
    EXPECT_EQ(rows[1].chance, "20 %");

    st.BattlePoints = {0, 200, 500};
    st.CityPoints = {0, 1000, 300};
    st.DrawnBattles = 2;
    st.Losses[1] = {0, 10, 20, 3};
    const ResultSummary r = OpenResultSummary(st);
    EXPECT_EQ(st.TotalPoints[1], 1200);
    EXPECT_EQ(st.TotalPoints[2], 800);
    EXPECT_EQ(r.totalPoints[2], 800);
    EXPECT_EQ(r.drawnBattles, 2);
    EXPECT_EQ(r.losses[1][3], 3);
    TVaros fort;
    fort.FortMax = 8;
    fort.FortStrength = 3;
    EXPECT_EQ(FortressLevelText(fort), "3 / 8");
}

TEST(BattleFigures, TheLabelsOfEachSide) {
    testing::BattleGame t;
    State& st = t.st();
    st.Battle.AttackerSide = 1;
    st.Battle.DefenderSide = 2;
    st.Battle.GeneralPerformance = {0, 4, -1};
    st.Battle.MoraleTally = {0, -7, 3};
    st.Battle.AttackingForce.CombatValue = 250;
    const ForceLabels l = BattleForceLabels(st, 1);
    EXPECT_EQ(l.performance, "Teljesítmény: 4");
    EXPECT_EQ(l.moraleChange, "Morál változás: -7");
    EXPECT_EQ(l.combatValue, "Harcérték:  250");
}

} // namespace
} // namespace vezer
