#include "instruments.h"

#include "atoms.h"

#include <algorithm>
#include <array>

namespace mksound {

namespace {

constexpr double kTwoPi = 2.0 * kPi;
constexpr int kMaxHarmonics = 40;

// How a wind or bowed instrument speaks: envelope, pitch and tone colour.
struct Voicing {
    double attack = 0.03, release = 0.08;
    double overshoot = 0.0; // the brass "blat" at the start of a tongued note
    double scoop = 0.0;     // the note starts this fraction flat and settles in 40 ms
    double vibratoHz = 5.0, vibratoDepth = 0.0, vibratoDelay = 0.25;
    double brightLo = 0.3, brightHi = 0.6; // harmonic roll-off at soft and at full breath
    double breath = 0.0;                   // wind or bow noise
    double sag = 0.0;                      // a long note loses this much by its end
    double (*spectrum)(int k, double fk) = nullptr;
};

double BrassSpectrum(int k, double) {
    return 1.0 / std::pow(k, 0.5);
}
double HornSpectrum(int k, double fk) {
    return (1.0 / k) * (fk < 2500 ? 1.0 : 0.3);
}
double ClarinetSpectrum(int k, double) {
    return k % 2 == 1 ? 1.0 / std::pow(k, 0.6) : 0.12 / k;
}
double TarogatoSpectrum(int k, double fk) {
    // A conical wooden reed: every harmonic, with a nasal peak about 1.1 kHz.
    const double d = (fk - 1100.0) / 550.0;
    return (1.0 / std::pow(k, 0.6)) * (1.0 + 1.8 * std::exp(-d * d));
}
double StringSpectrum(int k, double fk) {
    // A bowed string's sawtooth shaped by the body's resonances.
    const double a = (fk - 450.0) / 200.0, b = (fk - 2800.0) / 900.0;
    return (1.0 / k) * (0.6 + 0.8 * std::exp(-a * a) + 0.7 * std::exp(-b * b));
}

Voicing VoicingOf(Instrument instrument) {
    Voicing v;
    switch (instrument) {
    case Instrument::Cornet:
        v = {0.025, 0.07, 0.25, 0.012, 5.2, 0.003, 0.3, 0.35, 0.72, 0.01, 0.1, BrassSpectrum};
        break;
    case Instrument::Bugle:
        v = {0.02, 0.06, 0.35, 0.02, 5.0, 0.0, 0.3, 0.45, 0.8, 0.015, 0.15, BrassSpectrum};
        break;
    case Instrument::Horn:
        v = {0.04, 0.09, 0.1, 0.008, 5.0, 0.0, 0.3, 0.25, 0.5, 0.005, 0.1, HornSpectrum};
        break;
    case Instrument::Tuba:
        v = {0.035, 0.08, 0.15, 0.01, 4.5, 0.0, 0.3, 0.35, 0.62, 0.005, 0.1, BrassSpectrum};
        break;
    case Instrument::Clarinet:
        v = {0.03, 0.07, 0.05, 0.0, 5.0, 0.0, 0.3, 0.35, 0.6, 0.02, 0.05, ClarinetSpectrum};
        break;
    case Instrument::Tarogato:
        v = {0.06, 0.15, 0.08, 0.01, 5.4, 0.006, 0.22, 0.4, 0.68, 0.02, 0.1, TarogatoSpectrum};
        break;
    case Instrument::Violin:
        v = {0.09, 0.2, 0.0, 0.004, 5.8, 0.005, 0.18, 0.55, 0.78, 0.015, 0.0, StringSpectrum};
        break;
    case Instrument::Cello:
        v = {0.1, 0.25, 0.0, 0.0, 5.2, 0.004, 0.25, 0.5, 0.7, 0.01, 0.1, StringSpectrum};
        break;
    default:
        break;
    }
    return v;
}

Wave WindNote(const Voicing& v, Rng& rng, int rate, double hz, double seconds, double velocity) {
    Wave w(rate, seconds + v.release * 4.0);
    std::array<double, kMaxHarmonics + 1> base{};
    int harmonics = 0;
    for (int k = 1; k <= kMaxHarmonics && hz * k < rate * 0.45; ++k) {
        base[static_cast<std::size_t>(k)] = v.spectrum(k, hz * k);
        harmonics = k;
    }
    Biquad breathBp;
    breathBp.Set(Biquad::Kind::BandPass, std::min(hz * 3.0, rate * 0.4), 1.5, rate);
    Drift waver(rng, 3.0, rate);
    const double vibPhase = rng.Range(0, kTwoPi);
    // The phase turns as a unit vector; its step is worked out afresh every few samples, often
    // enough for the vibrato and the scoop.
    constexpr int kControl = 16;
    const double start = rng.Range(0, kTwoPi);
    double zr = std::cos(start), zi = std::sin(start), rr = 1.0, ri = 0.0;
    double level = 0.0;
    for (std::size_t i = 0; i < w.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        if (i % kControl == 0) {
            const double vib = v.vibratoDepth * std::min(1.0, std::max(0.0, (t - v.vibratoDelay) / 0.3)) *
                               std::sin(kTwoPi * v.vibratoHz * t + vibPhase);
            const double f = hz * (1.0 - v.scoop * std::exp(-t / 0.04)) * (1.0 + vib + 0.0008 * waver.Next());
            const double step = kTwoPi * f / rate;
            rr = std::cos(step), ri = std::sin(step);
            const double norm = 1.0 / std::sqrt(zr * zr + zi * zi);
            zr *= norm, zi *= norm;
        }
        const double nzr = zr * rr - zi * ri;
        zi = zr * ri + zi * rr;
        zr = nzr;
        // The envelope: rise, a little overshoot that settles, a sag on long notes, the release.
        double env;
        if (t < v.attack) {
            env = t / v.attack * (1.0 + v.overshoot);
        } else if (t < seconds) {
            env = 1.0 + v.overshoot * std::exp(-(t - v.attack) / 0.06);
            env *= 1.0 - v.sag * std::min(1.0, (t - v.attack) / std::max(0.3, seconds));
        } else {
            env = level * std::exp(-(t - seconds) / v.release * 2.3);
        }
        if (t < seconds) level = env;
        // Louder is brighter: the roll-off follows the breath.
        const double b = v.brightLo + (v.brightHi - v.brightLo) * std::min(1.0, env) * velocity;
        const double c2 = 2.0 * zr;
        double prev = 0.0, cur = zi, roll = 1.0, sum = 0.0;
        for (int k = 1; k <= harmonics && roll > 1e-3; ++k) {
            sum += base[static_cast<std::size_t>(k)] * roll * cur;
            const double next = c2 * cur - prev;
            prev = cur, cur = next, roll *= b;
        }
        const double noise =
            v.breath > 0 ? breathBp.Run(static_cast<float>(rng.Signed())) * v.breath * 8.0 : 0.0;
        w.s[i] = static_cast<float>((sum * 0.3 + noise) * env * velocity);
    }
    return w;
}

// A cimbalom course: three strings struck together, slightly apart in tune, each a plucked-string
// loop (a delay line with an averaging filter and a fractional tuning stage).
Wave CimbalomNote(Rng& rng, int rate, double hz, double seconds, double velocity) {
    const double ring = std::clamp(3.2 - hz / 400.0, 1.0, 3.0);
    const double held = std::max(seconds, 0.1) + 0.6 * ring;
    Wave w(rate, held + 0.25);
    static constexpr double kCents[] = {-1.6, 0.0, 1.9};
    for (double cents : kCents) {
        const double f = hz * std::pow(2.0, cents / 1200.0);
        const double n = rate / f;
        const int delay = std::max(2, static_cast<int>(std::floor(n - 0.6)));
        const double frac = n - 0.5 - delay;
        const double c = (1.0 - frac) / (1.0 + frac);
        const double rho = std::pow(10.0, -3.0 / (ring * f));
        std::vector<float> buf(static_cast<std::size_t>(delay));
        // The felt hammer: a soft, rounded push rather than a click.
        OnePole hammer, hammer2;
        hammer.LowPass(1200 + 2500 * velocity, rate);
        hammer2.LowPass(1200 + 2500 * velocity, rate);
        for (float& x : buf) x = hammer2.Low(hammer.Low(static_cast<float>(rng.Signed()))) * 2.0f;
        // The damper falls a little after the note's time and stops what is left.
        const std::size_t damp = w.At(held);
        double prevA = 0.0, apX = 0.0, apY = 0.0;
        std::size_t pos = 0;
        for (std::size_t i = 0; i < w.size(); ++i) {
            const double a = buf[pos];
            const double avg = 0.5 * (a + prevA);
            prevA = a;
            const double ap = c * avg + apX - c * apY;
            apX = avg, apY = ap;
            buf[pos] = static_cast<float>(ap * (i < damp ? rho : rho * 0.9));
            if (++pos == buf.size()) pos = 0;
            // The last moment fades, so a cut string never clicks.
            const double tailFade = std::min(1.0, static_cast<double>(w.size() - i) / (0.05 * rate));
            w.s[i] += static_cast<float>(a * velocity * 0.45 * tailFade);
        }
    }
    // The hammer's knock on the strings.
    Biquad knock;
    knock.Set(Biquad::Kind::BandPass, 1800, 1.0, rate);
    for (std::size_t i = 0; i < w.size() && i < static_cast<std::size_t>(rate / 50); ++i)
        w.s[i] += static_cast<float>(knock.Run(static_cast<float>(rng.Signed())) *
                                     Strike(i / double(rate), 0.0005, 0.01) * velocity * 0.3);
    return w;
}

} // namespace

Wave PlayNote(Instrument instrument, Rng& rng, int rate, double hz, double seconds, double velocity) {
    switch (instrument) {
    case Instrument::Cimbalom:
        return CimbalomNote(rng, rate, hz, seconds, velocity);
    case Instrument::Snare:
        return SnareStroke(rng, rate, velocity);
    case Instrument::BassDrum:
        return BassDrumStroke(rng, rate, velocity);
    case Instrument::Cymbal:
        return CymbalClash(rng, rate, velocity);
    case Instrument::Timpani:
        return Timpani(rng, rate, hz, velocity);
    default:
        return WindNote(VoicingOf(instrument), rng, rate, hz, seconds, velocity);
    }
}

} // namespace mksound
