#pragma once
// Music written as text and played by the band.
//
// A melody is a line of notes "a4:3 a4:1 d5:2 f#5:2 | a5:4 ..." : a pitch (c..b, then # or b,
// then the octave; "r" a rest, "_" holds the note before) and its length in units, bars
// separated by "|". Every bar must be exactly as long as the metre says; a wrong bar is
// refused with its number, as a copyist would.
//
// A chord chart is a line of chord names per bar: "D | D A7 | Bm | G" (several in one bar
// share it equally). A name is a root (C..B, # or b), then "m" minor, "7" dominant seventh,
// "m7", "dim" or nothing (major).

#include "dsp.h"
#include "instruments.h"

#include <string_view>
#include <vector>

namespace mksound {

struct Note {
    double start = 0;  // beats from the start of the piece
    double length = 0; // beats
    int midi = 0;      // 60 is middle C
    double velocity = 1.0;
};

struct Chord {
    double start = 0, length = 0;
    int root = 0;               // pitch class, 0 = C
    std::vector<int> intervals; // above the root, the root included (0)
};

// `unitBeats`: how many beats one unit is (0.25: units are sixteenths when a beat is a quarter).
std::vector<Note> ParseMelody(std::string_view text, int unitsPerBar, double unitBeats, double startBeat,
                              double velocity, int transpose = 0);
std::vector<Chord> ParseChords(std::string_view text, double barBeats, double startBeat);

// The march's oom-pah: the root on the first beat, the fifth on the second, in the bass.
std::vector<Note> BassOnBeats(const std::vector<Chord>& chords, int lowMidi, double velocity);
// Afterbeats: the chord, close and smoothly led, on the off-beat of every beat.
std::vector<Note> Afterbeats(const std::vector<Chord>& chords, int lowMidi, double velocity);
// The chord held through its length (strings), smoothly led.
std::vector<Note> HeldChords(const std::vector<Chord>& chords, int lowMidi, double velocity);
// The root held through each chord (the cello).
std::vector<Note> HeldRoots(const std::vector<Chord>& chords, int lowMidi, double velocity);
// Broken chords, up and down, `perBeat` notes a beat (the cimbalom).
std::vector<Note> BrokenChords(const std::vector<Chord>& chords, int lowMidi, int perBeat, double velocity);

struct Part {
    Instrument instrument;
    std::vector<Note> notes;
    double pan = 0.0; // -1 left .. 1 right
    double gain = 1.0;
    std::uint64_t seed = 1;
};

struct Stereo {
    Wave left, right;
};

// Plays every part at `bpm` beats a minute; the result is `tail` seconds longer than the last note.
Stereo Perform(const std::vector<Part>& parts, double bpm, int rate, double tail);
// The same, in one channel (the short fanfares of the effects).
Wave PerformMono(const std::vector<Part>& parts, double bpm, int rate, double tail);

// Joins parts that were written in sections.
void Append(std::vector<Note>& into, const std::vector<Note>& more);
void Append(std::vector<Chord>& into, const std::vector<Chord>& more);

} // namespace mksound
