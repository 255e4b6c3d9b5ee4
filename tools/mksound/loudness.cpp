#include "loudness.h"

#include "dsp.h"

#include <algorithm>
#include <cmath>

namespace mksound {

namespace {

double ToDb(double power) {
    return power > 1e-20 ? 10.0 * std::log10(power) : -200.0;
}

// The ear's weighting: deep bass counts less, the presence a little more.
std::vector<double> WeightedSquares(const std::vector<float>& samples, int rate) {
    Biquad shelf, highPass;
    shelf.Set(Biquad::Kind::HighShelf, 1680, 0.707, rate, 4.0);
    highPass.Set(Biquad::Kind::HighPass, 60, 0.5, rate);
    std::vector<double> sq(samples.size());
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double y = highPass.Run(shelf.Run(samples[i]));
        sq[i] = y * y;
    }
    return sq;
}

} // namespace

Levels Measure(const std::vector<std::vector<float>>& channels, int rate) {
    Levels lv;
    if (channels.empty() || channels[0].empty() || rate <= 0) return lv;
    const std::size_t n = channels[0].size();
    lv.seconds = static_cast<double>(n) / rate;
    double peak = 0.0, sum = 0.0;
    std::vector<double> weighted(n, 0.0);
    for (const std::vector<float>& ch : channels) {
        for (float x : ch)
            peak = std::max(peak, static_cast<double>(std::abs(x))), sum += static_cast<double>(x) * x;
        const std::vector<double> sq = WeightedSquares(ch, rate);
        for (std::size_t i = 0; i < n && i < sq.size(); ++i) weighted[i] += sq[i] / channels.size();
    }
    lv.peakDb = 20.0 * std::log10(std::max(peak, 1e-10));
    lv.rmsDb = ToDb(sum / (static_cast<double>(n) * channels.size()));

    // Blocks of 400 ms, a quarter apart; a sound shorter than a block is one block.
    const std::size_t block = std::min(n, static_cast<std::size_t>(0.4 * rate));
    const std::size_t hop = std::max<std::size_t>(1, block / 4);
    std::vector<double> powers;
    for (std::size_t at = 0; at + block <= n; at += hop) {
        double p = 0.0;
        for (std::size_t i = at; i < at + block; ++i) p += weighted[i];
        powers.push_back(p / block);
    }
    auto gatedMean = [&](double floorPower) {
        double s = 0.0;
        int count = 0;
        for (double p : powers)
            if (p > floorPower) s += p, ++count;
        return count > 0 ? s / count : 0.0;
    };
    // Absolute gate at -70 dB, then 10 dB under what passed it.
    const double absolute = gatedMean(1e-7);
    lv.loudnessDb = ToDb(gatedMean(absolute * 0.1));
    return lv;
}

void Master(std::vector<std::vector<float>>& channels, int rate, double targetDb, double ceilingDb,
            bool loops) {
    for (std::vector<float>& ch : channels) {
        Biquad rumble;
        rumble.Set(Biquad::Kind::HighPass, 40.0, 0.707, rate);
        if (loops) {
            const std::size_t warm = std::min(ch.size(), static_cast<std::size_t>(rate / 2));
            for (std::size_t i = ch.size() - warm; i < ch.size(); ++i) rumble.Run(ch[i]);
        }
        for (float& x : ch) x = rumble.Run(x);
    }
    const double ceiling = Db(ceilingDb), knee = 0.5 * ceiling;
    for (int pass = 0; pass < 3; ++pass) {
        const double now = Measure(channels, rate).loudnessDb;
        if (now < -150.0) return;
        const double gain = Db(targetDb - now);
        for (std::vector<float>& ch : channels)
            for (float& x : ch) {
                double y = x * gain;
                const double a = std::abs(y);
                if (a > knee)
                    y = std::copysign(knee + (ceiling - knee) * std::tanh((a - knee) / (ceiling - knee)), y);
                x = static_cast<float>(y);
            }
    }
}

} // namespace mksound
