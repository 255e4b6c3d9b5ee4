#pragma once
// The sound workshop's building blocks: a seeded noise source, filters, envelopes, a room and
// a few helpers to lay one sound into another. Everything is plain arithmetic on float samples,
// so the same seed gives the same file on every run.

#include <cmath>
#include <cstdint>
#include <vector>

namespace mksound {

inline constexpr double kPi = 3.14159265358979323846;

// A small generator of our own (splitmix64): the standard distributions differ between
// libraries, and the sounds must not.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : s_(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (s_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // 0 <= x < 1
    double Uniform() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }
    double Range(double lo, double hi) { return lo + (hi - lo) * Uniform(); }
    // -1 <= x < 1: white noise
    double Signed() { return 2.0 * Uniform() - 1.0; }
    bool Chance(double p) { return Uniform() < p; }
    // A new generator for one part of a sound, so parts do not disturb each other's draws.
    Rng Fork() { return Rng(Next()); }

private:
    std::uint64_t s_;
};

// One channel of samples at a rate.
struct Wave {
    int rate = 22050;
    std::vector<float> s;

    Wave() = default;
    Wave(int r, double seconds) : rate(r), s(static_cast<std::size_t>(std::lround(seconds * r)), 0.0f) {}
    std::size_t size() const { return s.size(); }
    double seconds() const { return static_cast<double>(s.size()) / rate; }
    std::size_t At(double t) const { return t <= 0 ? 0 : static_cast<std::size_t>(std::lround(t * rate)); }
};

// Adds `src` into `dst` from time `t` on, scaled by `gain`; what would fall past the end is cut.
void MixInto(Wave& dst, const Wave& src, double t, double gain = 1.0);
// Like MixInto, but what falls past the end comes round to the beginning (a seamless loop).
void MixWrapped(Wave& dst, const Wave& src, double t, double gain = 1.0);
void Scale(Wave& w, double gain);
// Linear fades at both ends (seconds).
void FadeEdges(Wave& w, double in, double out);
// A loop made seamless: the last `overlap` seconds are blended into the beginning with equal
// power and cut off.
void FoldLoop(Wave& w, double overlap);

// Filters -------------------------------------------------------------------------------

class OnePole {
public:
    void LowPass(double hz, int rate) { a_ = std::exp(-2.0 * kPi * hz / rate); }
    float Low(float x) {
        y_ = static_cast<float>((1.0 - a_) * x + a_ * y_);
        return y_;
    }
    float High(float x) { return x - Low(x); }

private:
    double a_ = 0.0;
    float y_ = 0.0f;
};

// A state-variable filter (topology-preserving form): stays stable while its frequency moves,
// which the wind and the steam need.
class Svf {
public:
    void Set(double hz, double q, int rate);
    void Process(float x);
    float low = 0, band = 0, high = 0;

private:
    double g_ = 0, k_ = 1, a1_ = 0, a2_ = 0, a3_ = 0;
    double ic1_ = 0, ic2_ = 0;
};

class Biquad {
public:
    enum class Kind { LowPass, HighPass, BandPass, Peak, HighShelf };
    void Set(Kind kind, double hz, double q, int rate, double gainDb = 0.0);
    float Run(float x) {
        const double y = b0_ * x + z1_;
        z1_ = b1_ * x - a1_ * y + z2_;
        z2_ = b2_ * x - a2_ * y;
        return static_cast<float>(y);
    }

private:
    double b0_ = 1, b1_ = 0, b2_ = 0, a1_ = 0, a2_ = 0, z1_ = 0, z2_ = 0;
};

// Runs a whole wave through a fixed filter.
void LowPass(Wave& w, double hz, double q = 0.707);
void HighPass(Wave& w, double hz, double q = 0.707);
void BandPass(Wave& w, double hz, double q);

// A room: a plain comb-and-allpass reverberator. `size` scales the delays (1 a barn, 2 an
// open valley), `damp` darkens the tail.
class Reverb {
public:
    Reverb(int rate, double size, double decay, double damp, int spread = 0);
    float Run(float x);

private:
    struct Comb {
        std::vector<float> buf;
        std::size_t pos = 0;
        float store = 0;
    };
    struct AllPass {
        std::vector<float> buf;
        std::size_t pos = 0;
    };
    std::vector<Comb> combs_;
    std::vector<AllPass> allpasses_;
    float feedback_, damp_;
};

// Mixes a room into the wave: dry + wet × `wet`. The wave grows by `tail` seconds.
void AddRoom(Wave& w, double wet, double size, double decay, double damp, double tail);

// Envelopes -----------------------------------------------------------------------------

// Exponential decay to 1/1000 (−60 dB) over `t60` seconds.
inline double Decay(double t, double t60) {
    return std::exp(-6.907755 * t / t60);
}
// Attack–decay: rises linearly over `attack`, then decays.
inline double Strike(double t, double attack, double t60) {
    return t < attack ? t / attack : Decay(t - attack, t60);
}
// A smooth 0→1→0 window over [0, len].
inline double Hann(double t, double len) {
    if (t <= 0 || t >= len) return 0.0;
    return 0.5 - 0.5 * std::cos(2.0 * kPi * t / len);
}

inline double Db(double db) {
    return std::pow(10.0, db / 20.0);
}
inline double MidiHz(double note) {
    return 440.0 * std::pow(2.0, (note - 69.0) / 12.0);
}

// Slowly wandering value in [-1, 1]: a new random point every 1/hz seconds, joined by smooth
// curves; for gusts, swells and the wavering of a column's step.
class Drift {
public:
    Drift(Rng& rng, double hz, int rate)
        : rng_(rng.Fork()), step_(hz / rate), a_(rng_.Signed()), b_(rng_.Signed()) {}
    float Next() {
        phase_ += step_;
        if (phase_ >= 1.0) {
            phase_ -= 1.0;
            a_ = b_;
            b_ = rng_.Signed();
        }
        const double m = 0.5 - 0.5 * std::cos(kPi * phase_);
        return static_cast<float>(a_ + (b_ - a_) * m);
    }

private:
    Rng rng_;
    double step_, phase_ = 0.0, a_, b_;
};

} // namespace mksound
