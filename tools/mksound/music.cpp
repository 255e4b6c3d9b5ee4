#include "music.h"

#include <algorithm>

namespace mksound {

namespace {

// The march: 2/4, units are sixteenths (eight to the bar). D major, in the recruiting
// style: dotted figures, and the heel-click close of every phrase (short, short, long).
constexpr double kMarchBpm = 112;
constexpr int kMarchUnits = 8;
constexpr double kMarchBar = 2.0;

constexpr const char* kMarchIntroTune = "r:8 | r:8 | a4:3 a4:1 a4:2 a4:2 | a4:2 c#5:2 e5:2 g5:2 |";
constexpr const char* kMarchIntroChords = "A | A | A | A7";

constexpr const char* kMarchATune =
    "a4:3 a4:1 d5:2 f#5:2 | a5:4 f#5:2 d5:2 | e5:3 f#5:1 g5:2 e5:2 | f#5:2 d5:2 a4:4 | "
    "b4:3 d5:1 g5:2 b5:2 | a5:3 f#5:1 d5:2 f#5:2 | e5:1 f#5:1 g5:1 e5:1 c#5:2 a4:2 | d5:2 a4:1 a4:1 d5:2 r:2 "
    "| "
    "a4:3 a4:1 d5:2 f#5:2 | a5:4 b5:2 a5:2 | g5:3 f#5:1 e5:2 g5:2 | f#5:3 e5:1 d5:2 f#5:2 | "
    "d5:3 c#5:1 b4:2 d5:2 | e5:3 f#5:1 g#5:2 e5:2 | a5:2 g5:2 e5:2 c#5:2 | d5:2 a4:1 a4:1 d5:2 r:2 |";
constexpr const char* kMarchAChords = "D | D | A7 | D | G | D | A7 | D | D | D | G | D | Bm | E7 | A7 | D";

// The second strain, in B minor and an octave lower, with the leading tone sharpened.
constexpr const char* kMarchBTune = "f#4:2 b4:2 a#4:1 b4:1 c#5:1 d5:1 | c#5:3 b4:1 a#4:2 f#4:2 | e4:1 f#4:1 "
                                    "g4:1 a#4:1 c#5:2 a#4:2 | b4:4 f#4:4 | "
                                    "g4:3 f#4:1 e4:2 b4:2 | d5:3 c#5:1 b4:2 f#4:2 | c#5:1 d5:1 e5:1 c#5:1 "
                                    "a#4:2 f#4:2 | b4:2 f#4:1 f#4:1 b4:2 r:2 |";
constexpr const char* kMarchBChords = "Bm | F#7 | F#7 | Bm | Em | Bm | F#7 | Bm";

// The trio: G major, sung by the clarinets; a bar of the dominant leads back.
constexpr const char* kMarchTrioTune = "b4:4 d5:4 | g5:6 f#5:2 | e5:2 d5:2 c5:2 a4:2 | b4:8 | c5:4 e5:4 | "
                                       "d5:4 b4:2 g4:2 | a4:3 b4:1 c5:2 f#4:2 | g4:8 | "
                                       "a4:2 c#5:2 e5:2 g5:2 |";
constexpr const char* kMarchTrioChords = "G | G | D7 | G | C | G | D7 | G | A7";

constexpr const char* kMarchCodaTune = "a5:2 f#5:2 d5:2 a4:2 | d5:4 r:4 |";
constexpr const char* kMarchCodaChords = "D | D";

// The slow theme: 4/4, sixteenths (sixteen to the bar), D minor with the Hungarian colour of
// the sharpened fourth and seventh.
constexpr double kSlowBpm = 66;
constexpr int kSlowUnits = 16;
constexpr double kSlowBar = 4.0;

constexpr const char* kSlowATune =
    "d5:6 e5:2 f5:4 e5:4 | c#5:4 e5:4 a4:8 | bb4:6 a4:2 g4:4 bb4:4 | a4:8 f4:4 a4:4 | "
    "d5:4 f5:4 a5:6 g#5:2 | a5:4 g5:2 f5:2 e5:4 c#5:4 | d5:4 bb4:4 c#5:4 e5:4 | d5:12 r:4 |";
constexpr const char* kSlowAChords = "Dm | A7 | Gm | Dm | Dm | A7 | Gm A7 | Dm";

constexpr const char* kSlowBTune =
    "c5:6 d5:2 f5:4 a5:4 | g5:6 f5:2 e5:4 c5:4 | a5:4 g5:2 f5:2 c5:8 | e5:4 g5:4 c#5:8 | "
    "f5:4 e5:2 d5:2 a5:8 | bb5:6 a5:2 g5:4 d5:4 | a5:4 f5:4 e5:4 c#5:4 | d5:12 r:4 |";
constexpr const char* kSlowBChords = "F | C7 | F | A7 | Dm | Gm | Dm A7 | Dm";

// The return, ornamented as a fiddler would.
constexpr const char* kSlowA2Tune =
    "d5:4 c#5:1 d5:1 e5:2 f5:4 e5:2 d5:2 | c#5:4 e5:2 g5:2 a5:8 | bb5:6 a5:2 g5:2 f5:2 e5:2 d5:2 | f5:4 e5:2 "
    "d5:2 a4:8 | "
    "d5:4 f5:4 a5:6 g#5:2 | a5:4 bb5:2 a5:2 g5:2 f5:2 e5:2 c#5:2 | d5:4 bb4:4 c#5:4 e5:2 c#5:2 | d5:16 |";

std::vector<Note> Melody(const char* text, int units, double start, double velocity) {
    return ParseMelody(text, units, 0.25, start, velocity);
}

// The side drum's march beat over `bars` bars of 2/4 from `start`: the accented beat and
// the pair of sixteenths before the next, and a roll into the last bar of a strain.
void MarchDrums(std::vector<Note>& snare, std::vector<Note>& bass, std::vector<Note>& cymbal, double start,
                int bars, double velocity, bool withCymbal) {
    for (int b = 0; b < bars; ++b) {
        const double at = start + b * kMarchBar;
        const bool rollBar = b == bars - 2 && bars >= 4;
        if (rollBar) {
            for (int k = 0; k < 16; ++k)
                snare.push_back({at + k * 0.125, 0.1, 0, velocity * (0.55 + 0.4 * k / 16.0)});
        } else {
            static constexpr double kHits[] = {0.0, 0.5, 0.75, 1.0, 1.5, 1.75};
            static constexpr double kAccents[] = {1.0, 0.6, 0.55, 0.85, 0.6, 0.55};
            for (int k = 0; k < 6; ++k) snare.push_back({at + kHits[k], 0.1, 0, velocity * kAccents[k]});
        }
        bass.push_back({at, 0.5, 0, velocity * 1.1});
        bass.push_back({at + 1.0, 0.5, 0, velocity * 0.8});
        if (withCymbal && b % 2 == 0) cymbal.push_back({at, 0.5, 0, velocity * 0.8});
    }
}

} // namespace

void WrapTail(Wave& w, double seconds) {
    const std::size_t len = w.At(seconds);
    for (std::size_t i = len; i < w.size(); ++i) w.s[(i - len) % len] += w.s[i];
    w.s.resize(len);
}

Stereo TitleMarch(int rate) {
    std::vector<Note> cornet, clarinet, snare, bass, cymbal;
    std::vector<Chord> chords;
    double at = 0.0;
    auto section = [&](const char* tune, const char* chart, int bars, double vel, bool cornetLeads,
                       bool cymbals) {
        std::vector<Note> m = Melody(tune, kMarchUnits, at, vel);
        if (cornetLeads) {
            Append(cornet, m);
            for (Note& n : m) n.midi += 12, n.velocity *= 0.7;
            Append(clarinet, m);
        } else {
            Append(clarinet, m);
        }
        Append(chords, ParseChords(chart, kMarchBar, at));
        MarchDrums(snare, bass, cymbal, at, bars, cornetLeads ? 0.8 : 0.55, cymbals);
        at += bars * kMarchBar;
    };
    section(kMarchIntroTune, kMarchIntroChords, 4, 0.85, true, false);
    section(kMarchATune, kMarchAChords, 16, 0.85, true, true);
    section(kMarchBTune, kMarchBChords, 8, 0.8, true, true);
    section(kMarchTrioTune, kMarchTrioChords, 9, 0.7, false, false);
    section(kMarchATune, kMarchAChords, 16, 1.0, true, true);
    // The close: the tune's last call and one full chord with the cymbals.
    Append(cornet, Melody(kMarchCodaTune, kMarchUnits, at, 1.0));
    Append(chords, ParseChords(kMarchCodaChords, kMarchBar, at));
    snare.push_back({at, 0.1, 0, 0.9});
    bass.push_back({at, 0.5, 0, 1.0});
    bass.push_back({at + kMarchBar, 0.5, 0, 1.0});
    cymbal.push_back({at + kMarchBar, 0.5, 0, 1.0});
    at += 2 * kMarchBar;

    // The intro's first two bars are the drums alone.
    std::vector<Chord> bandChords;
    for (const Chord& c : chords)
        if (c.start >= 2 * kMarchBar) bandChords.push_back(c);
    std::vector<Note> horns = Afterbeats(bandChords, 55, 0.55);
    std::vector<Note> tuba = BassOnBeats(bandChords, 38, 0.8);
    // The last chord is held, not played on the off-beat.
    const Chord& last = bandChords.back();
    horns.erase(
        std::remove_if(horns.begin(), horns.end(), [&](const Note& n) { return n.start >= last.start; }),
        horns.end());
    tuba.erase(std::remove_if(tuba.begin(), tuba.end(), [&](const Note& n) { return n.start >= last.start; }),
               tuba.end());
    for (int midi : {62, 66, 69}) horns.push_back({last.start, 1.5, midi, 0.8});
    tuba.push_back({last.start, 1.5, 38, 1.0});

    const std::vector<Part> band{
        {Instrument::Cornet, cornet, -0.1, 0.55, 11}, {Instrument::Clarinet, clarinet, -0.4, 0.3, 12},
        {Instrument::Horn, horns, 0.35, 0.22, 13},    {Instrument::Tuba, tuba, 0.15, 0.5, 14},
        {Instrument::Snare, snare, -0.25, 0.22, 15},  {Instrument::BassDrum, bass, 0.0, 0.45, 16},
        {Instrument::Cymbal, cymbal, 0.3, 0.12, 17},
    };
    Stereo out = Perform(band, kMarchBpm, rate, 2.5);
    AddRoom(out.left, 0.35, 1.3, 0.8, 0.3, 0.0);
    AddRoom(out.right, 0.35, 1.32, 0.8, 0.3, 0.0);
    return out;
}

Stereo SlowTheme(int rate) {
    std::vector<Note> tarogato, violin, violinHigh;
    std::vector<Chord> chords;
    const double a1 = 0.0, b = 8 * kSlowBar, a2 = 16 * kSlowBar, end = 24 * kSlowBar;
    Append(tarogato, Melody(kSlowATune, kSlowUnits, a1, 0.75));
    Append(violin, Melody(kSlowBTune, kSlowUnits, b, 0.75));
    Append(tarogato, Melody(kSlowA2Tune, kSlowUnits, a2, 0.8));
    Append(violinHigh, ParseMelody(kSlowA2Tune, kSlowUnits, 0.25, a2, 0.5, 12));
    Append(chords, ParseChords(kSlowAChords, kSlowBar, a1));
    Append(chords, ParseChords(kSlowBChords, kSlowBar, b));
    Append(chords, ParseChords(kSlowAChords, kSlowBar, a2));

    // The cimbalom rolls in eighths, in sixteenths through the middle strain.
    std::vector<Note> cimbalom;
    for (const Chord& c : chords) {
        const bool middle = c.start >= b && c.start < a2;
        Append(cimbalom, BrokenChords({c}, 50, middle ? 4 : 2, middle ? 0.45 : 0.55));
    }
    const std::vector<Note> pad = HeldChords(chords, 57, 0.35);
    const std::vector<Note> cello = HeldRoots(chords, 38, 0.6);

    const std::vector<Part> band{
        {Instrument::Tarogato, tarogato, -0.15, 0.55, 21}, {Instrument::Violin, violin, 0.2, 0.55, 22},
        {Instrument::Violin, violinHigh, 0.35, 0.3, 23},   {Instrument::Cimbalom, cimbalom, 0.3, 0.5, 24},
        {Instrument::Violin, pad, -0.35, 0.12, 25},        {Instrument::Cello, cello, 0.1, 0.35, 26},
    };
    Stereo out = Perform(band, kSlowBpm, rate, 4.0);
    AddRoom(out.left, 0.4, 1.4, 0.84, 0.35, 0.0);
    AddRoom(out.right, 0.4, 1.43, 0.84, 0.35, 0.0);
    // One turn of the loop: the last bar's ringing carries into the first.
    const double turn = end * 60.0 / kSlowBpm;
    WrapTail(out.left, turn);
    WrapTail(out.right, turn);
    return out;
}

Stereo FarewellCadence(int rate) {
    constexpr const char* kTune =
        "a4:3 a4:1 d5:2 f#5:2 | a5:3 f#5:1 e5:2 c#5:2 | d5:2 a4:1 a4:1 d5:2 r:2 | d5:4 r:4 |";
    constexpr const char* kChart = "D | A7 | D | D";
    const std::vector<Chord> chords = ParseChords(kChart, kMarchBar, 0.0);
    std::vector<Note> horns = HeldChords(chords, 55, 0.55), snare, bass, cymbal;
    MarchDrums(snare, bass, cymbal, 0.0, 3, 0.7, false);
    cymbal.push_back({3 * kMarchBar, 0.5, 0, 1.0});
    bass.push_back({3 * kMarchBar, 0.5, 0, 1.0});
    const std::vector<Part> band{
        {Instrument::Cornet, Melody(kTune, kMarchUnits, 0.0, 0.95), -0.1, 0.55, 31},
        {Instrument::Horn, horns, 0.35, 0.22, 32},
        {Instrument::Tuba, HeldRoots(chords, 38, 0.8), 0.15, 0.45, 33},
        {Instrument::Snare, snare, -0.25, 0.22, 34},
        {Instrument::BassDrum, bass, 0.0, 0.45, 35},
        {Instrument::Cymbal, cymbal, 0.3, 0.12, 36},
    };
    Stereo out = Perform(band, kMarchBpm, rate, 2.0);
    AddRoom(out.left, 0.35, 1.3, 0.8, 0.3, 0.0);
    AddRoom(out.right, 0.35, 1.32, 0.8, 0.3, 0.0);
    return out;
}

Wave VictoryFanfare(int rate) {
    constexpr const char* kTune =
        "a4:3 a4:1 d5:4 f#5:3 d5:1 a5:4 | e5:3 e5:1 a5:4 g5:3 e5:1 c#5:4 | d5:4 a5:4 d6:8 |";
    constexpr const char* kSecond =
        "f#4:3 f#4:1 a4:4 d5:3 a4:1 f#5:4 | c#5:3 c#5:1 e5:4 e5:3 c#5:1 a4:4 | a4:4 f#5:4 a5:8 |";
    constexpr const char* kChart = "D | A7 | D";
    const std::vector<Chord> chords = ParseChords(kChart, 4.0, 0.0);
    std::vector<Note> timpani, cymbal;
    for (int k = 0; k < 4; ++k) timpani.push_back({8.0 + k * 0.25, 0.25, 38, 0.5 + 0.1 * k});
    timpani.push_back({9.0, 1.0, 45, 1.0});
    cymbal.push_back({8.0, 1.0, 0, 0.8});
    const std::vector<Part> band{
        {Instrument::Cornet, ParseMelody(kTune, 16, 0.25, 0.0, 1.0), 0, 0.5, 41},
        {Instrument::Cornet, ParseMelody(kSecond, 16, 0.25, 0.0, 0.8), 0, 0.35, 42},
        {Instrument::Horn, HeldChords(chords, 55, 0.6), 0, 0.2, 43},
        {Instrument::Tuba, HeldRoots(chords, 38, 0.8), 0, 0.4, 44},
        {Instrument::Timpani, timpani, 0, 0.6, 45},
        {Instrument::Cymbal, cymbal, 0, 0.2, 46},
    };
    Wave out = PerformMono(band, 120, rate, 1.8);
    AddRoom(out, 0.35, 1.3, 0.8, 0.3, 0.0);
    return out;
}

Wave DefeatLament(int rate) {
    constexpr const char* kTune = "a4:4 f4:4 bb4:4 g4:4 | e4:2 f4:2 e4:2 c#4:2 d4:8 |";
    constexpr const char* kChart = "Dm Gm | A7 Dm";
    const std::vector<Chord> chords = ParseChords(kChart, 4.0, 0.0);
    // The drum muffled, on the first and third beats.
    std::vector<Note> drum;
    for (int k = 0; k < 4; ++k) drum.push_back({k * 2.0, 0.5, 0, k == 3 ? 0.7 : 0.5});
    const std::vector<Part> band{
        {Instrument::Horn, ParseMelody(kTune, 16, 0.25, 0.0, 0.8), 0, 0.7, 51},
        {Instrument::Cello, HeldChords(chords, 45, 0.5), 0, 0.25, 52},
        {Instrument::Cello, HeldRoots(chords, 38, 0.6), 0, 0.3, 53},
        {Instrument::BassDrum, drum, 0, 0.35, 54},
    };
    Wave out = PerformMono(band, 76, rate, 2.0);
    AddRoom(out, 0.4, 1.5, 0.82, 0.4, 0.0);
    return out;
}

Wave AttackCall(int rate) {
    // The bugle's natural notes only; the call to advance, then the drums take it up.
    constexpr const char* kCall =
        "g4:1 g4:1 c5:2 e5:2 c5:2 | g5:3 e5:1 c5:2 g4:2 | c5:1 c5:1 e5:1 e5:1 g5:4 |";
    std::vector<Note> roll;
    for (int k = 0; k < 24; ++k) roll.push_back({4.0 + k * 0.125, 0.1, 0, 0.45 + 0.5 * k / 24.0});
    roll.push_back({7.0, 0.1, 0, 1.0});
    const std::vector<Part> band{
        {Instrument::Bugle, ParseMelody(kCall, 8, 0.25, 0.0, 1.0, -2), 0, 0.6, 61},
        {Instrument::Snare, roll, 0, 0.3, 62},
        {Instrument::BassDrum, {{7.0, 0.5, 0, 0.9}}, 0, 0.4, 63},
    };
    Wave out = PerformMono(band, 120, rate, 1.2);
    AddRoom(out, 0.45, 1.8, 0.8, 0.3, 0.0);
    return out;
}

Wave PostHorn(int rate) {
    // A post horn in F: the courier's call as he rides in.
    constexpr const char* kCall = "c5:1 f5:1 a5:2 c6:4 | a5:1 c6:1 f5:6 |";
    const std::vector<Part> band{{Instrument::Bugle, ParseMelody(kCall, 8, 0.25, 0.0, 0.8), 0, 0.6, 71}};
    Wave out = PerformMono(band, 140, rate, 0.8);
    AddRoom(out, 0.4, 1.5, 0.8, 0.3, 0.0);
    return out;
}

} // namespace mksound
