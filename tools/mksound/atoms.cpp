#include "atoms.h"

#include <algorithm>
#include <array>

namespace mksound {

namespace {

using K = Biquad::Kind;

constexpr double kTwoPi = 2.0 * kPi;

double Time(std::size_t i, int rate) {
    return static_cast<double>(i) / rate;
}

// Brown noise: white noise integrated with a leak, about ±1.
class Brown {
public:
    float Next(Rng& rng) {
        y_ = 0.985 * y_ + 0.06 * rng.Signed();
        return static_cast<float>(y_ * 2.0);
    }

private:
    double y_ = 0.0;
};

// A sum of decaying sine partials: `ratios` of `hz`, each with its amplitude and decay time.
struct Partial {
    double ratio, amp, t60;
};

void AddPartials(Wave& w, double hz, const Partial* partials, std::size_t count, double attack, double gain,
                 Rng& rng) {
    for (std::size_t k = 0; k < count; ++k) {
        const Partial& p = partials[k];
        const double f = hz * p.ratio;
        if (f >= w.rate * 0.45) continue;
        const double phase = rng.Range(0, kTwoPi);
        for (std::size_t i = 0; i < w.size(); ++i) {
            const double t = Time(i, w.rate);
            w.s[i] += static_cast<float>(gain * p.amp * std::sin(kTwoPi * f * t + phase) *
                                         Strike(t, attack, p.t60));
        }
    }
}

// A band-limited sawtooth (the polyBLEP correction at each wrap), for voices.
class Saw {
public:
    float Next(double hz, int rate) {
        const double dt = hz / rate;
        phase_ += dt;
        if (phase_ >= 1.0) phase_ -= 1.0;
        double y = 2.0 * phase_ - 1.0;
        if (phase_ < dt) {
            const double x = phase_ / dt;
            y -= x + x - x * x - 1.0;
        } else if (phase_ > 1.0 - dt) {
            const double x = (phase_ - 1.0) / dt;
            y -= x * x + x + x + 1.0;
        }
        return static_cast<float>(y);
    }
    void SetPhase(double p) { phase_ = p; }

private:
    double phase_ = 0.0;
};

} // namespace

Wave MusketShot(Rng& rng, int rate, double distance) {
    Wave w(rate, 0.45 + 0.4 * distance);
    const double bright = 5500.0 - 4300.0 * distance;
    Biquad lp1, lp2;
    lp1.Set(K::LowPass, bright, 0.6, rate);
    lp2.Set(K::LowPass, bright * 1.3, 0.6, rate);
    const double body = 0.10 + 0.25 * distance;
    const double thumpHz = rng.Range(70, 95);
    for (std::size_t i = 0; i < w.size(); ++i) {
        const double t = Time(i, rate);
        double x = 0.0;
        // The crack of the ball leaving the barrel: a short N-wave.
        if (t < 0.0012) x += (t < 0.0006 ? 1.0 : -0.9) * (1.0 - 0.7 * distance);
        x += rng.Signed() * Strike(t, 0.0008, body) * 0.9;
        x += std::sin(kTwoPi * thumpHz * t) * Strike(t, 0.002, 0.09) * 0.5;
        w.s[i] = lp2.Run(lp1.Run(static_cast<float>(x)));
    }
    return w;
}

Wave CannonShot(Rng& rng, int rate, double distance) {
    Wave w(rate, 1.8 + distance);
    const double bright = 2400.0 - 1900.0 * distance;
    Biquad lp1, lp2, rumbleLp;
    lp1.Set(K::LowPass, bright, 0.6, rate);
    lp2.Set(K::LowPass, bright * 1.4, 0.6, rate);
    rumbleLp.Set(K::LowPass, 200, 0.7, rate);
    const double f0 = rng.Range(38, 48);
    Brown brown;
    double phase = 0.0;
    for (std::size_t i = 0; i < w.size(); ++i) {
        const double t = Time(i, rate);
        phase += kTwoPi * f0 * (1.0 + 1.2 * std::exp(-t / 0.05)) / rate;
        double x = 0.0;
        if (t < 0.004) x += rng.Signed() * (1.0 - t / 0.004) * (1.0 - 0.8 * distance);
        x += rng.Signed() * Strike(t, 0.003, 0.45 + 0.6 * distance) * 0.9;
        x += std::sin(phase) * Strike(t, 0.004, 0.7) * 0.9;
        x += rumbleLp.Run(brown.Next(rng)) * Strike(t, 0.05, 1.4) * 0.8;
        w.s[i] = lp2.Run(lp1.Run(static_cast<float>(x)));
    }
    return w;
}

Wave MasonryHit(Rng& rng, int rate, double distance) {
    Wave w(rate, 1.3);
    Biquad lp;
    lp.Set(K::LowPass, 2600.0 - 1600.0 * distance, 0.6, rate);
    for (std::size_t i = 0; i < w.size(); ++i) {
        const double t = Time(i, rate);
        const double x =
            rng.Signed() * Strike(t, 0.002, 0.25) + std::sin(kTwoPi * 58 * t) * Strike(t, 0.003, 0.3) * 0.7;
        w.s[i] = lp.Run(static_cast<float>(x));
    }
    // The rubble: stones falling and knocking for most of a second.
    const int stones = 24 + static_cast<int>(rng.Uniform() * 16);
    for (int k = 0; k < stones; ++k) {
        const double at = 0.04 + 0.9 * std::pow(rng.Uniform(), 1.5);
        Wave stone(rate, 0.03);
        Biquad bp;
        bp.Set(K::BandPass, rng.Range(700, 2600), 3.0, rate);
        for (std::size_t i = 0; i < stone.size(); ++i)
            stone.s[i] = bp.Run(static_cast<float>(rng.Signed() * Strike(Time(i, rate), 0.0005, 0.02)));
        MixInto(w, stone, at, 1.6 * (1.0 - at) * rng.Range(0.3, 1.0) * (1.0 - 0.6 * distance));
    }
    return w;
}

Wave Footstep(Rng& rng, int rate, double weight) {
    Wave w(rate, 0.16);
    Biquad grit, thudLp;
    grit.Set(K::BandPass, rng.Range(1800, 2800), 0.9, rate);
    thudLp.Set(K::LowPass, 260, 0.7, rate);
    const double grainChance = 1800.0 / rate;
    double gate = 0.0;
    for (std::size_t i = 0; i < w.size(); ++i) {
        const double t = Time(i, rate);
        // The gravel crushed under the sole, grain by grain.
        if (rng.Chance(grainChance)) gate = rng.Range(0.3, 1.0);
        gate *= 0.96;
        const double crunch =
            grit.Run(static_cast<float>(rng.Signed() * gate)) * Strike(t, 0.006, 0.07) * 2.0;
        const double heel =
            thudLp.Run(static_cast<float>(rng.Signed())) * Strike(t, 0.003, 0.05) * (0.6 + 0.6 * weight) +
            std::sin(kTwoPi * 75 * t) * Strike(t, 0.002, 0.04) * 0.5 * weight;
        w.s[i] = static_cast<float>(crunch + heel);
    }
    return w;
}

Wave Hoof(Rng& rng, int rate, double hardness) {
    Wave w(rate, 0.14);
    Biquad res, click, dirt, lp;
    res.Set(K::BandPass, rng.Range(380, 620), 5.0, rate);
    click.Set(K::HighPass, 1500, 0.7, rate);
    dirt.Set(K::LowPass, 500, 0.7, rate);
    lp.Set(K::LowPass, 2500 + 3000 * hardness, 0.7, rate);
    for (std::size_t i = 0; i < w.size(); ++i) {
        const double t = Time(i, rate);
        const auto n = static_cast<float>(rng.Signed());
        const double x = res.Run(n) * Strike(t, 0.0015, 0.05) * 3.0 +
                         click.Run(n) * Strike(t, 0.0005, 0.012) * (0.2 + 0.8 * hardness) +
                         std::sin(kTwoPi * 110 * t) * Strike(t, 0.002, 0.05) * 0.5 * (1.0 - 0.5 * hardness) +
                         dirt.Run(n) * Strike(t, 0.004, 0.06) * 0.5 * (1.0 - hardness);
        w.s[i] = lp.Run(static_cast<float>(x));
    }
    return w;
}

Wave Jingle(Rng& rng, int rate, double length) {
    Wave w(rate, length + 0.15);
    const int tings = 3 + static_cast<int>(rng.Uniform() * 6);
    for (int k = 0; k < tings; ++k) {
        Wave ting(rate, 0.14);
        const std::array<Partial, 2> p{{{1.0, 1.0, rng.Range(0.05, 0.12)}, {2.7, 0.5, 0.05}}};
        AddPartials(ting, rng.Range(2500, std::min(6500.0, rate * 0.4)), p.data(), p.size(), 0.0005, 1.0,
                    rng);
        MixInto(w, ting, rng.Range(0, length), rng.Range(0.1, 0.3));
    }
    return w;
}

Wave WagonRumble(Rng& rng, int rate, double seconds) {
    Wave w(rate, seconds);
    Biquad lp, creak, bump;
    lp.Set(K::LowPass, 150, 0.8, rate);
    creak.Set(K::BandPass, rng.Range(700, 1100), 3.0, rate);
    bump.Set(K::LowPass, 400, 0.7, rate);
    Brown brown;
    Drift wheel(rng, 6.0, rate), pitch(rng, 1.0, rate);
    double creakPhase = 0.0, creakEnv = 0.0, bumpEnv = 0.0;
    for (std::size_t i = 0; i < w.size(); ++i) {
        // Stones under the wheels.
        if (rng.Chance(3.0 / rate)) bumpEnv = rng.Range(0.4, 1.0);
        bumpEnv *= 1.0 - 60.0 / rate;
        // The timber creaks now and then: stick and slip of the axle.
        if (creakEnv < 0.01 && rng.Chance(0.8 / rate)) creakEnv = 1.0;
        creakEnv *= 1.0 - 8.0 / rate;
        creakPhase += (50.0 + 25.0 * pitch.Next()) / rate;
        double pulse = 0.0;
        if (creakPhase >= 1.0) creakPhase -= 1.0, pulse = 1.0;
        const double x = lp.Run(brown.Next(rng)) * (0.7 + 0.3 * wheel.Next()) * 1.6 +
                         bump.Run(static_cast<float>(rng.Signed() * bumpEnv)) * 1.2 +
                         creak.Run(static_cast<float>(pulse * creakEnv)) * 2.5;
        w.s[i] = static_cast<float>(x);
    }
    return w;
}

Wave SnareStroke(Rng& rng, int rate, double force) {
    Wave w(rate, 0.35);
    Biquad snare, hp, lp;
    snare.Set(K::BandPass, 3200, 0.6, rate);
    hp.Set(K::HighPass, 900, 0.7, rate);
    lp.Set(K::LowPass, 3000 + 5000 * force, 0.7, rate);
    for (std::size_t i = 0; i < w.size(); ++i) {
        const double t = Time(i, rate);
        const auto n = static_cast<float>(rng.Signed());
        const double tone =
            (std::sin(kTwoPi * 185 * t) * 0.8 + std::sin(kTwoPi * 330 * t) * 0.45) * Strike(t, 0.001, 0.09);
        const double rattle = hp.Run(snare.Run(n)) * Strike(t, 0.002, 0.18) * 2.2;
        const double stick = n * Strike(t, 0.0003, 0.006) * 0.6;
        w.s[i] = lp.Run(static_cast<float>((tone * 0.9 + rattle + stick) * force));
    }
    return w;
}

Wave BassDrumStroke(Rng& rng, int rate, double force) {
    Wave w(rate, 0.8);
    Biquad beater;
    beater.Set(K::LowPass, 900, 0.7, rate);
    double phase = 0.0;
    for (std::size_t i = 0; i < w.size(); ++i) {
        const double t = Time(i, rate);
        phase += kTwoPi * (52.0 + 28.0 * std::exp(-t / 0.04)) / rate;
        const double x = std::sin(phase) * Strike(t, 0.003, 0.55) +
                         beater.Run(static_cast<float>(rng.Signed())) * Strike(t, 0.001, 0.03) * 0.8;
        w.s[i] = static_cast<float>(x * force);
    }
    return w;
}

Wave CymbalClash(Rng& rng, int rate, double force) {
    Wave w(rate, 1.8);
    Biquad hp, bp;
    hp.Set(K::HighPass, 3500, 0.7, rate);
    bp.Set(K::BandPass, std::min(7000.0, rate * 0.35), 0.8, rate);
    for (std::size_t i = 0; i < w.size(); ++i) {
        const double t = Time(i, rate);
        const auto n = static_cast<float>(rng.Signed());
        w.s[i] = static_cast<float>((hp.Run(n) * 0.6 + bp.Run(n) * 0.8) * Strike(t, 0.001, 1.4) * force);
    }
    std::array<Partial, 8> ring{};
    for (Partial& p : ring) p = {rng.Range(1.0, 18.0), rng.Range(0.02, 0.06), rng.Range(0.6, 1.5)};
    AddPartials(w, 450, ring.data(), ring.size(), 0.001, force, rng);
    return w;
}

Wave Timpani(Rng& rng, int rate, double hz, double force) {
    Wave w(rate, 2.0);
    static constexpr std::array<Partial, 5> kModes{
        {{1.0, 1.0, 1.6}, {1.504, 0.5, 1.0}, {1.742, 0.3, 0.8}, {2.0, 0.25, 0.7}, {2.245, 0.15, 0.5}}};
    AddPartials(w, hz, kModes.data(), kModes.size(), 0.002, force, rng);
    Biquad mallet;
    mallet.Set(K::LowPass, 500, 0.7, rate);
    for (std::size_t i = 0; i < w.size(); ++i)
        w.s[i] += static_cast<float>(mallet.Run(static_cast<float>(rng.Signed())) *
                                     Strike(Time(i, rate), 0.002, 0.04) * force);
    return w;
}

Wave Bell(Rng& rng, int rate, double hz, double seconds) {
    Wave w(rate, seconds);
    // The partials of a tuned church bell, by the prime (half the nominal).
    static constexpr std::array<Partial, 9> kBell{{{0.5, 0.6, 1.0},
                                                   {1.0, 0.5, 0.62},
                                                   {1.2, 0.6, 0.5},
                                                   {1.5, 0.3, 0.38},
                                                   {2.0, 1.0, 0.38},
                                                   {2.5, 0.3, 0.25},
                                                   {2.67, 0.2, 0.22},
                                                   {3.0, 0.25, 0.19},
                                                   {4.0, 0.15, 0.15}}};
    std::array<Partial, 18> beating{};
    for (std::size_t k = 0; k < kBell.size(); ++k) {
        // Each partial a close pair: the slow warble of a real bell.
        const double split = 0.4 / (hz * 0.5);
        beating[2 * k] = {kBell[k].ratio * (1.0 - split), kBell[k].amp * 0.5, kBell[k].t60 * seconds};
        beating[2 * k + 1] = {kBell[k].ratio * (1.0 + split), kBell[k].amp * 0.5, kBell[k].t60 * seconds};
    }
    AddPartials(w, hz * 0.5, beating.data(), beating.size(), 0.001, 0.5, rng);
    Biquad clapper;
    clapper.Set(K::BandPass, 2000, 1.5, rate);
    for (std::size_t i = 0; i < w.size(); ++i)
        w.s[i] += static_cast<float>(clapper.Run(static_cast<float>(rng.Signed())) *
                                     Strike(Time(i, rate), 0.0005, 0.01) * 0.6);
    return w;
}

Wave SabreClash(Rng& rng, int rate) {
    Wave w(rate, 0.7);
    const double f0 = rng.Range(900, 1500);
    const std::array<Partial, 4> blade{
        {{1.0, 1.0, 0.6}, {2.756, 0.7, 0.4}, {5.404, 0.5, 0.25}, {8.933, 0.3, 0.15}}};
    AddPartials(w, f0, blade.data(), blade.size(), 0.0005, 0.5, rng);
    Biquad hp;
    hp.Set(K::HighPass, 3000, 0.7, rate);
    for (std::size_t i = 0; i < w.size(); ++i)
        w.s[i] += static_cast<float>(hp.Run(static_cast<float>(rng.Signed())) *
                                     Strike(Time(i, rate), 0.001, 0.05) * 0.8);
    return w;
}

Wave WoodKnock(Rng& rng, int rate, double hz) {
    Wave w(rate, 0.2);
    const std::array<Partial, 3> modes{{{1.0, 1.0, 0.09}, {2.32, 0.6, 0.06}, {3.9, 0.35, 0.04}}};
    AddPartials(w, hz, modes.data(), modes.size(), 0.0005, 0.8, rng);
    Biquad bp;
    bp.Set(K::BandPass, 1200, 1.0, rate);
    for (std::size_t i = 0; i < w.size(); ++i) {
        const double t = Time(i, rate);
        const auto n = static_cast<float>(rng.Signed());
        w.s[i] +=
            static_cast<float>(n * Strike(t, 0.0005, 0.004) * 0.7 + bp.Run(n) * Strike(t, 0.001, 0.03) * 1.2);
    }
    return w;
}

Wave StoneClink(Rng& rng, int rate) {
    Wave w(rate, 0.15);
    const std::array<Partial, 3> modes{
        {{1.0, 1.0, rng.Range(0.05, 0.08)}, {1.8, 0.6, 0.05}, {2.9, 0.4, 0.03}}};
    AddPartials(w, rng.Range(2200, 3400), modes.data(), modes.size(), 0.0003, 0.6, rng);
    Biquad hp;
    hp.Set(K::HighPass, 2000, 0.7, rate);
    for (std::size_t i = 0; i < w.size(); ++i)
        w.s[i] += static_cast<float>(hp.Run(static_cast<float>(rng.Signed())) *
                                     Strike(Time(i, rate), 0.0005, 0.02) * 0.8);
    return w;
}

Wave SpadeStroke(Rng& rng, int rate) {
    Wave w(rate, 0.95);
    Biquad push, scrape, earth, thud;
    push.Set(K::BandPass, rng.Range(1500, 2100), 1.2, rate);
    scrape.Set(K::LowPass, 700, 0.7, rate);
    earth.Set(K::LowPass, 1500, 0.7, rate);
    thud.Set(K::LowPass, 250, 0.7, rate);
    const double grainChance = 900.0 / rate;
    const double throwAt = rng.Range(0.42, 0.5);
    double gate = 0.0;
    for (std::size_t i = 0; i < w.size(); ++i) {
        const double t = Time(i, rate);
        const auto n = static_cast<float>(rng.Signed());
        // The blade pushed into the soil: a rising hiss that stops short.
        const double pushEnv = t < 0.12 ? t / 0.12 : (t < 0.18 ? (0.18 - t) / 0.06 : 0.0);
        double x = push.Run(n) * pushEnv * 2.2 + scrape.Run(n) * pushEnv * 0.8;
        // The earth thrown: a scatter of falling clods.
        if (rng.Chance(grainChance)) gate = rng.Range(0.3, 1.0);
        gate *= 0.97;
        x += earth.Run(static_cast<float>(n * gate)) * Hann(t - throwAt, 0.3) * 2.5;
        x += thud.Run(n) * Strike(t - throwAt - 0.08, 0.004, 0.08) * (t > throwAt + 0.08 ? 1.0 : 0.0) * 1.2;
        w.s[i] = static_cast<float>(x);
    }
    // Now and then the blade meets a stone.
    if (rng.Chance(0.35)) MixInto(w, StoneClink(rng, rate), rng.Range(0.05, 0.15), 0.5);
    return w;
}

Wave Chuff(Rng& rng, int rate, double force) {
    Wave w(rate, 0.3);
    Biquad low, high;
    low.Set(K::BandPass, rng.Range(600, 720), 1.0, rate);
    high.Set(K::BandPass, 1800, 1.5, rate);
    for (std::size_t i = 0; i < w.size(); ++i) {
        const double t = Time(i, rate);
        const auto n = static_cast<float>(rng.Signed());
        const double x = (low.Run(n) * 1.6 + high.Run(n) * 0.6) * Strike(t, 0.008, 0.18) +
                         std::sin(kTwoPi * 55 * t) * Strike(t, 0.005, 0.12) * 0.4;
        w.s[i] = static_cast<float>(x * force);
    }
    return w;
}

Wave RailClick(Rng& rng, int rate) {
    Wave w(rate, 0.08);
    Biquad hp;
    hp.Set(K::HighPass, 1000, 0.7, rate);
    for (std::size_t i = 0; i < w.size(); ++i) {
        const double t = Time(i, rate);
        const double x = hp.Run(static_cast<float>(rng.Signed())) * Strike(t, 0.0003, 0.008) +
                         (std::sin(kTwoPi * 1300 * t) + 0.6 * std::sin(kTwoPi * 2100 * t)) *
                             Strike(t, 0.0005, 0.03) * 0.3 +
                         std::sin(kTwoPi * 90 * t) * Strike(t, 0.002, 0.04) * 0.5;
        w.s[i] = static_cast<float>(x);
    }
    return w;
}

Wave SteamWhistle(Rng& rng, int rate, double hz, double seconds) {
    Wave w(rate, seconds);
    Biquad breath, hiss;
    breath.Set(K::BandPass, hz, 15.0, rate);
    hiss.Set(K::HighPass, 2000, 0.7, rate);
    Drift flutter(rng, 9.0, rate);
    double phase = 0.0;
    for (std::size_t i = 0; i < w.size(); ++i) {
        const double t = Time(i, rate);
        const double f = hz * (1.0 - 0.05 * std::exp(-t / 0.1));
        phase += kTwoPi * f / rate;
        const double env = std::min({1.0, t / 0.06, (seconds - t) / 0.15}) * (1.0 + 0.05 * flutter.Next());
        const auto n = static_cast<float>(rng.Signed());
        const double x = std::sin(phase) + 0.3 * std::sin(2 * phase) + 0.15 * std::sin(3 * phase) +
                         breath.Run(n) * 2.0 + hiss.Run(n) * 0.1;
        w.s[i] = static_cast<float>(x * std::max(0.0, env));
    }
    return w;
}

Wave CrowdCheer(Rng& rng, int rate, int voices, double seconds) {
    Wave w(rate, seconds);
    // Formants of the two vowels a crowd shouts: "a" of hurrá and "é" of éljen.
    static constexpr std::array<std::array<double, 3>, 2> kVowels{{{800, 1200, 2500}, {450, 1900, 2550}}};
    for (int v = 0; v < voices; ++v) {
        const double start = rng.Range(0, 0.3 * seconds);
        const double length = rng.Range(0.55, 0.95) * (seconds - start);
        const double pitch = rng.Range(140, 260);
        const auto& vowel = kVowels[rng.Chance(0.5) ? 1 : 0];
        std::array<Biquad, 3> formant;
        for (std::size_t k = 0; k < 3; ++k)
            formant[k].Set(K::BandPass, vowel[k] * rng.Range(0.92, 1.08), 6.0, rate);
        Saw saw;
        saw.SetPhase(rng.Uniform());
        Drift wobble(rng, 5.0, rate);
        const std::size_t from = w.At(start), to = std::min(w.size(), w.At(start + length));
        for (std::size_t i = from; i < to; ++i) {
            const double t = Time(i - from, rate);
            // The shout rises to its peak and falls away.
            const double contour = 1.0 + 0.12 * std::sin(kPi * std::min(1.0, t / length));
            const float src = saw.Next(pitch * contour * (1.0 + 0.01 * wobble.Next()), rate) +
                              static_cast<float>(rng.Signed() * 0.25);
            const double x = formant[0].Run(src) + formant[1].Run(src) * 0.6 + formant[2].Run(src) * 0.3;
            const double env = std::min({1.0, t / 0.08, (length - t) / 0.25});
            w.s[i] += static_cast<float>(x * std::max(0.0, env) * rng.Range(0.9, 1.0) / std::sqrt(voices));
        }
    }
    LowPass(w, 3500);
    return w;
}

Wave FireBed(Rng& rng, int rate, double seconds) {
    Wave w(rate, seconds);
    Biquad roarLp, popHp, crackBp, hissHp;
    roarLp.Set(K::LowPass, 350, 0.7, rate);
    popHp.Set(K::HighPass, 1500, 0.7, rate);
    crackBp.Set(K::BandPass, 2200, 1.2, rate);
    hissHp.Set(K::HighPass, 4000, 0.7, rate);
    Brown brown;
    Drift swell(rng, 1.5, rate), hissSwell(rng, 0.7, rate);
    double pop = 0.0, crack = 0.0;
    for (std::size_t i = 0; i < w.size(); ++i) {
        const auto n = static_cast<float>(rng.Signed());
        if (rng.Chance(25.0 / rate)) pop = std::pow(rng.Uniform(), 3.0) * 2.0 + 0.2;
        pop *= 1.0 - 900.0 / rate;
        if (rng.Chance(2.0 / rate)) crack = rng.Range(0.6, 1.0);
        crack *= 1.0 - 150.0 / rate;
        const double x = roarLp.Run(brown.Next(rng)) * (0.6 + 0.4 * swell.Next()) * 1.4 + popHp.Run(n) * pop +
                         crackBp.Run(n) * crack * 2.5 + hissHp.Run(n) * 0.05 * (1.0 + hissSwell.Next());
        w.s[i] = static_cast<float>(x);
    }
    return w;
}

Wave RainBed(Rng& rng, int rate, double seconds) {
    Wave w(rate, seconds);
    Biquad hp, lp, tick;
    hp.Set(K::HighPass, 500, 0.7, rate);
    lp.Set(K::LowPass, std::min(6000.0, rate * 0.4), 0.7, rate);
    tick.Set(K::BandPass, 3000, 2.0, rate);
    Drift swell(rng, 0.5, rate);
    for (std::size_t i = 0; i < w.size(); ++i) {
        const auto n = static_cast<float>(rng.Signed());
        const double patter = rng.Chance(400.0 / rate) ? rng.Range(-1.0, 1.0) * 4.0 : 0.0;
        const double x =
            lp.Run(hp.Run(n)) * 0.35 * (0.85 + 0.15 * swell.Next()) + tick.Run(static_cast<float>(patter));
        w.s[i] = static_cast<float>(x);
    }
    // Larger drops plinking on leaves and puddles.
    const int drops = static_cast<int>(20 * seconds);
    for (int k = 0; k < drops; ++k) {
        Wave drop(rate, 0.012);
        const double f = rng.Range(1500, 3500);
        double phase = 0.0;
        for (std::size_t i = 0; i < drop.size(); ++i) {
            const double t = Time(i, rate);
            phase += kTwoPi * f * (1.0 + 8.0 * t) / rate;
            drop.s[i] = static_cast<float>(std::sin(phase) * Strike(t, 0.0005, 0.008));
        }
        MixInto(w, drop, rng.Range(0, seconds), rng.Range(0.03, 0.12));
    }
    return w;
}

Wave WindBed(Rng& rng, int rate, double seconds, double howl) {
    Wave w(rate, seconds);
    Biquad broadLp;
    Svf low, mid, whistle;
    Drift gust(rng, 0.25, rate), d1(rng, 0.4, rate), d2(rng, 0.3, rate), d3(rng, 0.6, rate);
    double pink = 0.0;
    for (std::size_t i = 0; i < w.size(); ++i) {
        const double g = 0.5 + 0.5 * gust.Next();
        const auto n = static_cast<float>(rng.Signed());
        pink = 0.9 * pink + 0.1 * n;
        if (i % 32 == 0) {
            broadLp.Set(K::LowPass, 400 + 400 * g, 0.7, rate);
            low.Set(380 * (1 + 0.35 * d1.Next()) * (0.8 + 0.4 * g), 12.0, rate);
            mid.Set(820 * (1 + 0.3 * d2.Next()) * (0.8 + 0.4 * g), 15.0, rate);
            whistle.Set(1900 * (1 + 0.2 * d3.Next()), 25.0, rate);
        } else {
            d1.Next(), d2.Next(), d3.Next();
        }
        low.Process(n);
        mid.Process(n);
        whistle.Process(n);
        const double x = broadLp.Run(static_cast<float>(pink * 3.0)) * 0.5 * (0.4 + 0.6 * g * g) +
                         howl * g * (low.band * 1.2 + mid.band * 0.8 + whistle.band * 0.3 * g);
        w.s[i] = static_cast<float>(x);
    }
    return w;
}

Wave Breeze(Rng& rng, int rate, double seconds) {
    Wave w(rate, seconds);
    Biquad lp, leaves;
    lp.Set(K::LowPass, 500, 0.7, rate);
    leaves.Set(K::HighPass, 2500, 0.7, rate);
    Drift swell(rng, 0.3, rate), rustle(rng, 4.0, rate);
    for (std::size_t i = 0; i < w.size(); ++i) {
        const auto n = static_cast<float>(rng.Signed());
        const double r = std::max(0.0, static_cast<double>(rustle.Next()) - 0.3);
        w.s[i] = static_cast<float>(lp.Run(n) * (0.5 + 0.5 * swell.Next()) + leaves.Run(n) * r * 0.25);
    }
    return w;
}

Wave Thunder(Rng& rng, int rate, double seconds, double nearness) {
    Wave w(rate, seconds);
    Biquad lp, crackHp;
    lp.Set(K::LowPass, 180 + 400 * nearness, 0.7, rate);
    crackHp.Set(K::HighPass, 1000, 0.7, rate);
    Brown brown;
    Drift roll(rng, 5.0, rate), swell(rng, 1.2, rate);
    for (std::size_t i = 0; i < w.size(); ++i) {
        const double t = Time(i, rate);
        const double env =
            Strike(t, 0.15, seconds * 0.8) * (0.55 + 0.45 * roll.Next()) * (0.7 + 0.3 * swell.Next());
        double x = lp.Run(brown.Next(rng)) * env * 2.0;
        if (nearness > 0.5)
            x += crackHp.Run(static_cast<float>(rng.Signed())) * Strike(t, 0.002, 0.25) * nearness;
        w.s[i] = static_cast<float>(x);
    }
    return w;
}

Wave LarkTrill(Rng& rng, int rate) {
    const int notes = 10 + static_cast<int>(rng.Uniform() * 10);
    const double gap = 1.0 / rng.Range(14, 18);
    Wave w(rate, notes * gap + 0.1);
    const double top = std::min(5500.0, rate * 0.4);
    for (int k = 0; k < notes; ++k) {
        const double f1 = rng.Range(3000, top), f2 = rng.Range(3000, top), len = rng.Range(0.025, 0.04);
        Wave note(rate, len);
        double phase = 0.0;
        for (std::size_t i = 0; i < note.size(); ++i) {
            const double t = Time(i, rate);
            phase += kTwoPi * (f1 + (f2 - f1) * t / len) / rate;
            note.s[i] = static_cast<float>((std::sin(phase) + 0.1 * std::sin(2 * phase)) * Hann(t, len));
        }
        MixInto(w, note, k * gap, rng.Range(0.6, 1.0));
    }
    return w;
}

Wave BlackbirdPhrase(Rng& rng, int rate) {
    const int notes = 4 + static_cast<int>(rng.Uniform() * 3);
    Wave w(rate, 1.6);
    double at = 0.0;
    double f = rng.Range(1600, 2800);
    for (int k = 0; k < notes; ++k) {
        const double len = rng.Range(0.08, 0.2), next = rng.Range(1600, 2800);
        Wave note(rate, len);
        double phase = 0.0;
        for (std::size_t i = 0; i < note.size(); ++i) {
            const double t = Time(i, rate), m = t / len;
            const double hz = f + (next - f) * m * m + 40 * std::sin(kTwoPi * 25 * t);
            phase += kTwoPi * hz / rate;
            note.s[i] = static_cast<float>((std::sin(phase) + 0.15 * std::sin(2 * phase)) * Hann(t, len));
        }
        MixInto(w, note, at, rng.Range(0.6, 1.0));
        at += len + rng.Range(0.02, 0.06);
        f = next;
    }
    // And a twitter to close.
    Wave twitter = LarkTrill(rng, rate);
    MixInto(w, twitter, at, 0.4);
    return w;
}

Wave Cuckoo(Rng& rng, int rate) {
    Wave w(rate, 0.7);
    const double f1 = rng.Range(640, 700);
    const double notes[2][3] = {{0.0, 0.18, f1}, {0.26, 0.3, f1 * 0.8}};
    for (const auto& n : notes) {
        Wave note(rate, n[1]);
        for (std::size_t i = 0; i < note.size(); ++i) {
            const double t = Time(i, rate);
            const double env = std::min({1.0, t / 0.03, (n[1] - t) / 0.08});
            note.s[i] = static_cast<float>(
                (std::sin(kTwoPi * n[2] * t) + 0.12 * std::sin(kTwoPi * 2 * n[2] * t)) * std::max(0.0, env));
        }
        MixInto(w, note, n[0], 1.0);
    }
    LowPass(w, 1800);
    return w;
}

} // namespace mksound
