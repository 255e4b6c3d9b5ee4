#pragma once
// The game's sound files: the effect table (the number a rule asks for, the file, whether it
// sounds on until the next effect or a stop), the menu's title music and farewell, and the
// background music of the game. Shared by the sound module and the tool that makes the
// sounds, so the two never disagree about a name.

#include <array>
#include <string_view>

namespace vezer::sound {

struct EffectFile {
    int code;
    std::string_view name; // a game file name without its extension
    bool loops;
};

// Numbers 2 and 19 are not in the table: asking for them replays the current effect.
inline constexpr std::array<EffectFile, 23> kEffectTable{{
    {1, "Wave\\csatakezdete", false},   // a battle begins: the bugle's attack call
    {3, "Wave\\erodagyuzasa", false},   // the guns open on a fortress
    {4, "Wave\\eso", false},            // a week of rain
    {5, "Wave\\felkeles", false},       // a rising: the alarm bells and the crowd
    {6, "Wave\\gyalogcsata", true},     // infantry fighting
    {7, "Wave\\gyalogsagvonul", false}, // infantry on the march
    {8, "Wave\\gyozelemzene", false},   // victory
    {9, "Wave\\hadseregvonul", false},  // an army of all arms on the march
    {10, "Wave\\lovascsata", true},     // cavalry fighting
    {11, "Wave\\lovassagvonul", false}, // cavalry on the march
    {12, "Wave\\szepido", false},       // a fair week
    {13, "Wave\\teliszel", false},      // a week of winter wind
    {14, "Wave\\uzenet", false},        // a message: the post horn
    {15, "Wave\\veresegzene", false},   // defeat
    {16, "Wave\\hosszucsata", true},    // a long battle
    {17, "Wave\\vonat", false},         // the train
    {18, "Wave\\tuz", false},           // fire in the fortress
    {20, "Wave\\Sancepites", false},    // digging in
    {21, "Wave\\Csatazaj3001", true},   // battle noise: the guns
    {22, "Wave\\Csatazaj3002", true},   // battle noise: volleys
    {23, "Wave\\Csatazaj3003", true},   // battle noise: drums and the charge
    {24, "Wave\\csatazaj", true},       // battle noise
    {25, "Wave\\Erodepites", false},    // fortifying
}};

// The menu's title music (once, not looping) and the cadence played when the game is left.
inline constexpr std::string_view kTitleMusic = "Wave\\focim";
inline constexpr std::string_view kFarewellMusic = "Wave\\01-reklam";
// The background music of the game, played in a loop.
inline constexpr std::string_view kBackgroundMusic = "Wave\\hatterzene";

// Every sound file is Ogg Vorbis.
inline constexpr std::string_view kSoundFileExtension = ".ogg";

constexpr const EffectFile* FindEffect(int code) {
    for (const EffectFile& e : kEffectTable)
        if (e.code == code) return &e;
    return nullptr;
}

} // namespace vezer::sound
