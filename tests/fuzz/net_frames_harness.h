#pragma once
// The network decoder's fuzz target, shared by the libFuzzer executable and the plain test over
// the seeds: the bytes are the stream the other machine sends, delivered in pieces whose size
// the first byte chooses. Every frame the reader lets through is decoded; an accepted message
// must encode and decode again to itself, and a refusal must say why.

#include "net/messages.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vezer::fuzz {

// Returns an empty string, or what went wrong.
std::string RunNetFrames(std::span<const std::uint8_t> data);

// Streams of real messages, and broken ones, to start the fuzzer from.
std::vector<std::vector<std::uint8_t>> NetFrameSeeds();

} // namespace vezer::fuzz
