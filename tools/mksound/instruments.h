#pragma once
// The band and the small orchestra of the period: brass and reeds of a regimental band, the
// tárogató, strings, the cimbalom, and the drums. Each note is rendered on its own and laid
// into a part.

#include "dsp.h"

namespace mksound {

enum class Instrument {
    Cornet,   // the band's melody
    Bugle,    // signals: natural notes, bright
    Horn,     // the afterbeats of a march
    Tuba,     // the bass of the band
    Clarinet, // doubling the melody
    Tarogato, // the slow theme's singer
    Violin,
    Cello,
    Cimbalom, // struck strings: the slow theme's arpeggios
    // Drums: the note's pitch is used only by the timpani.
    Snare,
    BassDrum,
    Cymbal,
    Timpani,
};

// One note `seconds` long (the release rings on after it), loudness `velocity` 0..1.
Wave PlayNote(Instrument instrument, Rng& rng, int rate, double hz, double seconds, double velocity);

} // namespace mksound
