// Orders through the executor: marching (stops, rail, towns taken on the way, undo), the
// records it refuses, and what a network game sends to the other machine.

#include "core/errors.h"
#include "core/fingerprint.h"
#include "core/transport.h"
#include "forces/forces.h"
#include "forces/invariants.h"
#include "forces/markers.h"
#include "forces/movement.h"
#include "orders/orders.h"
#include "forces/strength.h"
#include "map/map_state.h"
#include "map/queries.h"
#include "support/state_builder.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace vezer {
namespace {

std::string Joined(const std::vector<std::string>& lines) {
    std::string all;
    for (const std::string& l : lines) all += l + "\n";
    return all;
}

// Plain ground costs 8 points a step on firm ground.
void FirmGround(State& st) {
    st.TerrainCostBase = kTerrainCostBase;
    st.GroundState = st.RiverState = st.DanubeState = 1;
    RecomputeMoveCosts(st);
}

OrderOutcome MoveIn(Game& game, int side, int corps, Hex to) {
    const THad& h = game.state.CorpsRec(side, corps);
    ExecuteOrder(game, TParancs{kOrderSelectCorps, h.X, h.Y, side, corps, 0});
    return ExecuteOrder(game, TParancs{kOrderMove, to.x, to.y, side, corps, 0});
}

struct Orders : ::testing::Test, testing::BuiltGame {
    Orders() { FirmGround(st()); }

    // As the screens give it: the corps is selected, then moved.
    OrderOutcome Move(int side, int corps, Hex to) { return MoveIn(g(), side, corps, to); }
    const THad& C(int side, int corps) { return st().CorpsRec(side, corps); }
    const TEzred& FirstRegiment(int side, int corps) { return st().Regiment(side, C(side, corps).Units[1]); }
    Hex Where(int side, int corps) { return Hex{C(side, corps).X, C(side, corps).Y}; }
    std::vector<int> Sounds() {
        std::vector<int> out;
        for (const auto& call : t.screen.Calls())
            if (call.kind == HeadlessPresentation::Kind::Sound) out.push_back(call.value);
        return out;
    }
};

TEST_F(Orders, AMoveBeyondTheMovementPointsDoesNothing) {
    // Five plain steps cost 40; the corps has 30 points left.
    const int c = b.Corps(1, {20, 20}, {{.movement = 30}});
    b.RecomputeAll();
    ASSERT_EQ(Move(1, c, {20, 15}), OrderOutcome::Executed);
    EXPECT_EQ(Where(1, c), (Hex{20, 20}));
    EXPECT_EQ(FirstRegiment(1, c).MovementPoints, 30);
    EXPECT_EQ(FirstRegiment(1, c).MovementUsed, 0);
    EXPECT_EQ(FirstRegiment(1, c).Readiness, 100);
    EXPECT_EQ(st().Cell(20, 20).CorpsCount, 1);
    EXPECT_TRUE(Sounds().empty()) << "a corps that does not march makes no sound";

    // The same corps with 40 points makes it.
    testing::TestGame t2;
    testing::StateBuilder b2{t2.g()};
    FirmGround(t2.st());
    const int d = b2.Corps(1, {20, 20}, {{.movement = 40}});
    b2.RecomputeAll();
    MoveIn(t2.g(), 1, d, {20, 15});
    EXPECT_EQ(t2.st().CorpsRec(1, d).X, 20);
    EXPECT_EQ(t2.st().CorpsRec(1, d).Y, 15);
    EXPECT_EQ(t2.st().Regiment(1, t2.st().CorpsRec(1, d).Units[1]).MovementPoints, 0);
}

TEST_F(Orders, AMoveOntoAnEnemyStopsOneHexShort) {
    const int c = b.Corps(1, {20, 20}, {{.readiness = 80, .supply = 80}});
    const int enemy = b.Corps(2, {20, 17}, {{}});
    b.RecomputeAll();
    const int points = FirstRegiment(1, c).MovementPoints;
    ASSERT_GE(points, 24);
    ASSERT_EQ(Move(1, c, {20, 17}), OrderOutcome::Executed);
    EXPECT_EQ(Where(1, c), (Hex{20, 18}));
    EXPECT_EQ(Where(2, enemy), (Hex{20, 17}));
    EXPECT_EQ(FirstRegiment(1, c).MovementPoints, points - 16) << "two steps of 8 were taken, not three";
    EXPECT_EQ(C(1, c).Direction, 0) << "it faces the enemy";
    EXPECT_EQ(st().Cell(20, 17).CorpsCount, 1);
    EXPECT_EQ(st().Cell(20, 18).CorpsCount, 1);
    EXPECT_EQ(st().Cell(20, 20).CorpsCount, 0);
    EXPECT_EQ(Joined(CheckInvariants(st())), "");
}

TEST_F(Orders, ACorpsThatSpotsAHiddenEnemyStopsThereAndCannotUndo) {
    st().FogOfWar = 1;
    // Already seen by the enemy, so only its own discovery can stop it.
    const int c = b.Corps(1, {20, 20}, {{}}, {.recon = 1});
    // Beside the path's third hex (20, 18) and no other: the north-east neighbour of it.
    const Hex hidden = Neighbour(Hex{20, 18}, 1);
    ASSERT_EQ(DirectionTo(Hex{20, 19}, hidden), kNoDirection);
    const int enemy = b.Corps(2, {hidden.x, hidden.y}, {{}});
    b.RecomputeAll();
    ASSERT_EQ(C(2, enemy).ReconLevel, 0);
    const int points = FirstRegiment(1, c).MovementPoints;
    ASSERT_GE(points, 40);
    ASSERT_EQ(Move(1, c, {20, 15}), OrderOutcome::Executed);
    EXPECT_EQ(Where(1, c), (Hex{20, 18})) << "stops where the enemy is spotted";
    EXPECT_GE(C(2, enemy).ReconLevel, 1);
    EXPECT_EQ(FirstRegiment(1, c).MovementPoints, points - 16);
    EXPECT_EQ(st().Undo.Available, 0);
    ExecuteOrder(g(), TParancs{kOrderUndo, 0, 0, 1, 0, 0});
    EXPECT_EQ(Where(1, c), (Hex{20, 18})) << "the undo is gone";
    EXPECT_EQ(FirstRegiment(1, c).MovementPoints, points - 16);

    // Without fog of war the same march goes to the end and may be undone.
    testing::BuiltGame open;
    FirmGround(open.st());
    const int d = open.b.Corps(1, {20, 20}, {{}});
    open.b.Corps(2, {hidden.x, hidden.y}, {{.men = 100}});
    open.b.RecomputeAll();
    MoveIn(open.g(), 1, d, {20, 15});
    EXPECT_EQ(open.st().CorpsRec(1, d).Y, 15);
    EXPECT_EQ(open.st().Undo.Available, 1);
}

TEST_F(Orders, UndoRestoresTheMarchButNotTheMovementUsed) {
    st().GroundState = 2;  // mud: one more readiness and supply a step
    RecomputeMoveCosts(st());
    const int c = b.Corps(1, {20, 20}, {{.readiness = 80, .supply = 70}, {.type = 11, .readiness = 60, .supply = 50}},
                          {.activity = 11});
    b.RecomputeAll();
    const TEzred& r1 = FirstRegiment(1, c);
    const TEzred& r2 = st().Regiment(1, C(1, c).Units[2]);
    const TEzred start1 = r1, start2 = r2;
    ASSERT_GE(start1.MovementPoints, 20);
    ASSERT_GE(start2.MovementPoints, 20);
    ASSERT_EQ(Move(1, c, {20, 18}), OrderOutcome::Executed);
    ASSERT_EQ(Where(1, c), (Hex{20, 18}));
    // Two steps of 10 (8 x 1.3 in mud): 1 + 1 readiness and supply each.
    EXPECT_EQ(r1.MovementPoints, start1.MovementPoints - 20);
    EXPECT_EQ(r1.Readiness, start1.Readiness - 4);
    EXPECT_EQ(r2.Supply, start2.Supply - 4);
    EXPECT_EQ(C(1, c).Activity, 0) << "marching cancels the entrenching";
    ASSERT_EQ(st().Undo.Available, 1);

    ExecuteOrder(g(), TParancs{kOrderUndo, 0, 0, 1, 0, 0});
    EXPECT_EQ(Where(1, c), (Hex{20, 20}));
    EXPECT_EQ(st().Cell(20, 20).CorpsCount, 1);
    EXPECT_EQ(st().Cell(20, 18).CorpsCount, 0);
    for (const auto& [now, start] : {std::pair{&r1, &start1}, std::pair{&r2, &start2}}) {
        EXPECT_EQ(now->MovementPoints, start->MovementPoints);
        EXPECT_EQ(now->Readiness, start->Readiness);
        EXPECT_EQ(now->Supply, start->Supply);
        EXPECT_EQ(now->MovementUsed, start->MovementUsed + 20) << "the march still counts as used";
    }
    EXPECT_EQ(C(1, c).MovementPoints, std::min(start1.MovementPoints, start2.MovementPoints)) << "recomputed";
    EXPECT_EQ(C(1, c).Activity, 0) << "a cancelled activity stays cancelled";
    EXPECT_EQ(st().SelectedHexX, 20);
    EXPECT_EQ(st().SelectedHexY, 20);
    EXPECT_EQ(Joined(CheckInvariants(st())), "");

    // Once only.
    ExecuteOrder(g(), TParancs{kOrderUndo, 0, 0, 1, 0, 0});
    EXPECT_EQ(r1.MovementPoints, start1.MovementPoints);
    EXPECT_EQ(Where(1, c), (Hex{20, 20}));
}

TEST_F(Orders, AFormationChangeIsUndoneButAnyOtherOrderEndsTheUndo) {
    const int c = b.Corps(1, {20, 20}, {{.men = 5000}, {.men = 4001}});
    b.RecomputeAll();
    ASSERT_EQ(C(1, c).SizeClass, 3);
    const int points = FirstRegiment(1, c).MovementPoints;
    ExecuteOrder(g(), TParancs{kOrderChangeFormation, 0, 0, 1, c, 4});
    EXPECT_EQ(C(1, c).Formation, 4);
    EXPECT_EQ(FirstRegiment(1, c).MovementPoints, points - 16);
    ExecuteOrder(g(), TParancs{kOrderUndo, 0, 0, 1, 0, 0});
    EXPECT_EQ(C(1, c).Formation, 3);
    EXPECT_EQ(FirstRegiment(1, c).MovementPoints, points);

    ExecuteOrder(g(), TParancs{kOrderChangeFormation, 0, 0, 1, c, 6});
    EXPECT_EQ(FirstRegiment(1, c).MovementPoints, points - 1);
    ExecuteOrder(g(), TParancs{9, 0, 0, 1, c, 1});  // a change of tactic in between
    ExecuteOrder(g(), TParancs{kOrderUndo, 0, 0, 1, 0, 0});
    EXPECT_EQ(C(1, c).Formation, 6);
    EXPECT_EQ(FirstRegiment(1, c).MovementPoints, points - 1);
}

TEST_F(Orders, OnlyACorpsWithFootOrGunsTakesTheRailway) {
    struct Case {
        const char* what;
        std::vector<int> types;
        int cost;
        std::vector<int> sounds;
    };
    // Two railway steps then a plain one: 4 + 4 + 8 by train, 6 + 6 + 8 riding beside it.
    const std::vector<Case> cases = {
        {"infantry", {9}, 16, {kSoundTrain, 7}},
        {"horse and foot together", {1, 9}, 16, {kSoundTrain, 9}},
        {"horse with a horse battery", {1, 12}, 20, {11}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        testing::BuiltGame t2;
        FirmGround(t2.st());
        testing::SetRoad(t2.st(), Hex{20, 20}, 0, 2);
        testing::SetRoad(t2.st(), Hex{20, 19}, 0, 2);
        const int c = t2.b.Corps(1, {20, 20}, {});
        for (int type : k.types) t2.b.Regiment(1, c, {.type = type});
        t2.b.RecomputeAll();
        const int points = t2.st().Regiment(1, t2.st().CorpsRec(1, c).Units[1]).MovementPoints;
        ASSERT_GE(points, 20);
        t2.t.screen.Clear();
        MoveIn(t2.g(), 1, c, {20, 17});
        const THad& h = t2.st().CorpsRec(1, c);
        EXPECT_EQ(h.Y, 17);
        EXPECT_EQ(t2.st().Regiment(1, h.Units[1]).MovementPoints, points - k.cost);
        std::vector<int> sounds;
        for (const auto& call : t2.t.screen.Calls())
            if (call.kind == HeadlessPresentation::Kind::Sound) sounds.push_back(call.value);
        EXPECT_EQ(sounds, k.sounds);
        EXPECT_NE(h.MarkerArm, kMarkerArmTrain) << "the train marker is gone after the march";
    }
}

TEST_F(Orders, TownsOnTheWayAreTakenFortressesAreNot) {
    b.City(5, {20, 19}, {.owner = 2, .kind = 1});
    b.City(6, {20, 18}, {.owner = 2, .kind = 3});
    b.City(7, {20, 17}, {.owner = 1, .kind = 2});
    const int c = b.Corps(1, {20, 20}, {{.men = 400}}, {.recon = 1});
    b.RecomputeAll();
    ASSERT_EQ(Move(1, c, {20, 16}), OrderOutcome::Executed);
    EXPECT_EQ(Where(1, c), (Hex{20, 16}));
    EXPECT_EQ(st().Cities[5].Owner, 1) << "the undefended town is taken in passing";
    EXPECT_EQ(st().Cities[6].Owner, 2) << "a fortress is not taken by walking through";
    EXPECT_EQ(st().Cities[7].Owner, 1);
    EXPECT_EQ(st().Undo.Available, 0) << "a capture cannot be undone";
    ExecuteOrder(g(), TParancs{kOrderUndo, 0, 0, 1, 0, 0});
    EXPECT_EQ(Where(1, c), (Hex{20, 16}));
    EXPECT_EQ(Joined(CheckInvariants(st())), "");
}

TEST_F(Orders, ARenumberingDuringAMoveKeepsTheMoverAndItsUndo) {
    // A corps whose last regiment has no men left waits at the target; the march's recompute
    // of the company there removes it, and the mover, the last corps of the side, takes its slot.
    const int empty = b.Corps(1, {20, 18}, {{.men = 0}});
    const int other = b.Corps(1, {30, 30}, {{}});
    const int mover = b.Corps(1, {20, 20}, {{}});
    const int general = C(1, mover).General;
    RecomputeCorps(g(), 1, other);
    RecomputeCorps(g(), 1, mover);
    ASSERT_EQ(st().CorpsCount[1], 3);
    ASSERT_EQ(Move(1, mover, {20, 18}), OrderOutcome::Executed);
    ASSERT_EQ(st().CorpsCount[1], 2);
    const int now = st().General(1, general).Corps;
    EXPECT_EQ(now, empty);
    EXPECT_EQ(C(1, now).General, general);
    EXPECT_EQ(Where(1, now), (Hex{20, 18}));
    EXPECT_EQ(st().SelectedCorps, now);
    EXPECT_EQ(Joined(CheckInvariants(st())), "");
    ASSERT_EQ(st().Undo.Available, 1);
    ExecuteOrder(g(), TParancs{kOrderUndo, 0, 0, 1, 0, 0});
    EXPECT_EQ(Where(1, now), (Hex{20, 20})) << "the undo follows the mover into its new slot";
    EXPECT_EQ(Where(1, other), (Hex{30, 30}));
    EXPECT_EQ(Joined(CheckInvariants(st())), "");
}

TEST_F(Orders, AMoveIsOfTheSelectedSidesCorps) {
    const int own = b.Corps(1, {20, 20}, {{}});
    const int enemy = b.Corps(2, {30, 20}, {{}});
    b.RecomputeAll();
    // Nothing selected yet: the move is refused and the selection stays empty.
    EXPECT_EQ(ExecuteOrder(g(), TParancs{kOrderMove, 20, 18, 1, own, 0}), OrderOutcome::Refused);
    EXPECT_EQ(st().SelectedCorps, 0);
    EXPECT_EQ(Where(1, own), (Hex{20, 20}));
    EXPECT_EQ(Joined(CheckInvariants(st())), "");

    // A record naming the other side moves the selected side's corps, and its undo returns
    // that corps without handing the other side's corps of the same number anything.
    ExecuteOrder(g(), TParancs{kOrderSelectCorps, 20, 20, 1, own, 0});
    const int enemyPoints = FirstRegiment(2, enemy).MovementPoints;
    const int ownPoints = FirstRegiment(1, own).MovementPoints;
    ASSERT_EQ(ExecuteOrder(g(), TParancs{kOrderMove, 20, 18, 2, own, 0}), OrderOutcome::Executed);
    EXPECT_EQ(Where(1, own), (Hex{20, 18}));
    ExecuteOrder(g(), TParancs{kOrderUndo, 0, 0, 1, 0, 0});
    EXPECT_EQ(Where(1, own), (Hex{20, 20}));
    EXPECT_EQ(FirstRegiment(1, own).MovementPoints, ownPoints);
    EXPECT_EQ(FirstRegiment(2, enemy).MovementPoints, enemyPoints);
    EXPECT_EQ(Where(2, enemy), (Hex{30, 20}));
}

TEST_F(Orders, RemovingACorpsThatStillHasRegimentsIsRefused) {
    const int full = b.Corps(1, {20, 20}, {{}});
    const int empty = b.Corps(1, {22, 20}, {});
    EXPECT_EQ(ExecuteOrder(g(), TParancs{kOrderRemoveCorps, 0, 0, 1, full, 0}), OrderOutcome::Refused);
    EXPECT_EQ(st().CorpsCount[1], 2);
    EXPECT_EQ(FirstRegiment(1, full).Corps, full);
    EXPECT_EQ(ExecuteOrder(g(), TParancs{kOrderRemoveCorps, 0, 0, 1, empty, 0}), OrderOutcome::Executed);
    EXPECT_EQ(st().CorpsCount[1], 1);
    EXPECT_EQ(st().Cell(22, 20).CorpsCount, 0);
    EXPECT_EQ(Joined(CheckInvariants(st())), "");
}

TEST_F(Orders, ValidationChecksEveryIndexRangeByCode) {
    b.Corps(1, {20, 20}, {{}, {}});
    b.Corps(1, {22, 20}, {{}});
    b.Corps(2, {30, 20}, {{}});
    b.RecomputeAll();
    const int regiments1 = st().RegimentCount[1];  // 3
    const int regiments2 = st().RegimentCount[2];  // 1
    const int generals1 = st().GeneralCount[1];    // 2
    ASSERT_EQ(st().CorpsCount[1], 2);
    ASSERT_EQ(st().CorpsCount[2], 1);
    st().SelectedCorpsSide = 1;  // a move is of a corps of the selected side
    struct Case {
        TParancs order;
        bool ok;
        const char* what;
    };
    const Case cases[] = {
        {{0, 20, 20, 1, 1, 0}, false, "code 0"},
        {{31, 20, 20, 1, 1, 0}, false, "code 31"},
        {{4, 20, 20, 1, 1, 0}, true, "a code that does nothing"},
        {{30, 0, 0, 0, 0, 0}, true, "the end of the turn reads no side"},
        {{5, 20, 20, 0, 1, 0}, true, "a move reads no side"},
        {{5, 20, 20, 3, 2, 0}, true, "a move reads no side, even past 2"},
        {{5, 20, 20, 1, 0, 0}, false, "corps 0"},
        {{5, 20, 20, 1, 2, 0}, true, "the last corps"},
        {{5, 20, 20, 1, 3, 0}, false, "past the last corps"},
        {{5, 20, 20, 2, 2, 0}, true, "the selected side's last corps, whatever side the record names"},
        {{2, 20, 20, 2, 2, 0}, false, "past the other side's last corps"},
        {{2, 20, 20, 0, 1, 0}, false, "side 0"},
        {{2, 20, 20, 3, 1, 0}, false, "side 3"},
        {{22, 20, 20, 1, 0, 0}, true, "selecting no corps"},
        {{22, 20, 20, 1, 3, 0}, false, "selecting past the last corps"},
        {{22, 20, 20, 0, 0, 0}, false, "selecting for side 0"},
        {{17, 0, 0, 1, -1, 0}, false, "a negative corps"},
        {{7, 0, 0, 1, 1, regiments1}, true, "the last regiment"},
        {{7, 0, 0, 1, 1, regiments1 + 1}, false, "past the last regiment"},
        {{7, 0, 0, 1, 1, 0}, false, "regiment 0"},
        {{13, 0, 0, 1, 0, regiments1}, true, "merge reads no corps"},
        {{16, 0, 0, 2, 0, regiments2 + 1}, false, "split past the other side's last regiment"},
        {{6, 20, 20, 1, 0, generals1}, true, "the last general"},
        {{6, 20, 20, 1, 0, generals1 + 1}, false, "past the last general"},
        {{10, 0, 0, 1, 1, 0}, false, "general 0"},
        {{8, 0, 0, 1, 1, 7}, true, "formation 7"},
        {{8, 0, 0, 1, 1, 8}, false, "formation 8"},
        {{8, 0, 0, 1, 1, 0}, false, "formation 0"},
        {{9, 0, 0, 1, 1, 3}, true, "tactic 3"},
        {{9, 0, 0, 1, 1, 4}, false, "tactic 4"},
        {{14, 0, 0, 1, 1, 0}, true, "direction 0"},
        {{14, 0, 0, 1, 1, 5}, true, "direction 5"},
        {{14, 0, 0, 1, 1, 6}, false, "direction 6"},
        {{14, 0, 0, 1, 1, -1}, false, "direction -1"},
        {{26, 0, 0, 0, 0, 1}, true, "supporter entry 1"},
        {{26, 0, 0, 0, 0, 5}, true, "supporter entry 5"},
        {{26, 0, 0, 0, 0, 6}, false, "supporter entry 6"},
        {{26, 0, 0, 0, 0, 0}, false, "supporter entry 0"},
        {{21, 0, 0, 0, 0, 1}, true, "recruiting type 0 in city 1"},
        {{21, 0, 0, 0, 15, 75}, true, "the last type in the last city"},
        {{21, 0, 0, 0, 16, 1}, false, "type 16"},
        {{21, 0, 0, 0, -1, 1}, false, "type -1"},
        {{21, 0, 0, 0, 1, 76}, false, "city 76"},
        {{21, 0, 0, 0, 1, 0}, false, "city 0"},
        {{5, -1, -1, 1, 1, 0}, true, "a move to (-1, -1)"},
        {{5, 99, 99, 1, 1, 0}, true, "a move to the array's far corner"},
        {{5, 100, 0, 1, 1, 0}, false, "column 100"},
        {{5, 0, -2, 1, 1, 0}, false, "row -2"},
        {{5, 63, 0, 1, 1, 0}, true, "a move off the playable map"},
        {{6, 62, 35, 1, 0, 1}, true, "a new corps in the map's far corner"},
        {{6, 63, 35, 1, 0, 1}, false, "a new corps off the map"},
        {{6, -1, -1, 1, 0, 1}, false, "a new corps at (-1, -1)"},
        {{1, 0, 36, 1, 1, 0}, false, "an attack off the map"},
        {{3, -1, 0, 1, 1, 0}, false, "a storm off the map"},
        {{24, 63, 0, 0, 0, 0}, false, "order 24 off the map"},
        {{25, 0, 36, 1, 1, 0}, false, "supporters off the map"},
        {{29, 63, 0, 1, 1, 0}, false, "odds off the map"},
        {{29, 62, 0, 1, 1, 0}, true, "odds on the map"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        const std::string why = ValidateOrder(st(), k.order);
        EXPECT_EQ(why.empty(), k.ok) << why;
    }
    // With the other side selected its single corps is the last; with none selected no move runs.
    st().SelectedCorpsSide = 2;
    EXPECT_TRUE(ValidateOrder(st(), TParancs{5, 20, 20, 1, 1, 0}).empty());
    EXPECT_FALSE(ValidateOrder(st(), TParancs{5, 20, 20, 1, 2, 0}).empty());
    st().SelectedCorpsSide = 0;
    EXPECT_EQ(ValidateOrder(st(), TParancs{5, 20, 20, 1, 1, 0}), "corps out of range");

    struct Position {
        int pos, step;
        bool ok;
    };
    for (const Position& p : {Position{1, 1, true}, Position{10000, 15, true}, Position{0, 1, false},
                              Position{10001, 1, false}, Position{1, 0, false}, Position{1, 16, false}}) {
        SCOPED_TRACE(std::to_string(p.pos) + "/" + std::to_string(p.step));
        EXPECT_EQ(ValidateCarriedPosition(p.pos, p.step).empty(), p.ok);
    }
}

TEST_F(Orders, ARecordFromOutsideIsCheckedBeforeItRuns) {
    const int c = b.Corps(1, {20, 20}, {{}});
    b.RecomputeAll();
    st().RandPos = 17;
    st().RandStep = 3;
    const std::uint64_t before = FullStateHash(st());
    const TParancs bad[] = {{99, 0, 0, 1, 1, 0}, {-5, 0, 0, 1, 1, 0}, {kOrderMove, 20, 18, 1, 2, 0},
                            {kOrderChangeFormation, 0, 0, 1, c, 9}};
    for (const TParancs& o : bad) {
        t.screen.Clear();
        OrderOutcome outcome = OrderOutcome::Executed;
        EXPECT_NO_THROW(outcome = ExecuteIncomingOrder(g(), o, 100, 5));
        EXPECT_EQ(outcome, OrderOutcome::Refused);
        ASSERT_EQ(t.screen.Count(HeadlessPresentation::Kind::Error), 1);
        EXPECT_NE(t.screen.Texts(HeadlessPresentation::Kind::Error)[0].find("Hibás parancs"), std::string::npos);
    }
    // A good record with a bad carried position is refused too.
    EXPECT_EQ(ExecuteIncomingOrder(g(), TParancs{kOrderMove, 20, 18, 1, c, 0}, 0, 5), OrderOutcome::Refused);
    EXPECT_EQ(FullStateHash(st()), before) << "nothing refused changes the game";
    EXPECT_EQ(st().RandPos, 17);

    // A good one adopts the carried position and runs.
    ExecuteOrder(g(), TParancs{kOrderSelectCorps, 20, 20, 1, c, 0});
    EXPECT_EQ(ExecuteIncomingOrder(g(), TParancs{kOrderMove, 20, 18, 1, c, 0}, 100, 5), OrderOutcome::Executed);
    EXPECT_EQ(Where(1, c), (Hex{20, 18}));
    // A local order with an unknown code is a fault of the caller: an error, not a crash.
    EXPECT_THROW(ExecuteOrder(g(), TParancs{0, 0, 0, 1, 1, 0}), OrderError);
}

// The other machine as the executor sees it: records what it is sent.
class RecordingLink final : public Transport {
public:
    bool holds = true;
    int watchdogs = 0;
    std::vector<TParancs> sent;
    bool HoldsTurn() const override { return holds; }
    void SendOrder(const TParancs& order, int, int) override { sent.push_back(order); }
    void SendReadiness(int) override {}
    void SendChat(std::string_view) override {}
    void StartWatchdog() override { ++watchdogs; }
};

struct NetworkOrders : ::testing::Test {
    HeadlessPresentation screen;
    RecordingLink link;
    std::unique_ptr<Game> game = MakeGame(screen, link, GameDir(testing::CompiledGameDir()));
    testing::StateBuilder b{*game};
    State& st() { return game->state; }
};

TEST_F(NetworkOrders, AClickIsSentAsTheSelectionItMade) {
    FirmGround(st());
    st().NetworkGame = 1;
    const int lower = b.Corps(1, {20, 20}, {{}}, {.stackOrder = 10});
    const int top = b.Corps(1, {20, 20}, {{}}, {.stackOrder = 1});
    b.RecomputeAll();
    ASSERT_EQ(ExecuteOrder(*game, TParancs{kOrderClickHex, 20, 20, 0, 0, 0}), OrderOutcome::Executed);
    ASSERT_EQ(link.sent.size(), 1u);
    const TParancs& sent = link.sent[0];
    EXPECT_EQ(sent.Code, kOrderSelectCorps);
    EXPECT_EQ(sent.Side, 1);
    EXPECT_TRUE(sent.Corps == lower || sent.Corps == top);
    EXPECT_EQ(sent.Corps, st().SelectedCorps) << "the other machine gets what was selected here";
    EXPECT_EQ(sent.HexX, 20);
    EXPECT_EQ(sent.HexY, 20);

    // Replayed on the other machine, the record selects the same corps without a click.
    testing::BuiltGame other;
    other.b.Corps(1, {20, 20}, {{}}, {.stackOrder = 10});
    other.b.Corps(1, {20, 20}, {{}}, {.stackOrder = 1});
    other.b.RecomputeAll();
    other.st().LocalSide = 2;
    ExecuteIncomingOrder(other.g(), sent, 1, 1);
    EXPECT_EQ(other.st().SelectedCorps, st().SelectedCorps);

    // A move goes out as it is, with nothing rewritten.
    ExecuteOrder(*game, TParancs{kOrderMove, 20, 18, 1, top, 0});
    ASSERT_EQ(link.sent.size(), 2u);
    EXPECT_EQ(link.sent[1], (TParancs{kOrderMove, 20, 18, 1, top, 0}));
}

TEST_F(NetworkOrders, NothingIsSentWhileTheOtherSideActsOrTheTurnIsNotHeld) {
    FirmGround(st());
    st().NetworkGame = 1;
    const int c = b.Corps(1, {20, 20}, {{}});
    b.RecomputeAll();
    // The other machine's side is active: its orders arrive, ours are not sent back.
    st().ActiveSide = 2;
    st().OtherSide = 1;
    ExecuteOrder(*game, TParancs{kOrderClickHex, 20, 20, 0, 0, 0});
    EXPECT_TRUE(link.sent.empty());

    // Our side, but the other machine holds the turn: held back, the watchdog starts.
    st().ActiveSide = 1;
    st().OtherSide = 2;
    link.holds = false;
    EXPECT_EQ(ExecuteOrder(*game, TParancs{kOrderMove, 20, 18, 1, c, 0}), OrderOutcome::HeldBack);
    EXPECT_EQ(link.watchdogs, 1);
    EXPECT_TRUE(link.sent.empty());
    EXPECT_EQ(st().CorpsRec(1, c).Y, 20);
}

} // namespace
} // namespace vezer
