#include "effects.h"

#include "atoms.h"
#include "music.h"

#include <algorithm>
#include <cmath>

namespace mksound {

namespace {

constexpr int kRate = kEffectRate;

// Lays a sound into a scene; in a loop what runs past the end comes round to the start.
void Place(Wave& w, const Wave& src, double t, double gain, bool wrap) {
    if (wrap)
        MixWrapped(w, src, t, gain);
    else
        MixInto(w, src, t, gain);
}

// The open field around a loop: the room run twice through the loop, keeping the second
// pass, so the echoes of the end sound at the beginning and the loop has no seam.
Wave LoopRoom(const Wave& dry, double wet, double size, double decay, double damp) {
    Wave twice(dry.rate, 0.0);
    twice.s = dry.s;
    twice.s.insert(twice.s.end(), dry.s.begin(), dry.s.end());
    Reverb room(dry.rate, size, decay, damp);
    Wave out(dry.rate, 0.0);
    out.s.resize(dry.size());
    for (std::size_t i = 0; i < twice.size(); ++i) {
        const float y = twice.s[i] + static_cast<float>(wet) * room.Run(twice.s[i]);
        if (i >= dry.size()) out.s[i - dry.size()] = y;
    }
    return out;
}

// A bed (rumble, wind) made to loop: longer by the overlap, then folded.
Wave LoopedBed(Wave bed, double overlap) {
    FoldLoop(bed, overlap);
    return bed;
}

// A column of infantry in step on a road: boots, and the rattle of canteens and bayonets.
void AddColumn(Wave& w, Rng& rng, double from, double to, double step, int soldiers, double gain) {
    int k = 0;
    for (double t = from; t < to; t += step, ++k) {
        for (int j = 0; j < soldiers; ++j) {
            const double jitter = (rng.Uniform() + rng.Uniform() + rng.Uniform() - 1.5) * 0.02;
            const double weight = (k % 2 == 0 ? 1.0 : 0.7) * rng.Range(0.6, 1.0);
            MixInto(w, Footstep(rng, kRate, weight), std::max(0.0, t + jitter),
                    gain * rng.Range(0.4, 1.0) / std::sqrt(soldiers));
        }
        if (rng.Chance(0.6)) MixInto(w, Jingle(rng, kRate, 0.1), t + rng.Range(0.0, 0.15), gain * 0.2);
    }
}

// The side drum keeping the step: one bar is two steps.
void AddDrumCadence(Wave& w, Rng& rng, double from, double to, double step, double gain, bool wrap) {
    static constexpr double kHits[] = {0.0, 0.5, 0.75, 1.0, 1.5, 1.75};
    static constexpr double kAccents[] = {1.0, 0.6, 0.55, 0.85, 0.6, 0.55};
    for (double bar = from; bar < to; bar += 2 * step)
        for (int k = 0; k < 6; ++k)
            if (bar + kHits[k] * step < to)
                Place(w, SnareStroke(rng, kRate, kAccents[k] * rng.Range(0.9, 1.0)), bar + kHits[k] * step,
                      gain, wrap);
}

// Drums beating the charge: an unbroken roll that swells and eases.
void AddDrumRoll(Wave& w, Rng& rng, double from, double to, double gain, bool wrap) {
    int k = 0;
    for (double t = from; t < to; t += 1.0 / 22.0, ++k) {
        const double swell = 0.6 + 0.4 * std::sin(kPi * (t - from) / (to - from));
        Place(w, SnareStroke(rng, kRate, (k % 2 == 0 ? 0.7 : 0.55) * swell), t, gain, wrap);
    }
}

enum class Gait { Walk, Trot, Gallop };

// Horses, each at its own pace: a walk of four beats, a trot of two diagonal pairs, a gallop
// of three beats and the moment in the air.
void AddHorses(Wave& w, Rng& rng, double from, double to, Gait gait, int horses, double hardness, double gain,
               bool wrap) {
    static constexpr double kWalk[] = {0.0, 0.25, 0.5, 0.75};
    static constexpr double kTrot[] = {0.0, 0.03, 0.5, 0.53};
    static constexpr double kGallop[] = {0.0, 0.24, 0.29, 0.45};
    const double* beats = gait == Gait::Walk ? kWalk : gait == Gait::Trot ? kTrot : kGallop;
    const double stride = gait == Gait::Walk ? 1.1 : gait == Gait::Trot ? 0.7 : 0.42;
    for (int h = 0; h < horses; ++h) {
        const double period = stride * rng.Range(0.94, 1.06);
        const double level = gain * rng.Range(0.5, 1.0) / std::sqrt(horses);
        for (double t = from + rng.Range(0.0, period); t < to; t += period)
            for (int b = 0; b < 4; ++b) {
                const double at = t + beats[b] * period + rng.Range(-0.008, 0.008);
                if (at < to) Place(w, Hoof(rng, kRate, hardness), at, level * rng.Range(0.7, 1.0), wrap);
            }
    }
}

// Muskets fired at will: shots at random, `perSecond` on average.
void AddMusketry(Wave& w, Rng& rng, double from, double to, double perSecond, double nearest, double farthest,
                 double gain, bool wrap) {
    for (double t = from - std::log(1.0 - rng.Uniform()) / perSecond; t < to;
         t -= std::log(1.0 - rng.Uniform()) / perSecond) {
        const double d = rng.Range(nearest, farthest);
        Place(w, MusketShot(rng, kRate, d), t, gain * (1.0 - 0.55 * d) * rng.Range(0.6, 1.0), wrap);
    }
}

// A volley: a line of `muskets` firing on the word, ragged over a few tenths of a second.
void AddVolley(Wave& w, Rng& rng, double at, int muskets, double distance, double gain, bool wrap) {
    for (int k = 0; k < muskets; ++k) {
        const double d = std::clamp(distance + rng.Range(-0.08, 0.08), 0.0, 1.0);
        Place(w, MusketShot(rng, kRate, d), at + 0.35 * std::pow(rng.Uniform(), 1.5),
              gain * (1.0 - 0.55 * d) * rng.Range(0.5, 1.0) / std::sqrt(muskets) * 2.5, wrap);
    }
}

void AddGun(Wave& w, Rng& rng, double at, double distance, double gain, bool wrap) {
    Place(w, CannonShot(rng, kRate, distance), at, gain * (1.0 - 0.5 * distance), wrap);
}

void AddSabres(Wave& w, Rng& rng, double from, double to, double perSecond, double gain, bool wrap) {
    for (double t = from - std::log(1.0 - rng.Uniform()) / perSecond; t < to;
         t -= std::log(1.0 - rng.Uniform()) / perSecond) {
        // A parry and a riposte come close together.
        const int blows = 1 + static_cast<int>(rng.Uniform() * 3);
        for (int b = 0; b < blows; ++b)
            Place(w, SabreClash(rng, kRate), t + b * rng.Range(0.12, 0.22), gain * rng.Range(0.4, 1.0), wrap);
    }
}

// The din under a battle far off: a low rumble that never quite stops.
Wave DistantDin(Rng& rng, double seconds, double level) {
    Wave din = Thunder(rng, kRate, seconds + 1.0, 0.0);
    // Thunder dies away; the din must not: flatten its envelope.
    Wave steady = WindBed(rng, kRate, seconds + 1.0, 0.0);
    LowPass(steady, 220);
    for (std::size_t i = 0; i < din.size(); ++i)
        din.s[i] = static_cast<float>((din.s[i] * 0.3 + steady.s[i] * 1.5) * level);
    return LoopedBed(std::move(din), 1.0);
}

Wave Finish(Wave w, double fadeIn, double fadeOut) {
    FadeEdges(w, fadeIn, fadeOut);
    return w;
}

} // namespace

Wave BattleBegins() {
    return Finish(AttackCall(kRate), 0.0, 0.3);
}

Wave FortressBombarded() {
    Rng rng(301);
    Wave w(kRate, 4.2);
    const double shots[] = {0.05, 0.85, 1.6};
    for (double at : shots) {
        AddGun(w, rng, at, rng.Range(0.1, 0.25), 1.0, false);
        // The ball strikes the walls across the valley.
        MixInto(w, MasonryHit(rng, kRate, 0.65), at + rng.Range(0.55, 0.75), 0.45);
    }
    AddRoom(w, 0.5, 2.0, 0.85, 0.4, 1.0);
    return Finish(std::move(w), 0.0, 1.2);
}

Wave RainyWeek() {
    Rng rng(401);
    Wave w = RainBed(rng, kRate, 5.0);
    MixInto(w, Thunder(rng, kRate, 3.2, 0.3), 1.4, 0.9);
    return Finish(std::move(w), 0.6, 1.2);
}

Wave Rising() {
    Rng rng(501);
    Wave w(kRate, 5.0);
    // The alarm: two bells rung fast, as when the bells are rung backwards.
    for (int k = 0; k < 12; ++k)
        MixInto(w, Bell(rng, kRate, k % 2 == 0 ? 660.0 : 550.0, 3.0), k * 0.34, k % 2 == 0 ? 0.8 : 0.7);
    // The people gather and cheer, under the bells.
    Wave crowd = CrowdCheer(rng, kRate, 32, 3.2);
    LowPass(crowd, 2500);
    MixInto(w, crowd, 1.3, 0.8);
    AddDrumRoll(w, rng, 0.6, 3.8, 0.25, false);
    AddRoom(w, 0.35, 1.6, 0.8, 0.4, 0.8);
    return Finish(std::move(w), 0.05, 1.2);
}

Wave InfantryBattle() {
    Rng rng(601);
    const double len = 8.0;
    Wave w(kRate, len);
    MixInto(w, DistantDin(rng, len, 0.35), 0.0);
    AddMusketry(w, rng, 0.0, len, 6.0, 0.3, 0.9, 0.7, true);
    AddVolley(w, rng, 1.5, 30, 0.4, 0.9, true);
    AddVolley(w, rng, 5.5, 30, 0.5, 0.9, true);
    AddGun(w, rng, 3.2, 0.8, 0.8, true);
    AddGun(w, rng, 7.0, 0.85, 0.7, true);
    AddDrumRoll(w, rng, 3.8, 6.2, 0.08, true);
    Wave cheer = CrowdCheer(rng, kRate, 24, 2.0);
    LowPass(cheer, 1500);
    Place(w, cheer, 5.9, 0.35, true);
    return LoopRoom(w, 0.45, 2.0, 0.84, 0.45);
}

Wave InfantryMarching() {
    Rng rng(701);
    Wave w(kRate, 2.9);
    const double step = 60.0 / 108.0;
    AddColumn(w, rng, 0.02, 2.8, step, 16, 1.0);
    // The drummer some way ahead of the company.
    Wave drum(kRate, 2.9);
    AddDrumCadence(drum, rng, 0.02, 2.8, step, 0.16, false);
    LowPass(drum, 3500);
    MixInto(w, drum, 0.0);
    AddRoom(w, 0.15, 1.0, 0.7, 0.5, 0.3);
    return Finish(std::move(w), 0.35, 0.8);
}

Wave ArmyMarching() {
    Rng rng(901);
    Wave w(kRate, 3.3);
    const double step = 60.0 / 108.0;
    AddColumn(w, rng, 0.02, 3.2, step, 12, 0.8);
    AddDrumCadence(w, rng, 0.02, 3.2, step, 0.12, false);
    AddHorses(w, rng, 0.0, 3.2, Gait::Walk, 4, 0.4, 0.6, false);
    // The guns and the wagons of the train.
    MixInto(w, WagonRumble(rng, kRate, 3.3), 0.0, 0.3);
    AddRoom(w, 0.15, 1.0, 0.7, 0.5, 0.3);
    return Finish(std::move(w), 0.4, 0.9);
}

Wave CavalryBattle() {
    Rng rng(1001);
    const double len = 8.0;
    Wave w(kRate, len);
    MixInto(w, DistantDin(rng, len, 0.3), 0.0);
    AddHorses(w, rng, 0.0, len, Gait::Gallop, 14, 0.3, 1.1, true);
    AddSabres(w, rng, 0.0, len, 2.2, 0.35, true);
    AddMusketry(w, rng, 0.0, len, 0.8, 0.15, 0.5, 0.6, true);
    for (double at : {1.8, 5.6}) {
        Wave cheer = CrowdCheer(rng, kRate, 20, 1.8);
        LowPass(cheer, 2200);
        Place(w, cheer, at, 0.4, true);
    }
    return LoopRoom(w, 0.35, 1.6, 0.8, 0.45);
}

Wave CavalryMarching() {
    Rng rng(1101);
    Wave w(kRate, 2.9);
    AddHorses(w, rng, 0.0, 2.8, Gait::Trot, 8, 0.5, 1.0, false);
    for (double t = 0.1; t < 2.7; t += rng.Range(0.25, 0.5)) MixInto(w, Jingle(rng, kRate, 0.2), t, 0.22);
    AddRoom(w, 0.15, 1.0, 0.7, 0.5, 0.3);
    return Finish(std::move(w), 0.35, 0.8);
}

Wave FairWeek() {
    Rng rng(1201);
    Wave w = Breeze(rng, kRate, 4.6);
    Scale(w, 0.5);
    MixInto(w, LarkTrill(rng, kRate), 0.3, 0.35);
    MixInto(w, BlackbirdPhrase(rng, kRate), 1.5, 0.45);
    MixInto(w, Cuckoo(rng, kRate), 3.3, 0.3);
    MixInto(w, LarkTrill(rng, kRate), 3.6, 0.25);
    AddRoom(w, 0.2, 1.6, 0.75, 0.5, 0.0);
    return Finish(std::move(w), 0.6, 1.0);
}

Wave WinterWind() {
    Rng rng(1301);
    return Finish(WindBed(rng, kRate, 5.0, 1.0), 0.8, 1.3);
}

Wave Message() {
    return Finish(PostHorn(kRate), 0.0, 0.3);
}

Wave LongBattle() {
    Rng rng(1601);
    const double len = 10.0;
    Wave w(kRate, len);
    MixInto(w, DistantDin(rng, len, 0.5), 0.0);
    for (double at = 0.4; at < len; at += rng.Range(0.8, 1.6))
        AddGun(w, rng, at, rng.Range(0.3, 0.95), 0.85, true);
    AddMusketry(w, rng, 0.0, len, 10.0, 0.45, 0.95, 0.6, true);
    for (double at : {2.0, 6.0, 9.0}) AddVolley(w, rng, at, 36, 0.55, 0.8, true);
    AddDrumRoll(w, rng, 4.0, 7.5, 0.05, true);
    return LoopRoom(w, 0.5, 2.2, 0.86, 0.45);
}

Wave Train() {
    Rng rng(1701);
    Wave w(kRate, 4.6);
    // Steam escaping at the standstill.
    Wave hiss(kRate, 4.6);
    for (float& x : hiss.s) x = static_cast<float>(rng.Signed());
    HighPass(hiss, 2500);
    for (std::size_t i = 0; i < hiss.size(); ++i)
        hiss.s[i] *= static_cast<float>(0.05 + 0.12 * Decay(i / double(kRate), 2.0));
    MixInto(w, hiss, 0.0);
    MixInto(w, SteamWhistle(rng, kRate, 780.0, 0.9), 0.05, 0.2);
    // The exhaust beats come faster as the engine gathers way: four to a turn of the wheels.
    double t = 0.6, rateNow = 2.2;
    for (int k = 0; t < 4.4; ++k) {
        MixInto(w, Chuff(rng, kRate, k % 4 == 0 ? 1.0 : 0.75), t, 0.7);
        rateNow = std::min(5.5, rateNow + 0.35);
        t += 1.0 / rateNow;
    }
    // The carriages over the rail joints: click-clack of each pair of axles.
    for (double c = 1.6; c < 4.4; c += 0.55) {
        MixInto(w, RailClick(rng, kRate), c, 0.35);
        MixInto(w, RailClick(rng, kRate), c + 0.14, 0.3);
    }
    MixInto(w, WagonRumble(rng, kRate, 3.4), 1.2, 0.35);
    AddRoom(w, 0.2, 1.2, 0.75, 0.5, 0.3);
    return Finish(std::move(w), 0.05, 1.0);
}

Wave FireInFortress() {
    Rng rng(1801);
    Wave w = FireBed(rng, kRate, 3.8);
    MixInto(w, MasonryHit(rng, kRate, 0.5), 1.1, 0.35);
    AddRoom(w, 0.25, 1.4, 0.75, 0.5, 0.3);
    return Finish(std::move(w), 0.3, 1.0);
}

Wave DiggingIn() {
    Rng rng(2001);
    Wave w(kRate, 3.8);
    // Three men with spades, each at his own pace.
    const double paces[] = {1.15, 1.3, 1.42};
    const double starts[] = {0.0, 0.45, 0.8};
    for (int m = 0; m < 3; ++m)
        for (double t = starts[m]; t < 3.0; t += paces[m] * rng.Range(0.95, 1.05))
            MixInto(w, SpadeStroke(rng, kRate), t, m == 0 ? 0.9 : 0.65);
    for (double t = 0.6; t < 3.2; t += rng.Range(0.7, 1.3)) MixInto(w, StoneClink(rng, kRate), t, 0.15);
    AddRoom(w, 0.15, 1.0, 0.7, 0.5, 0.3);
    return Finish(std::move(w), 0.1, 0.8);
}

Wave BattleNoiseGuns() {
    Rng rng(2101);
    const double len = 8.0;
    Wave w(kRate, len);
    MixInto(w, DistantDin(rng, len, 0.45), 0.0);
    for (double at = 0.2; at < len; at += rng.Range(0.5, 1.1))
        AddGun(w, rng, at, rng.Range(0.2, 0.9), 0.9, true);
    for (double at = 0.9; at < len; at += rng.Range(1.2, 2.4))
        Place(w, MasonryHit(rng, kRate, 0.8), at, 0.25, true);
    AddMusketry(w, rng, 0.0, len, 2.0, 0.6, 1.0, 0.5, true);
    return LoopRoom(w, 0.5, 2.2, 0.86, 0.45);
}

Wave BattleNoiseVolleys() {
    Rng rng(2201);
    const double len = 8.0;
    Wave w(kRate, len);
    MixInto(w, DistantDin(rng, len, 0.35), 0.0);
    // Two lines exchanging fire, one near, one across the field.
    for (int k = 0; k < 4; ++k) AddVolley(w, rng, 0.2 + 2.0 * k, 32, k % 2 == 0 ? 0.3 : 0.65, 1.0, true);
    AddMusketry(w, rng, 0.0, len, 3.0, 0.4, 0.9, 0.6, true);
    AddGun(w, rng, 5.1, 0.9, 0.7, true);
    return LoopRoom(w, 0.45, 2.0, 0.84, 0.45);
}

Wave BattleNoiseCharge() {
    Rng rng(2301);
    const double len = 8.0;
    Wave w(kRate, len);
    MixInto(w, DistantDin(rng, len, 0.3), 0.0);
    AddDrumRoll(w, rng, 0.0, len, 0.15, true);
    for (double at : {0.5, 3.2, 6.0}) {
        Wave cheer = CrowdCheer(rng, kRate, 28, 2.4);
        LowPass(cheer, 2000);
        Place(w, cheer, at, 0.55, true);
    }
    AddMusketry(w, rng, 0.0, len, 5.0, 0.3, 0.9, 0.6, true);
    AddHorses(w, rng, 0.0, len, Gait::Gallop, 8, 0.2, 0.35, true);
    return LoopRoom(w, 0.45, 2.0, 0.84, 0.45);
}

Wave BattleNoise() {
    Rng rng(2401);
    const double len = 8.0;
    Wave w(kRate, len);
    MixInto(w, DistantDin(rng, len, 0.4), 0.0);
    AddMusketry(w, rng, 0.0, len, 7.0, 0.3, 0.95, 0.65, true);
    for (double at : {1.0, 3.6, 6.1}) AddGun(w, rng, at, rng.Range(0.4, 0.9), 0.8, true);
    AddVolley(w, rng, 4.3, 30, 0.45, 0.85, true);
    Wave cheer = CrowdCheer(rng, kRate, 24, 2.0);
    LowPass(cheer, 1800);
    Place(w, cheer, 6.4, 0.35, true);
    return LoopRoom(w, 0.45, 2.0, 0.85, 0.45);
}

Wave Fortifying() {
    Rng rng(2501);
    Wave w(kRate, 3.8);
    // Two carpenters driving the palisade, in bursts of blows.
    for (int m = 0; m < 2; ++m) {
        double t = m == 0 ? 0.05 : 0.3;
        const double hz = m == 0 ? 210.0 : 270.0;
        while (t < 3.2) {
            const int blows = 3 + static_cast<int>(rng.Uniform() * 2);
            for (int b = 0; b < blows && t < 3.2; ++b, t += rng.Range(0.42, 0.5))
                MixInto(w, WoodKnock(rng, kRate, hz * rng.Range(0.97, 1.03)), t, m == 0 ? 0.9 : 0.6);
            t += rng.Range(0.4, 0.7);
        }
    }
    // A mason dressing stone.
    for (double t = 0.2; t < 3.3; t += rng.Range(0.28, 0.4)) MixInto(w, StoneClink(rng, kRate), t, 0.22);
    // And a saw.
    Wave saw(kRate, 2.0);
    Biquad bp;
    bp.Set(Biquad::Kind::BandPass, 3000, 1.2, kRate);
    for (std::size_t i = 0; i < saw.size(); ++i) {
        const double t = i / double(kRate);
        saw.s[i] = bp.Run(static_cast<float>(rng.Signed())) *
                   static_cast<float>(std::abs(std::sin(kPi * 2.6 * t)) * Hann(t, 2.0));
    }
    MixInto(w, saw, 1.3, 0.5);
    AddRoom(w, 0.15, 1.0, 0.7, 0.5, 0.3);
    return Finish(std::move(w), 0.05, 0.8);
}

Wave Victory() {
    return Finish(VictoryFanfare(kRate), 0.0, 0.4);
}
Wave Defeat() {
    return Finish(DefeatLament(kRate), 0.0, 0.5);
}

} // namespace mksound
