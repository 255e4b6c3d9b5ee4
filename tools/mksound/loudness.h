#pragma once
// How loud a sound is, as a listener hears it: the power of its samples after a filter that
// weighs the frequencies as the ear does (less of the deep bass, a little more of the
// presence), taken over 400 ms blocks and gated so that silences and fading tails do not count
// (the method of the broadcast loudness meters). Also the plain peak and RMS.
//
// The sound tool levels every file with it, and the tests measure the decoded files with it.

#include <vector>

namespace mksound {

struct Levels {
    double seconds = 0;
    double peakDb = -200;     // highest sample, dB of full scale
    double rmsDb = -200;      // plain RMS of the whole file
    double loudnessDb = -200; // weighted, gated
};

// `channels`: one vector of samples per channel, all of one length.
Levels Measure(const std::vector<std::vector<float>>& channels, int rate);

// Cleans the sound and brings it to `targetDb` loudness with no sample above `ceilingDb`.
// First the rumble under 40 Hz goes (no speaker plays it, and it only eats the headroom; a
// loop's filter starts as if the loop had already gone round once, so no seam appears). Then
// a gain, and a soft knee on the peaks (sample by sample, so a loop stays seamless), a few
// times over.
void Master(std::vector<std::vector<float>>& channels, int rate, double targetDb, double ceilingDb,
            bool loops = false);

} // namespace mksound
