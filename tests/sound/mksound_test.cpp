// The sound tool: its music notation, its loop joins, its loudness meter and its output.

#include "mksound/dsp.h"
#include "mksound/loudness.h"
#include "mksound/music.h"
#include "mksound/score.h"
#include "support/test_game.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace mksound {
namespace {

TEST(Score, NotesLengthsHoldsAndBarsAreReadAsWritten) {
    // 2/4 in sixteenths: a dotted figure, a rest, a hold over the bar line.
    const auto notes = ParseMelody("a4:3 a4:1 bb4:2 f#5:2 | c#5:2 r:2 d5:4 | _:8 |", 8, 0.25, 10.0, 0.5, -12);
    ASSERT_EQ(notes.size(), 6u);
    EXPECT_EQ(notes[0].midi, 57) << "a4 is 69, an octave down";
    EXPECT_EQ(notes[2].midi, 58) << "b flat";
    EXPECT_EQ(notes[3].midi, 66) << "f sharp";
    EXPECT_DOUBLE_EQ(notes[0].start, 10.0);
    EXPECT_DOUBLE_EQ(notes[0].length, 0.75);
    EXPECT_DOUBLE_EQ(notes[1].start, 10.75);
    EXPECT_DOUBLE_EQ(notes[4].start, 12.0);
    EXPECT_DOUBLE_EQ(notes[5].start, 13.0) << "the rest keeps its place";
    EXPECT_DOUBLE_EQ(notes[5].length, 3.0) << "the held note runs on through the next bar";
    EXPECT_DOUBLE_EQ(notes[5].velocity, 0.5);
}

TEST(Score, AWrongBarIsRefusedWithItsNumber) {
    const char* bad[] = {
        "a4:4 b4:4 | c5:4 |",      // a bar too short
        "a4:4 b4:4 | c5:4 d5:6 |", // one too long
        "a4:4 h4:4 |",             // no such note
        "a4:4 b4 |",               // a note without its length
        "_:4 a4:4 |",              // a hold with nothing before
        "a4:0 b4:8 |",             // no length
    };
    for (const char* text : bad) {
        SCOPED_TRACE(text);
        try {
            ParseMelody(text, 8, 0.25, 0.0, 1.0);
            ADD_FAILURE() << "accepted";
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find("bar "), std::string::npos) << e.what();
        }
    }
    EXPECT_THROW(ParseChords("D | Hm |", 2.0, 0.0), std::runtime_error);
    EXPECT_THROW(ParseChords("D | Dsus |", 2.0, 0.0), std::runtime_error);
}

TEST(Score, ChordsShareTheirBarAndTheBandFollowsThem) {
    const auto chords = ParseChords("D | Gm A7 | F#dim", 2.0, 4.0);
    ASSERT_EQ(chords.size(), 4u);
    EXPECT_EQ(chords[1].root, 7);
    EXPECT_EQ(chords[1].intervals, (std::vector<int>{0, 3, 7}));
    EXPECT_DOUBLE_EQ(chords[2].start, 7.0);
    EXPECT_DOUBLE_EQ(chords[2].length, 1.0);
    EXPECT_EQ(chords[3].root, 6);

    // The oom-pah: root then fifth, in the bass register, one a beat.
    const auto bass = BassOnBeats({chords[0]}, 38, 1.0);
    ASSERT_EQ(bass.size(), 2u);
    EXPECT_EQ(bass[0].midi, 38);
    EXPECT_EQ(bass[1].midi % 12, 9);
    // The afterbeats: the chord's notes, off the beat, led smoothly from one chord to the next.
    const auto after = Afterbeats({chords[0], chords[2]}, 55, 1.0);
    ASSERT_EQ(after.size(), 6u + 3u);
    EXPECT_DOUBLE_EQ(after[0].start, 4.5);
    // The first chord sits in the middle of the horns' range: D4 F#4 A4.
    EXPECT_EQ(after[0].midi, 62);
    EXPECT_EQ(after[1].midi, 66);
    EXPECT_EQ(after[2].midi, 69);
    for (const Note& n : after) EXPECT_GE(n.midi, 55);
    int movement = 0;
    for (int k = 0; k < 3; ++k) movement += std::abs(after[6 + k].midi - after[3 + k].midi);
    EXPECT_LE(movement, 6) << "D to A7 moves each voice a step or so";
}

TEST(Score, TheBassStaysLowAndTheCimbalomRollsThroughTheChord) {
    const auto chords = ParseChords("A | Dm", 2.0, 0.0);
    // A2 is 45: the fifth above (52) leaves the bass register, so the weak beat takes E2 below.
    const auto bass = BassOnBeats({chords[0]}, 38, 1.0);
    ASSERT_EQ(bass.size(), 2u);
    EXPECT_EQ(bass[0].midi, 45);
    EXPECT_EQ(bass[1].midi, 40);
    EXPECT_GT(bass[0].velocity, bass[1].velocity) << "the strong beat is the louder";

    const auto roots = HeldRoots(chords, 38, 0.6);
    ASSERT_EQ(roots.size(), 2u);
    EXPECT_EQ(roots[0].midi, 45);
    EXPECT_EQ(roots[1].midi, 38);
    EXPECT_DOUBLE_EQ(roots[1].start, 2.0);
    EXPECT_DOUBLE_EQ(roots[1].length, 2.0);

    // D minor from D3 in eighths: root, fifth, octave, tenth, twelfth, tenth, octave, fifth.
    const auto rolled = BrokenChords({chords[1]}, 50, 4, 1.0);
    ASSERT_EQ(rolled.size(), 8u);
    const int figure[] = {50, 57, 62, 65, 69, 65, 62, 57};
    for (std::size_t k = 0; k < 8; ++k) {
        EXPECT_EQ(rolled[k].midi, figure[k]) << k;
        EXPECT_DOUBLE_EQ(rolled[k].start, 2.0 + 0.25 * k);
    }
    EXPECT_GT(rolled[0].velocity, rolled[1].velocity) << "each beat is marked";
    EXPECT_DOUBLE_EQ(rolled[4].velocity, rolled[0].velocity);
}

TEST(Loops, TheTailComesRoundAndTheSeamIsBlended) {
    Wave w(100, 1.5);
    for (std::size_t i = 0; i < w.size(); ++i) w.s[i] = 1.0f;
    WrapTail(w, 1.0);
    ASSERT_EQ(w.size(), 100u);
    EXPECT_FLOAT_EQ(w.s[0], 2.0f);
    EXPECT_FLOAT_EQ(w.s[49], 2.0f);
    EXPECT_FLOAT_EQ(w.s[50], 1.0f);

    // Equal-power blending keeps a steady noise steady across the join.
    Rng rng(7);
    Wave n(1000, 3.0);
    for (float& x : n.s) x = static_cast<float>(rng.Signed());
    FoldLoop(n, 0.5);
    ASSERT_EQ(n.size(), 2500u);
    double head = 0, body = 0;
    for (std::size_t i = 0; i < 500; ++i) head += n.s[i] * n.s[i];
    for (std::size_t i = 1000; i < 1500; ++i) body += n.s[i] * n.s[i];
    EXPECT_NEAR(10 * std::log10(head / body), 0.0, 1.0);
}

TEST(Loudness, TheMeterWeighsAsTheEarAndLevelsWithoutClipping) {
    const int rate = 22050;
    auto tone = [&](double hz, double amp, double seconds) {
        std::vector<float> s(static_cast<std::size_t>(seconds * rate));
        for (std::size_t i = 0; i < s.size(); ++i)
            s[i] = static_cast<float>(amp * std::sin(2 * kPi * hz * i / rate));
        return s;
    };
    // A full-scale 1 kHz sine: RMS -3 dB, peak 0 dB.
    const Levels one = Measure({tone(1000, 1.0, 2.0)}, rate);
    EXPECT_NEAR(one.rmsDb, -3.01, 0.05);
    EXPECT_NEAR(one.peakDb, 0.0, 0.01);
    EXPECT_NEAR(one.loudnessDb, -3.0, 1.0);
    // Deep bass counts for less than its RMS; silence after a sound does not count at all.
    EXPECT_LT(Measure({tone(40, 1.0, 2.0)}, rate).loudnessDb, -8.0);
    std::vector<float> gap = tone(1000, 1.0, 1.0);
    gap.resize(4 * rate, 0.0f);
    EXPECT_NEAR(Measure({gap}, rate).loudnessDb, one.loudnessDb, 1.0);
    // The same sound on two channels is as loud as on one.
    EXPECT_NEAR(Measure({tone(500, 0.3, 1.0), tone(500, 0.3, 1.0)}, rate).loudnessDb,
                Measure({tone(500, 0.3, 1.0)}, rate).loudnessDb, 0.01);

    // Levelling: a quiet sound comes up, a shot's peak is held under the ceiling.
    std::vector<std::vector<float>> quiet{tone(700, 0.01, 1.0)};
    Master(quiet, rate, -20.0, -1.0);
    EXPECT_NEAR(Measure(quiet, rate).loudnessDb, -20.0, 0.3);
    std::vector<float> shot = tone(300, 0.05, 1.0);
    for (std::size_t i = 0; i < 50; ++i) shot[i] = 1.0f;
    std::vector<std::vector<float>> shots{shot};
    Master(shots, rate, -20.0, -1.0);
    const Levels lv = Measure(shots, rate);
    EXPECT_LE(lv.peakDb, -1.0 + 1e-6);
    EXPECT_NEAR(lv.loudnessDb, -20.0, 0.5);
}

std::string Slurp(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(Mksound, TheSameRecipeGivesTheSameBytesAndAnUnknownNameIsRefused) {
    vezer::testing::TempDir a, b;
    for (const auto* dir : {&a, &b}) {
        const std::string cmd = std::string(VEZER_TEST_MKSOUND) +
                                " --quiet --only uzenet --only vonat --out " + dir->path().string();
        ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
    }
    for (const char* name : {"uzenet.ogg", "vonat.ogg"}) {
        const std::string one = Slurp(a.path() / "Wave" / name), two = Slurp(b.path() / "Wave" / name);
        EXPECT_GT(one.size(), 1000u) << name;
        EXPECT_EQ(one, two) << name;
    }
    EXPECT_FALSE(std::filesystem::exists(a.path() / "Wave" / "eso.ogg")) << "only what was asked for";
    const std::string bad = std::string(VEZER_TEST_MKSOUND) + " --quiet --only csatazaj9 --out " +
                            a.path().string() + " 2>/dev/null";
    EXPECT_NE(std::system(bad.c_str()), 0);
}

} // namespace
} // namespace mksound
