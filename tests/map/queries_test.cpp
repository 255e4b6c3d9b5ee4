#include "map/map_state.h"
#include "map/queries.h"
#include "support/test_game.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace vezer {
namespace {

using testing::MakePlainMap;
using testing::PlaceCorps;
using testing::SetRiver;
using testing::SetRoad;
using testing::TestGame;

TEST(RecomputeMoveCosts, FollowsTheGroundState) {
    struct Case {
        int ground;
        std::array<int, 5> costs;
        int distanceFactor;
    };
    const Case cases[] = {
        {1, {8, 10, 15, 15, 255}, 4},
        {2, {10, 13, 22, 18, 255}, 6}, // 15 x 1.5 = 22.5 goes to the even 22
        {3, {10, 10, 16, 10, 255}, 6}, // 15 x 1.1 = 16.5 goes to 16
        {4, {8, 10, 10, 15, 255}, 4},  // 15 x 0.7 = 10.5 goes to 10
    };
    for (const Case& c : cases) {
        State st;
        st.TerrainCostBase = kTerrainCostBase;
        st.GroundState = c.ground;
        RecomputeMoveCosts(st);
        EXPECT_EQ(st.TerrainCost, c.costs) << "ground " << c.ground;
        EXPECT_EQ(st.DistanceFactor, c.distanceFactor) << "ground " << c.ground;
    }
    // Any other ground state keeps last week's costs.
    State st;
    st.TerrainCostBase = kTerrainCostBase;
    st.GroundState = 2;
    RecomputeMoveCosts(st);
    st.GroundState = 0;
    RecomputeMoveCosts(st);
    EXPECT_EQ(st.TerrainCost, (std::array<int, 5>{10, 13, 22, 18, 255}));
}

TEST(RecomputeMoveCosts, RiverCostsFollowRiverAndDanube) {
    const std::array<std::array<int, 3>, 5> table = {
        {{1, 15, 30}, {2, 25, 45}, {3, 30, 50}, {4, 5, 5}, {0, 5, 5}}};
    for (const auto& [state, river, danube] : table) {
        State st;
        st.RiverState = state;
        st.DanubeState = state;
        RecomputeMoveCosts(st);
        EXPECT_EQ(st.RiverCost1, river) << state;
        EXPECT_EQ(st.RiverCost2, danube) << state;
    }
}

TEST(Distance, IsThePlaneDistanceTimesTheFactorRounded) {
    State st;
    st.DistanceFactor = 4;
    EXPECT_EQ(Distance(st, {0, 0}, {3, 4}), 20);
    EXPECT_EQ(Distance(st, {3, 4}, {0, 0}), 20);
    EXPECT_EQ(Distance(st, {0, 0}, {1, 1}), 6); // 5.66
    EXPECT_EQ(Distance(st, {5, 5}, {5, 5}), 0);
    st.DistanceFactor = 6;
    EXPECT_EQ(Distance(st, {0, 0}, {2, 1}), 13); // 13.42
}

TEST(FarDirection, PointsAlongTheMapPicture) {
    struct Case {
        Hex from, to;
        int direction;
    };
    const Case cases[] = {
        {{10, 10}, {10, 4}, 0},
        {{10, 10}, {10, 16}, 3}, // north, south
        {{10, 10}, Neighbour({10, 10}, 1), 1},
        {{10, 10}, Neighbour({10, 10}, 2), 2},
        {{10, 10}, Neighbour({10, 10}, 4), 4},
        {{10, 10}, Neighbour({10, 10}, 5), 5},
        {{11, 10}, Neighbour({11, 10}, 1), 1},
        {{11, 10}, Neighbour({11, 10}, 4), 4},
        {{10, 10}, {20, 10}, 2},
        {{10, 10}, {2, 10}, 5},  // due east, due west
        {{10, 10}, {10, 10}, 2}, // the same hex: angle 0
        {{10, 10}, {16, 7}, 1},
        {{10, 10}, {4, 7}, 5},
        {{10, 10}, {16, 0}, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FarDirection(c.from, c.to), c.direction)
            << "(" << c.from.x << "," << c.from.y << ") -> (" << c.to.x << "," << c.to.y << ")";
}

// --- MoveCost -----------------------------------------------------------------------------

// From (10, 10) south into (10, 11); its flanks are (11, 10) on the left and (9, 10) on the right.
constexpr Hex kFrom{10, 10};
constexpr Hex kTo{10, 11};
constexpr Hex kLeftFlank{11, 10};
constexpr Hex kRightFlank{9, 10};

THad& Mover(State& st) {
    st.SelectedCorps = 1;
    THad& m = PlaceCorps(st, 1, 1, kFrom);
    m.UnitCount = 5;
    m.CombatValue = 100;
    return m;
}

THad& Enemy(State& st, int index, Hex at, int combatValue = 200) {
    THad& e = PlaceCorps(st, 2, index, at);
    e.UnitCount = 4;
    e.CombatValue = combatValue;
    e.ReconLevel = 1;
    return e;
}

struct CostCase {
    const char* what;
    std::function<void(State&)> setUp;
    int expected;
    bool knowAll = false;
    bool enterEnemy = false;
    Hex from = kFrom;
    Hex to = kTo;
};

void RunCostCases(const std::vector<CostCase>& cases) {
    for (const CostCase& c : cases) {
        auto st = std::make_unique<State>();
        MakePlainMap(*st);
        c.setUp(*st);
        EXPECT_EQ(MoveCost(*st, c.from, c.to, c.knowAll, c.enterEnemy), c.expected) << c.what;
    }
}

TEST(MoveCost, GroundAndTheEdgeOfTheMap) {
    auto terrain = [](int t) { return [t](State& st) { st.Cell(kTo.x, kTo.y).Terrain = t; }; };
    RunCostCases({
        {"plain", [](State&) {}, 8},
        {"forest", terrain(1), 10},
        {"marsh", terrain(2), 15},
        {"mountains", terrain(3), 15},
        {"impassable", terrain(4), 255},
        {"not a neighbour", [](State&) {}, 255, false, false, kFrom, {10, 12}},
        {"the same hex", [](State&) {}, 255, false, false, kFrom, kFrom},
        {"into the border ring", [](State&) {}, 255, false, false, {0, 5}, {-1, 5}},
        {"past the last column", [](State&) {}, 255, false, false, {62, 5}, {63, 5}},
        {"past the last row", [](State&) {}, 255, false, false, {5, 35}, {5, 36}},
        {"a road does not lead off the map",
         [](State& st) {
             SetRoad(st, {62, 5}, 2, 2);
         },
         255,
         false,
         false,
         {62, 5},
         {63, 5}},
        {"mud",
         [](State& st) {
             st.GroundState = 2;
             RecomputeMoveCosts(st);
         },
         10},
    });
}

TEST(MoveCost, RiversAndRoads) {
    RunCostCases({
        {"river", [](State& st) { SetRiver(st, kFrom, 3, 1); }, 8 + 15},
        {"Danube", [](State& st) { SetRiver(st, kFrom, 3, 2); }, 8 + 30},
        {"Danube at high water",
         [](State& st) {
             SetRiver(st, kFrom, 3, 2);
             st.DanubeState = 2;
             RecomputeMoveCosts(st);
         },
         8 + 45},
        {"impassable river", [](State& st) { SetRiver(st, kFrom, 3, 3); }, 255},
        {"impassable river under a road",
         [](State& st) {
             SetRiver(st, kFrom, 3, 3);
             SetRoad(st, kFrom, 3, 1);
         },
         191},
        {"impassable river under a railway",
         [](State& st) {
             SetRiver(st, kFrom, 3, 3);
             SetRoad(st, kFrom, 3, 2);
         },
         140},
        {"road", [](State& st) { SetRoad(st, kFrom, 3, 1); }, 6},
        {"railway", [](State& st) { SetRoad(st, kFrom, 3, 2); }, 4}, // 4.4
        {"road bridging a river",
         [](State& st) {
             SetRiver(st, kFrom, 3, 1);
             SetRoad(st, kFrom, 3, 1);
         },
         12}, // (8+15-7) x .75
        {"road bridging the Danube",
         [](State& st) {
             SetRiver(st, kFrom, 3, 2);
             SetRoad(st, kFrom, 3, 1);
         },
         17}, // (8+30-15) x .75 = 17.25
        {"a road on another side", [](State& st) { SetRoad(st, kFrom, 2, 1); }, 8},
        {"railway for horse alone",
         [](State& st) {
             Mover(st).AllClassOne = 1;
             SetRoad(st, kFrom, 3, 2);
         },
         6},
        {"railway for a corps with foot",
         [](State& st) {
             Mover(st);
             SetRoad(st, kFrom, 3, 2);
         },
         4},
        {"railway over a river for horse alone",
         [](State& st) {
             Mover(st).AllClassOne = 1;
             SetRoad(st, kFrom, 3, 2);
             SetRiver(st, kFrom, 3, 1);
         },
         9}, // (8+15-7) x .55 = 8.8
        {"a river crosser",
         [](State& st) {
             Mover(st).General = 4;
             st.Generals[1][4].SpecialAbility = 8;
             SetRiver(st, kFrom, 3, 1);
         },
         17}, // 23 x .75 = 17.25
        {"a river crosser on dry ground",
         [](State& st) {
             Mover(st).General = 4;
             st.Generals[1][4].SpecialAbility = 8;
         },
         8},
    });
}

TEST(MoveCost, Crowding) {
    RunCostCases({
        {"a corps of 10 000", [](State& st) { Mover(st).InfantryMen = 10000; }, 8},
        {"a corps of 35 000", [](State& st) { Mover(st).InfantryMen = 30000, Mover(st).CavalryMen = 5000; },
         10},
        {"35 000 of ours already there",
         [](State& st) {
             Mover(st);
             THad& k = PlaceCorps(st, 1, 2, kTo);
             k.InfantryMen = 34000;
             k.Guns = 1000;
             k.ReconLevel = 1;
         },
         10},
        {"unseen corps of ours under fog",
         [](State& st) {
             Mover(st);
             st.FogOfWar = 1;
             PlaceCorps(st, 1, 2, kTo).InfantryMen = 35000;
         },
         8},
        {"99 regiments fit",
         [](State& st) {
             Mover(st).UnitCount = 40;
             PlaceCorps(st, 1, 2, kTo).UnitCount = 59;
         },
         8},
        {"100 regiments do not",
         [](State& st) {
             Mover(st).UnitCount = 40;
             PlaceCorps(st, 1, 2, kTo).UnitCount = 60;
         },
         255},
        {"no selected corps, no crowding", [](State& st) { PlaceCorps(st, 1, 2, kTo).UnitCount = 100; }, 8},
    });
}

TEST(MoveCost, ZoneOfControl) {
    RunCostCases({
        {"enemy on the left flank", [](State& st) { Enemy(st, 1, kLeftFlank); }, 24},
        {"enemy on the right flank", [](State& st) { Enemy(st, 1, kRightFlank); }, 24},
        {"enemies on both flanks",
         [](State& st) {
             Enemy(st, 1, kLeftFlank);
             Enemy(st, 2, kRightFlank);
         },
         24},
        {"enemy behind, not on a flank",
         [](State& st) {
             Enemy(st, 1, {10, 9});
         },
         8},
        {"enemy garrison on the flank", [](State& st) { Enemy(st, 1, kLeftFlank).Garrison = 1; }, 8},
        {"unseen enemy", [](State& st) { Enemy(st, 1, kLeftFlank).ReconLevel = 0; }, 8},
        {"unseen enemy, all counted", [](State& st) { Enemy(st, 1, kLeftFlank).ReconLevel = 0; }, 24, true},
        {"no selected corps", [](State& st) { Enemy(st, 1, kLeftFlank); }, 24},
        {"horse passing foot",
         [](State& st) {
             Mover(st).AllClassOne = 1;
             Enemy(st, 1, kLeftFlank).AllClassZero = 1;
         },
         8},
        {"horse passing foot and horse",
         [](State& st) {
             Mover(st).AllClassOne = 1;
             Enemy(st, 1, kLeftFlank).AllClassZero = 1;
             Enemy(st, 2, kLeftFlank);
         },
         24},
        {"horse passes foot on the right, not horse on the left",
         [](State& st) {
             Mover(st).AllClassOne = 1;
             Enemy(st, 1, kLeftFlank);
             Enemy(st, 2, kRightFlank).AllClassZero = 1;
         },
         8}, // the right flank's result stands
        {"four times their strength",
         [](State& st) {
             Mover(st).CombatValue = 801;
             Enemy(st, 1, kLeftFlank, 200);
         },
         8},
        {"just four times",
         [](State& st) {
             Mover(st).CombatValue = 800;
             Enemy(st, 1, kLeftFlank, 200);
         },
         24},
        {"strength of both flanks",
         [](State& st) {
             Mover(st).CombatValue = 801;
             Enemy(st, 1, kLeftFlank, 200);
             Enemy(st, 2, kRightFlank, 1);
         },
         24},
        {"a garrison counts a quarter of its strength",
         [](State& st) {
             Mover(st).CombatValue = 845;
             Enemy(st, 1, kLeftFlank, 200);
             Enemy(st, 2, kLeftFlank, 50).Garrison = 1; // 12
         },
         24},
    });
}

TEST(MoveCost, EnemyHexesAndFortresses) {
    auto fortress = [](State& st, int owner) {
        st.Cities[5].GarrisonCapacity = 2000;
        st.Cities[5].Owner = owner;
        st.Cell(kTo.x, kTo.y).City = 5;
    };
    RunCostCases({
        {"enemy in the hex", [](State& st) { Enemy(st, 1, kTo); }, 255},
        {"enemy in the hex, attack allowed", [](State& st) { Enemy(st, 1, kTo); }, 8, false, true},
        {"unseen enemy in the hex", [](State& st) { Enemy(st, 1, kTo).ReconLevel = 0; }, 8},
        {"enemy garrison in the hex", [](State& st) { Enemy(st, 1, kTo).Garrison = 1; }, 8},
        {"enemy fortress", [&](State& st) { fortress(st, 2); }, 16},
        {"our fortress", [&](State& st) { fortress(st, 1); }, 8},
        {"enemy town",
         [](State& st) {
             st.Cities[5].Owner = 2;
             st.Cell(kTo.x, kTo.y).City = 5;
         },
         8},
        {"enemy fortress where our corps stands",
         [&](State& st) {
             fortress(st, 2);
             PlaceCorps(st, 1, 3, kTo);
         },
         8},
        {"enemy fortress where only our garrison stands",
         [&](State& st) {
             fortress(st, 2);
             PlaceCorps(st, 1, 3, kTo).Garrison = 1;
         },
         16},
        {"an enemy fortress full of enemies",
         [&](State& st) {
             fortress(st, 2);
             Enemy(st, 1, kTo);
         },
         510},
    });
}

TEST(EnemyStrength, CountsEveryCorpsAtLeastOne) {
    State st;
    MakePlainMap(st);
    EXPECT_EQ(EnemyStrength(st, 2, kTo, true), 0);
    Enemy(st, 1, kTo, 200);
    Enemy(st, 2, kTo, 50).Garrison = 1;  // 12
    Enemy(st, 3, kTo, 2).Garrison = 1;   // 0 -> 1
    Enemy(st, 4, kTo, 90).UnitCount = 0; // no regiments -> 1
    Enemy(st, 5, kTo, 70).ReconLevel = 0;
    EXPECT_EQ(EnemyStrength(st, 2, kTo, false), 200 + 12 + 1 + 1);
    EXPECT_EQ(EnemyStrength(st, 2, kTo, true), 200 + 12 + 1 + 1 + 70);
}

TEST(HexDemand, SumsTheSidesCorps) {
    State st;
    MakePlainMap(st);
    EXPECT_EQ(HexDemand(st, 1, kTo), 10);
    PlaceCorps(st, 1, 1, kTo).SupplyDemand = 30;
    PlaceCorps(st, 1, 2, kTo).SupplyDemand = 12;
    PlaceCorps(st, 2, 1, kTo).SupplyDemand = 99;
    PlaceCorps(st, 1, 3, kFrom).SupplyDemand = 99;
    EXPECT_EQ(HexDemand(st, 1, kTo), 42);
}

} // namespace
} // namespace vezer
