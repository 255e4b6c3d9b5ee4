#include "dsp.h"

#include <algorithm>

namespace mksound {

void MixInto(Wave& dst, const Wave& src, double t, double gain) {
    const std::size_t at = dst.At(t);
    const auto g = static_cast<float>(gain);
    for (std::size_t i = 0; i < src.size() && at + i < dst.size(); ++i) dst.s[at + i] += g * src.s[i];
}

void MixWrapped(Wave& dst, const Wave& src, double t, double gain) {
    if (dst.size() == 0) return;
    const std::size_t at = dst.At(t) % dst.size();
    const auto g = static_cast<float>(gain);
    for (std::size_t i = 0; i < src.size(); ++i) dst.s[(at + i) % dst.size()] += g * src.s[i];
}

void Scale(Wave& w, double gain) {
    for (float& x : w.s) x = static_cast<float>(x * gain);
}

void FadeEdges(Wave& w, double in, double out) {
    const std::size_t n = w.size();
    const std::size_t a = std::min(n, w.At(in)), b = std::min(n, w.At(out));
    for (std::size_t i = 0; i < a; ++i) w.s[i] *= static_cast<float>(i) / static_cast<float>(a);
    for (std::size_t i = 0; i < b; ++i) w.s[n - 1 - i] *= static_cast<float>(i) / static_cast<float>(b);
}

void FoldLoop(Wave& w, double overlap) {
    const std::size_t x = w.At(overlap);
    if (x == 0 || 2 * x > w.size()) return;
    const std::size_t len = w.size() - x;
    for (std::size_t i = 0; i < x; ++i) {
        const double m = (i + 0.5) / static_cast<double>(x);
        const double in = std::sin(0.5 * kPi * m), out = std::cos(0.5 * kPi * m);
        w.s[i] = static_cast<float>(w.s[i] * in + w.s[len + i] * out);
    }
    w.s.resize(len);
}

void Svf::Set(double hz, double q, int rate) {
    hz = std::clamp(hz, 10.0, rate * 0.45);
    g_ = std::tan(kPi * hz / rate);
    k_ = 1.0 / q;
    a1_ = 1.0 / (1.0 + g_ * (g_ + k_));
    a2_ = g_ * a1_;
    a3_ = g_ * a2_;
}

void Svf::Process(float x) {
    const double v3 = x - ic2_;
    const double v1 = a1_ * ic1_ + a2_ * v3;
    const double v2 = ic2_ + a2_ * ic1_ + a3_ * v3;
    ic1_ = 2 * v1 - ic1_;
    ic2_ = 2 * v2 - ic2_;
    low = static_cast<float>(v2);
    band = static_cast<float>(v1);
    high = static_cast<float>(x - k_ * v1 - v2);
}

void Biquad::Set(Kind kind, double hz, double q, int rate, double gainDb) {
    hz = std::clamp(hz, 10.0, rate * 0.45);
    const double w = 2.0 * kPi * hz / rate, c = std::cos(w), alpha = std::sin(w) / (2.0 * q);
    double b0 = 1, b1 = 0, b2 = 0, a0 = 1, a1 = 0, a2 = 0;
    switch (kind) {
    case Kind::LowPass:
        b0 = (1 - c) / 2, b1 = 1 - c, b2 = (1 - c) / 2, a0 = 1 + alpha, a1 = -2 * c, a2 = 1 - alpha;
        break;
    case Kind::HighPass:
        b0 = (1 + c) / 2, b1 = -(1 + c), b2 = (1 + c) / 2, a0 = 1 + alpha, a1 = -2 * c, a2 = 1 - alpha;
        break;
    case Kind::BandPass: // peak gain 1
        b0 = alpha, b1 = 0, b2 = -alpha, a0 = 1 + alpha, a1 = -2 * c, a2 = 1 - alpha;
        break;
    case Kind::Peak: {
        const double a = std::pow(10.0, gainDb / 40.0);
        b0 = 1 + alpha * a, b1 = -2 * c, b2 = 1 - alpha * a, a0 = 1 + alpha / a, a1 = -2 * c,
        a2 = 1 - alpha / a;
        break;
    }
    case Kind::HighShelf: {
        const double a = std::pow(10.0, gainDb / 40.0), r = 2.0 * std::sqrt(a) * alpha;
        b0 = a * ((a + 1) + (a - 1) * c + r), b1 = -2 * a * ((a - 1) + (a + 1) * c),
        b2 = a * ((a + 1) + (a - 1) * c - r);
        a0 = (a + 1) - (a - 1) * c + r, a1 = 2 * ((a - 1) - (a + 1) * c), a2 = (a + 1) - (a - 1) * c - r;
        break;
    }
    }
    b0_ = b0 / a0, b1_ = b1 / a0, b2_ = b2 / a0, a1_ = a1 / a0, a2_ = a2 / a0;
}

namespace {

void RunBiquad(Wave& w, Biquad::Kind kind, double hz, double q) {
    Biquad f;
    f.Set(kind, hz, q, w.rate);
    for (float& x : w.s) x = f.Run(x);
}

} // namespace

void LowPass(Wave& w, double hz, double q) {
    RunBiquad(w, Biquad::Kind::LowPass, hz, q);
}
void HighPass(Wave& w, double hz, double q) {
    RunBiquad(w, Biquad::Kind::HighPass, hz, q);
}
void BandPass(Wave& w, double hz, double q) {
    RunBiquad(w, Biquad::Kind::BandPass, hz, q);
}

Reverb::Reverb(int rate, double size, double decay, double damp, int spread)
    : feedback_(static_cast<float>(decay)), damp_(static_cast<float>(damp)) {
    // Delays of the classic tuning at 44.1 kHz, mutually prime so the echoes do not ring.
    static constexpr int kCombs[] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
    static constexpr int kAllPasses[] = {556, 441, 341, 225};
    const double k = size * rate / 44100.0;
    for (int d : kCombs) {
        Comb c;
        c.buf.assign(static_cast<std::size_t>(std::max(1.0, (d + spread) * k)), 0.0f);
        combs_.push_back(std::move(c));
    }
    for (int d : kAllPasses) {
        AllPass a;
        a.buf.assign(static_cast<std::size_t>(std::max(1.0, (d + spread) * rate / 44100.0)), 0.0f);
        allpasses_.push_back(std::move(a));
    }
}

float Reverb::Run(float x) {
    float out = 0.0f;
    const float in = x * 0.015f;
    for (Comb& c : combs_) {
        const float y = c.buf[c.pos];
        c.store = y * (1.0f - damp_) + c.store * damp_;
        c.buf[c.pos] = in + c.store * feedback_;
        if (++c.pos == c.buf.size()) c.pos = 0;
        out += y;
    }
    for (AllPass& a : allpasses_) {
        const float b = a.buf[a.pos];
        a.buf[a.pos] = out + b * 0.5f;
        if (++a.pos == a.buf.size()) a.pos = 0;
        out = b - out;
    }
    return out;
}

void AddRoom(Wave& w, double wet, double size, double decay, double damp, double tail) {
    w.s.resize(w.size() + w.At(tail), 0.0f);
    Reverb room(w.rate, size, decay, damp);
    for (float& x : w.s) x = x + static_cast<float>(wet) * room.Run(x);
}

} // namespace mksound
