#pragma once
// A compact builder for hand-made game states in tests.
//
//     TestGame t;
//     StateBuilder b(t.g());                       // a playable empty map, 15 types, 7 formations
//     b.City(3, {6, 9}, {.owner = 2, .kind = 3, .garrisonCapacity = 3000, .gunCapacity = 40});
//     int c = b.Corps(1, {10, 10}, {{.type = 9, .men = 1000}, {.type = 11}});   // a new general
//     int g = b.Corps(2, {6, 9}, {{.type = 14}, {.type = 14}}, {.garrison = 1});
//     b.RecomputeAll();                            // aggregates, markers, names (may draw)
//
// Everything is written straight into the records (not through the rules under test), with
// every cross-reference the rules keep: corps lists, general links, hex corps counts, city
// hexes and garrison links. The defaults:
//  - the map 0..62 x 0..35 is plain (terrain 0) inside a border ring of terrain 4;
//  - the 15 regiment types and 7 formations of our data (full strengths 800/400/800/1000,
//    levies 5000, batteries 8 guns; formation movement 80/120/80/100/50/110/60 percent);
//  - side 1 moves, both sides are played at this machine (PlayerType 1), LocalSide 1,
//    difficulty 2, fog of war off, zeal 65 with floor 40;
//  - the random table reads its own position (RandTable[i] = i), RandPos 1, RandStep 1;
//  - texts: nation names, size suffixes " dandára", " hadosztálya", " hadteste", ability
//    names, and name pools "Family<class>-<n>" / "Given<class>-<n>".

#include "core/game.h"
#include "support/test_game.h"

#include <initializer_list>
#include <memory>
#include <string>

namespace vezer::testing {

struct At {
    int x = 0;
    int y = 0;
};

// A regiment of StateBuilder::Corps. men -1 = the type's full strength; nation 0 = the
// side's own (1 or 2).
struct Reg {
    int type = 9;
    int men = -1;
    int nation = 0;
    int experience = 50;
    int morale = 70;
    int readiness = 100;
    int supply = 100;
    int movement = 60;  // MovementPoints and MovementAllowance
};

// general 0 = a new general of the corps' nation; nation 0 = the side's own.
struct CorpsOptions {
    int general = 0;
    int nation = 0;
    int formation = 3;
    int tactic = 2;
    int direction = 0;
    int garrison = 0;
    int recon = 0;
    int stackOrder = 1;
    int activity = 0;
};

// nation 0 = the side's own.
struct GeneralOptions {
    int attack = 3;
    int defence = 3;
    int initiative = 3;
    int nation = 0;
    int available = 1;
    int ability = 0;
    std::string family = "";  // empty: "General<side>-<index>"
    std::string given = "";
};

struct CityOptions {
    int owner = 1;
    int kind = 1;  // 3 = fortress
    int victoryValue = 100;
    int garrisonCapacity = 0;
    int gunCapacity = 0;
    int fortMax = 0;
    int fortStrength = 0;
    int nation = 0;
    int captureCounter = 1;
    std::string name = "";  // empty: "City<index>"
};

class StateBuilder {
public:
    explicit StateBuilder(Game& game);

    State& st() { return game_.state; }

    // A general at the next index; returns it.
    int General(int side, GeneralOptions options = {});
    StateBuilder& City(int index, At at, CityOptions options = {});
    // A corps at the next index with these regiments (in slot order); returns its index.
    int Corps(int side, At at, std::initializer_list<Reg> regiments, CorpsOptions options = {});
    // One more regiment in an existing corps (or in none with corps 0); returns its index.
    int Regiment(int side, int corps, Reg reg);
    StateBuilder& Terrain(At at, int terrain);
    // The river on side `direction` of a hex (the neighbour's facing side is not touched).
    StateBuilder& River(At at, int direction, int value);
    StateBuilder& Entrench(At at, int level, int side);

    // RecomputeCorps for every corps of both sides (markers, names, estimates; may draw).
    StateBuilder& RecomputeAll();

private:
    Game& game_;
};

// A game with a headless screen and a builder on it, to derive test fixtures from:
//     struct Stacks : ::testing::Test, testing::BuiltGame {};
struct BuiltGame {
    TestGame t;
    StateBuilder b{t.g()};
    State& st() { return t.st(); }
    Game& g() { return t.g(); }
};

// A built game that table-driven tests replace for each case (Fresh), so every case starts
// from the builder's defaults.
struct FreshGame {
    std::unique_ptr<BuiltGame> w = std::make_unique<BuiltGame>();
    void Fresh() { w = std::make_unique<BuiltGame>(); }
    State& st() { return w->st(); }
    Game& g() { return w->g(); }
    StateBuilder& b() { return w->b; }
    THad& H(int side, int c) { return w->st().CorpsRec(side, c); }
};

} // namespace vezer::testing
