#pragma once
// Single sounds of the period, each a fresh mono wave: a musket shot, a cannon, a boot on a
// gravel road, a hoof, a drum stroke, a bell, a sabre, a spade... The effects lay many of them
// into a scene.

#include "dsp.h"

namespace mksound {

// `distance` 0 is beside the listener, 1 far across the field.
Wave MusketShot(Rng& rng, int rate, double distance);
Wave CannonShot(Rng& rng, int rate, double distance);
// A shell or ball striking masonry: the crash and the falling rubble.
Wave MasonryHit(Rng& rng, int rate, double distance);

// A hob-nailed boot on a gravel road; `weight` 0..1.
Wave Footstep(Rng& rng, int rate, double weight);
// A hoof on a dirt road; `hardness` 0 soft ground .. 1 a paved street.
Wave Hoof(Rng& rng, int rate, double hardness);
// Bits and buckles, spurs, a sabre in its scabbard: a short jingle.
Wave Jingle(Rng& rng, int rate, double length);
// Iron-shod wheels and axles: a rolling rumble with creaks, `seconds` long.
Wave WagonRumble(Rng& rng, int rate, double seconds);

Wave SnareStroke(Rng& rng, int rate, double force);
Wave BassDrumStroke(Rng& rng, int rate, double force);
Wave CymbalClash(Rng& rng, int rate, double force);
Wave Timpani(Rng& rng, int rate, double hz, double force);
// A church bell struck once; `hz` is its nominal.
Wave Bell(Rng& rng, int rate, double hz, double seconds);

// Sabre on sabre.
Wave SabreClash(Rng& rng, int rate);
// A hammer on timber; `hz` the timber's note.
Wave WoodKnock(Rng& rng, int rate, double hz);
// A pick or chisel on stone.
Wave StoneClink(Rng& rng, int rate);
// A spade pushed into the soil and the earth thrown.
Wave SpadeStroke(Rng& rng, int rate);

// A locomotive's exhaust beat.
Wave Chuff(Rng& rng, int rate, double force);
// A wheel over a rail joint.
Wave RailClick(Rng& rng, int rate);
Wave SteamWhistle(Rng& rng, int rate, double hz, double seconds);

// Many voices calling at once ("Éljen!", "Hurrá!"): `voices` people, `seconds` long.
Wave CrowdCheer(Rng& rng, int rate, int voices, double seconds);

// Beds: continuous sounds of a given length.
Wave FireBed(Rng& rng, int rate, double seconds);
Wave RainBed(Rng& rng, int rate, double seconds);
Wave WindBed(Rng& rng, int rate, double seconds, double howl);
Wave Breeze(Rng& rng, int rate, double seconds);
Wave Thunder(Rng& rng, int rate, double seconds, double nearness);

// Birds: a lark's trill, a blackbird's fluted phrase, a distant cuckoo.
Wave LarkTrill(Rng& rng, int rate);
Wave BlackbirdPhrase(Rng& rng, int rate);
Wave Cuckoo(Rng& rng, int rate);

} // namespace mksound
