// Which effects the rules ask for in a turn of the autumn campaign of 1848, and that the game
// has a sound for each of them: a march down the post road, the Austrian corps of Vienna taking
// the train to Wiener Neustadt, entrenching and fortifying.

#include "campaign/setup.h"
#include "forces/forces.h"
#include "forces/movement.h"
#include "orders/orders.h"
#include "mksound/ogg_io.h"
#include "sound/effect_table.h"
#include "sound/sound.h"
#include "support/state_builder.h"
#include "support/test_game.h"
#include "turn/turn.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace vezer {
namespace {

struct Autumn1848 : ::testing::Test {
    testing::TestGame t;

    Autumn1848() {
        CampaignChoices choices;
        choices.playerType1 = choices.playerType2 = 1;
        choices.fogOfWar = 1;
        t.st().DataSet = 1;
        t.st().Language = 1;
        SetUpGame(t.g(), 1, testing::kTestSeed);
        StartCampaign(t.g(), 1, 1, choices);
        t.screen.Clear();
    }

    State& st() { return t.st(); }
    // The field corps of `side` standing at the hex.
    int CorpsAt(int side, int x, int y) {
        for (int c = 1; c <= st().CorpsCount[side]; ++c) {
            const THad& h = st().CorpsRec(side, c);
            if (h.X == x && h.Y == y && h.Garrison == 0) return c;
        }
        return 0;
    }
    // The Austrian side's turn begins: its corps get their movement.
    void AustrianTurn() {
        st().ActiveSide = 2;
        StartSideTurn(t.g());
        t.screen.Clear();
    }
    void March(int side, int corps, int x, int y) {
        const THad& h = st().CorpsRec(side, corps);
        ASSERT_EQ(ExecuteOrder(t.g(), TParancs{kOrderSelectCorps, h.X, h.Y, side, corps, 0}),
                  OrderOutcome::Executed);
        ASSERT_EQ(ExecuteOrder(t.g(), TParancs{kOrderMove, x, y, side, corps, 0}), OrderOutcome::Executed);
    }
    std::vector<int> Sounds() {
        std::vector<int> out;
        for (const auto& call : t.screen.Calls())
            if (call.kind == HeadlessPresentation::Kind::Sound) out.push_back(call.value);
        t.screen.Clear();
        return out;
    }
};

// Every effect the turn asked for is one the game has a sound for, and the file plays.
void ExpectPlayable(const std::vector<int>& effects) {
    for (int code : effects) {
        const sound::EffectFile* e = sound::FindEffect(code);
        ASSERT_NE(e, nullptr) << "effect " << code;
        EXPECT_NO_THROW(mksound::ReadOgg(sound::SoundFile(GameDir(testing::CompiledGameDir()), e->name)))
            << code;
    }
}

TEST_F(Autumn1848, ATurnOfMarchingRailAndSpadeworkAsksForItsSounds) {
    std::vector<int> turn;

    // Móga's division marches from Székesfehérvár two hexes down the post road.
    const int moga = CorpsAt(1, 16, 16);
    ASSERT_NE(moga, 0);
    const int marching = st().CorpsRec(1, moga).MarkerKind;
    ASSERT_TRUE(marching == 7 || marching == 9 || marching == 11) << marching;
    March(1, moga, 16, 18);
    ASSERT_EQ(st().CorpsRec(1, moga).Y, 18);
    EXPECT_EQ(Sounds(), std::vector<int>{marching}) << "one marching sound as the column sets off";
    turn.push_back(marching);

    // It digs in where it halts.
    ExecuteOrder(t.g(), TParancs{11, 16, 18, 1, moga, 0});
    EXPECT_EQ(Sounds(), std::vector<int>{kSoundEntrench});
    turn.push_back(kSoundEntrench);

    // Vetter at Szabadka repairs the works.
    const int vetter = CorpsAt(1, st().Cities[40].X, st().Cities[40].Y);
    ASSERT_NE(vetter, 0);
    ExecuteOrder(t.g(), TParancs{12, st().Cities[40].X, st().Cities[40].Y, 1, vetter, 0});
    EXPECT_EQ(Sounds(), std::vector<int>{kSoundFortify});
    turn.push_back(kSoundFortify);

    // The Austrian turn: Auersperg's corps leaves Vienna by the Gloggnitz railway.
    AustrianTurn();
    const int vienna = CorpsAt(2, 6, 9);
    ASSERT_NE(vienna, 0);
    March(2, vienna, 5, 11);
    ASSERT_EQ(st().CorpsRec(2, vienna).X, 5);
    ASSERT_EQ(st().CorpsRec(2, vienna).Y, 11);
    EXPECT_EQ(Sounds(), std::vector<int>{kSoundTrain}) << "all the way by train";
    turn.push_back(kSoundTrain);

    // The Austrians dig in too: this machine's player (Hungary) is not told by a sound.
    ExecuteOrder(t.g(), TParancs{11, 5, 11, 2, vienna, 0});
    EXPECT_EQ(Sounds(), std::vector<int>{});

    ExpectPlayable(turn);
}

TEST_F(Autumn1848, AnUnseenComputerColumnMarchesInSilence) {
    // The computer moves Austria; fog of war is on and Hungary has not found the corps.
    st().PlayerType[2] = 2;
    AustrianTurn();
    const int vienna = CorpsAt(2, 6, 9);
    ASSERT_NE(vienna, 0);
    st().CorpsRec(2, vienna).ReconLevel = 0;
    March(2, vienna, 6, 10);
    EXPECT_EQ(Sounds(), std::vector<int>{});
    // Once scouted, the same train is heard.
    st().CorpsRec(2, vienna).ReconLevel = 1;
    March(2, vienna, 5, 11);
    EXPECT_EQ(Sounds(), std::vector<int>{kSoundTrain});
}

// The week's weather is heard when the turn-start screen lists the week's events: fair weather,
// rain and the winter wind have their sounds; the other weather is silent.
TEST_F(Autumn1848, TheWeeksWeatherIsHeardOnTheTurnStartScreen) {
    const std::pair<int, int> weeks[] = {{1, 12}, {2, 0}, {3, 4}, {4, 13}};
    for (const auto& [weather, heard] : weeks) {
        SCOPED_TRACE(weather);
        st().Weather = weather;
        ShowTurnStartScreen(t.g());
        const std::vector<int> sounds = Sounds();
        if (heard != 0) {
            ASSERT_FALSE(sounds.empty());
            EXPECT_EQ(sounds.front(), heard) << "the weather is the first thing heard";
        }
        for (int weatherSound : {12, 4, 13}) {
            if (weatherSound == heard) continue;
            EXPECT_EQ(std::count(sounds.begin(), sounds.end(), weatherSound), 0) << weatherSound;
        }
    }
}

// A battle asks for one looping din, which dies away when the fight is over, and the music
// makes way for it; the bombardment asks for the guns and, when the garrison's stores catch
// fire, the fire.
struct BattleSounds : ::testing::Test, testing::BuiltGame {};

TEST_F(BattleSounds, AnAttackAsksForOneLoopingBattleDin) {
    const int attacker = b.Corps(1, {20, 20}, {{.type = 9}, {.type = 9}, {.type = 11}}, {.formation = 4});
    const int defender = b.Corps(2, {20, 19}, {{.type = 9}, {.type = 11}});
    b.RecomputeAll();
    ExecuteOrder(g(), TParancs{kOrderSelectCorps, 20, 20, 1, attacker, 0});
    ExecuteOrder(g(), TParancs{25, 20, 19, 1, attacker, 0});
    t.screen.Clear();
    ASSERT_EQ(ExecuteOrder(g(), TParancs{1, 20, 19, 1, attacker, defender}), OrderOutcome::Executed);
    using Kind = HeadlessPresentation::Kind;
    std::vector<int> dins;
    int dinAt = -1, loopEndAt = -1, pausedAt = -1, resumedAt = -1;
    const auto& calls = t.screen.Calls();
    for (std::size_t k = 0; k < calls.size(); ++k) {
        const auto& call = calls[k];
        const int at = static_cast<int>(k);
        if (call.kind == Kind::Sound) {
            const sound::EffectFile* e = sound::FindEffect(call.value);
            ASSERT_NE(e, nullptr) << call.value;
            if (e->loops) {
                dins.push_back(call.value);
                dinAt = at;
            }
        }
        if (call.kind == Kind::SoundLoopEnd) loopEndAt = at;
        if (call.kind == Kind::Music && call.value == 0) pausedAt = at;
        if (call.kind == Kind::Music && call.value == 1) resumedAt = at;
    }
    ASSERT_EQ(dins.size(), 1u);
    EXPECT_TRUE(dins[0] == 6 || dins[0] == 10 || dins[0] == 16 || (dins[0] >= 21 && dins[0] <= 24)) << dins[0];
    EXPECT_EQ(t.screen.Count(Kind::SoundLoopEnd), 1);
    EXPECT_GT(loopEndAt, dinAt) << "the din dies away after the fight, not before it";
    EXPECT_EQ(t.screen.Count(Kind::SoundStop), 0) << "the din is not cut off";
    EXPECT_LT(pausedAt, dinAt) << "the music makes way for the battle";
    EXPECT_GT(resumedAt, loopEndAt) << "and comes back after it";
}

TEST_F(BattleSounds, ABombardmentAsksForTheGunsAndPerhapsTheFire) {
    b.City(3, {20, 19},
           {.owner = 2,
            .kind = 3,
            .garrisonCapacity = 3000,
            .gunCapacity = 40,
            .fortMax = 1,
            .fortStrength = 1});
    b.Corps(2, {20, 19}, {{.type = 14}, {.type = 14}, {.type = 9}}, {.garrison = 1});
    const int besieger =
        b.Corps(1, {20, 19}, {{.type = 9}, {.type = 13}, {.type = 13}, {.type = 13}}, {.formation = 5});
    b.RecomputeAll();
    std::vector<int> sounds;
    auto bombard = [&] {
        t.screen.Clear();
        ASSERT_EQ(ExecuteOrder(g(), TParancs{2, 20, 19, 1, besieger, 0}), OrderOutcome::Executed);
        sounds.clear();
        for (const auto& call : t.screen.Calls())
            if (call.kind == HeadlessPresentation::Kind::Sound) sounds.push_back(call.value);
    };
    // Walls at their lowest level neither fall nor burn: only the guns are heard.
    bombard();
    EXPECT_EQ(sounds, std::vector<int>{3});
    // Whole walls of the weakest kind fall to three siege batteries; now and then the stores
    // burn, and the fire is heard after the guns.
    bool burnt = false;
    for (int k = 0; k < 40 && !burnt; ++k) {
        st().Cities[3].FortStrength = 2;
        for (int c = 1; c <= st().CorpsCount[1]; ++c) st().CorpsRec(1, c).MovementPoints = 100;
        bombard();
        ASSERT_FALSE(sounds.empty());
        EXPECT_EQ(sounds.front(), 3);
        for (std::size_t i = 1; i < sounds.size(); ++i) EXPECT_EQ(sounds[i], 18);
        burnt = sounds.size() == 2;
    }
    EXPECT_TRUE(burnt) << "forty hits and never a fire";
}

} // namespace
} // namespace vezer
