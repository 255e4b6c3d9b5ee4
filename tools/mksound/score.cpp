#include "score.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <sstream>
#include <stdexcept>
#include <string>

namespace mksound {

namespace {

std::vector<std::string> Words(std::string_view text) {
    std::vector<std::string> words;
    std::istringstream in{std::string(text)};
    std::string w;
    while (in >> w) words.push_back(w);
    return words;
}

[[noreturn]] void Refuse(const std::string& what, int bar, const std::string& token) {
    throw std::runtime_error(what + " in bar " + std::to_string(bar) + " at '" + token + "'");
}

int PitchClass(char letter) {
    switch (std::tolower(static_cast<unsigned char>(letter))) {
    case 'c':
        return 0;
    case 'd':
        return 2;
    case 'e':
        return 4;
    case 'f':
        return 5;
    case 'g':
        return 7;
    case 'a':
        return 9;
    case 'b':
        return 11;
    default:
        return -1;
    }
}

// "f#5" → 78; -1 when the name is no pitch.
int ParsePitch(const std::string& name) {
    if (name.empty()) return -1;
    int pc = PitchClass(name[0]);
    if (pc < 0) return -1;
    std::size_t i = 1;
    if (i < name.size() && name[i] == '#')
        pc += 1, ++i;
    else if (i + 1 < name.size() && name[i] == 'b' && std::isdigit(static_cast<unsigned char>(name[i + 1])))
        pc -= 1, ++i;
    if (i >= name.size()) return -1;
    char* end = nullptr;
    const long octave = std::strtol(name.c_str() + i, &end, 10);
    if (*end != 0 || octave < 0 || octave > 8) return -1;
    return static_cast<int>((octave + 1) * 12 + pc);
}

// The smoothest voicing of `pcs` (pitch classes) at or above `low`, nearest to `previous`.
std::vector<int> LeadVoices(const std::vector<int>& pcs, int low, const std::vector<int>& previous) {
    std::vector<int> best;
    int bestCost = 1 << 30;
    for (std::size_t inversion = 0; inversion < pcs.size(); ++inversion) {
        for (int shift = 0; shift < 12; ++shift) {
            std::vector<int> v;
            int note = low + shift;
            for (std::size_t k = 0; k < pcs.size(); ++k) {
                const int pc = pcs[(inversion + k) % pcs.size()];
                while ((note % 12 + 12) % 12 != pc) ++note;
                v.push_back(note);
                ++note;
            }
            if (v.front() != low + shift) continue;
            int cost = 0;
            if (previous.size() == v.size()) {
                for (std::size_t k = 0; k < v.size(); ++k) cost += std::abs(v[k] - previous[k]);
            } else {
                cost = std::abs(v.front() - (low + 5));
            }
            if (cost < bestCost) bestCost = cost, best = v;
        }
    }
    return best;
}

std::vector<int> Triad(const Chord& c) {
    std::vector<int> pcs;
    for (int i : c.intervals) {
        // Close voicing for the band: leave the fifth out of a seventh chord.
        if (c.intervals.size() > 3 && i == 7) continue;
        pcs.push_back((c.root + i) % 12);
    }
    return pcs;
}

} // namespace

std::vector<Note> ParseMelody(std::string_view text, int unitsPerBar, double unitBeats, double startBeat,
                              double velocity, int transpose) {
    std::vector<Note> notes;
    int bar = 1, units = 0;
    double at = startBeat;
    for (const std::string& word : Words(text)) {
        if (word == "|") {
            if (units != unitsPerBar) Refuse("a bar of " + std::to_string(units) + " units", bar, word);
            ++bar, units = 0;
            continue;
        }
        const std::size_t colon = word.find(':');
        if (colon == std::string::npos) Refuse("a note without its length", bar, word);
        const std::string name = word.substr(0, colon);
        char* end = nullptr;
        const long len = std::strtol(word.c_str() + colon + 1, &end, 10);
        if (*end != 0 || len <= 0 || len > unitsPerBar)
            Refuse("a length that is no count of units", bar, word);
        if (name == "_") {
            if (notes.empty()) Refuse("a hold with no note before it", bar, word);
            notes.back().length += len * unitBeats;
        } else if (name != "r") {
            const int midi = ParsePitch(name);
            if (midi < 0) Refuse("no such note", bar, word);
            notes.push_back({at, len * unitBeats, midi + transpose, velocity});
        }
        at += len * unitBeats;
        units += static_cast<int>(len);
        if (units > unitsPerBar) Refuse("a bar too long", bar, word);
    }
    if (units != 0 && units != unitsPerBar)
        Refuse("a last bar of " + std::to_string(units) + " units", bar, "");
    return notes;
}

std::vector<Chord> ParseChords(std::string_view text, double barBeats, double startBeat) {
    std::vector<Chord> chords;
    std::vector<std::string> bar;
    int barNo = 1;
    double at = startBeat;
    auto flush = [&]() {
        if (bar.empty()) Refuse("an empty bar", barNo, "|");
        const double each = barBeats / static_cast<double>(bar.size());
        for (const std::string& name : bar) {
            Chord c;
            c.start = at, c.length = each;
            c.root = PitchClass(name[0]);
            if (c.root < 0 || !std::isupper(static_cast<unsigned char>(name[0])))
                Refuse("no such chord", barNo, name);
            std::size_t i = 1;
            if (i < name.size() && name[i] == '#')
                c.root = (c.root + 1) % 12, ++i;
            else if (i < name.size() && name[i] == 'b')
                c.root = (c.root + 11) % 12, ++i;
            const std::string kind = name.substr(i);
            if (kind.empty())
                c.intervals = {0, 4, 7};
            else if (kind == "m")
                c.intervals = {0, 3, 7};
            else if (kind == "7")
                c.intervals = {0, 4, 7, 10};
            else if (kind == "m7")
                c.intervals = {0, 3, 7, 10};
            else if (kind == "dim")
                c.intervals = {0, 3, 6, 9};
            else
                Refuse("no such chord", barNo, name);
            chords.push_back(c);
            at += each;
        }
        bar.clear();
        ++barNo;
    };
    for (const std::string& word : Words(text)) {
        if (word == "|")
            flush();
        else
            bar.push_back(word);
    }
    if (!bar.empty()) flush();
    return chords;
}

std::vector<Note> BassOnBeats(const std::vector<Chord>& chords, int lowMidi, double velocity) {
    std::vector<Note> notes;
    for (const Chord& c : chords) {
        const int root = lowMidi + ((c.root - lowMidi) % 12 + 12) % 12;
        for (int beat = 0; beat < static_cast<int>(c.length + 0.5); ++beat) {
            // Root on the strong beat, the fifth below on the weak one.
            const int midi = beat % 2 == 0 ? root : (root + 7 >= lowMidi + 12 ? root - 5 : root + 7);
            notes.push_back({c.start + beat, 0.5, midi, velocity * (beat % 2 == 0 ? 1.0 : 0.85)});
        }
    }
    return notes;
}

std::vector<Note> Afterbeats(const std::vector<Chord>& chords, int lowMidi, double velocity) {
    std::vector<Note> notes;
    std::vector<int> prev;
    for (const Chord& c : chords) {
        const std::vector<int> voices = LeadVoices(Triad(c), lowMidi, prev);
        prev = voices;
        for (int beat = 0; beat < static_cast<int>(c.length + 0.5); ++beat)
            for (int midi : voices) notes.push_back({c.start + beat + 0.5, 0.3, midi, velocity});
    }
    return notes;
}

std::vector<Note> HeldChords(const std::vector<Chord>& chords, int lowMidi, double velocity) {
    std::vector<Note> notes;
    std::vector<int> prev;
    for (const Chord& c : chords) {
        const std::vector<int> voices = LeadVoices(Triad(c), lowMidi, prev);
        prev = voices;
        for (int midi : voices) notes.push_back({c.start, c.length, midi, velocity});
    }
    return notes;
}

std::vector<Note> HeldRoots(const std::vector<Chord>& chords, int lowMidi, double velocity) {
    std::vector<Note> notes;
    for (const Chord& c : chords)
        notes.push_back({c.start, c.length, lowMidi + ((c.root - lowMidi) % 12 + 12) % 12, velocity});
    return notes;
}

std::vector<Note> BrokenChords(const std::vector<Chord>& chords, int lowMidi, int perBeat, double velocity) {
    std::vector<Note> notes;
    for (const Chord& c : chords) {
        // Root, fifth, octave, tenth and back down: the cimbalom's rolling figure.
        const int root = lowMidi + ((c.root - lowMidi) % 12 + 12) % 12;
        const int third = c.intervals.size() > 1 ? c.intervals[1] : 4;
        const int fifth = c.intervals.size() > 2 ? c.intervals[2] : 7;
        const int figure[] = {
            root,      root + fifth, root + 12, root + 12 + third, root + 12 + fifth, root + 12 + third,
            root + 12, root + fifth};
        const int count = static_cast<int>(c.length * perBeat + 0.5);
        for (int k = 0; k < count; ++k) {
            const double accent = k % perBeat == 0 ? 1.0 : 0.75;
            notes.push_back({c.start + static_cast<double>(k) / perBeat, 1.0 / perBeat, figure[k % 8],
                             velocity * accent});
        }
    }
    return notes;
}

namespace {

void PerformInto(const std::vector<Part>& parts, double bpm, int rate, double tail, Wave& left, Wave* right) {
    const double beat = 60.0 / bpm;
    double end = 0.0;
    for (const Part& p : parts)
        for (const Note& n : p.notes) end = std::max(end, (n.start + n.length) * beat);
    left = Wave(rate, end + tail);
    if (right != nullptr) *right = Wave(rate, end + tail);
    for (const Part& p : parts) {
        Rng rng(p.seed);
        // Equal-power pan.
        const double angle = (p.pan + 1.0) * 0.25 * kPi;
        const double gl = right != nullptr ? std::cos(angle) * std::sqrt(2.0) : 1.0;
        const double gr = std::sin(angle) * std::sqrt(2.0);
        for (const Note& n : p.notes) {
            // A player is never exactly on the beat, nor exactly as loud.
            const double at = n.start * beat + rng.Range(-0.006, 0.006);
            const double vel = std::clamp(n.velocity * rng.Range(0.93, 1.0), 0.0, 1.0);
            const Wave w = PlayNote(p.instrument, rng, rate, MidiHz(n.midi), n.length * beat * 0.95, vel);
            MixInto(left, w, std::max(0.0, at), p.gain * gl);
            if (right != nullptr) MixInto(*right, w, std::max(0.0, at), p.gain * gr);
        }
    }
}

} // namespace

Stereo Perform(const std::vector<Part>& parts, double bpm, int rate, double tail) {
    Stereo out;
    PerformInto(parts, bpm, rate, tail, out.left, &out.right);
    return out;
}

Wave PerformMono(const std::vector<Part>& parts, double bpm, int rate, double tail) {
    Wave out;
    PerformInto(parts, bpm, rate, tail, out, nullptr);
    return out;
}

void Append(std::vector<Note>& into, const std::vector<Note>& more) {
    into.insert(into.end(), more.begin(), more.end());
}
void Append(std::vector<Chord>& into, const std::vector<Chord>& more) {
    into.insert(into.end(), more.begin(), more.end());
}

} // namespace mksound
