#pragma once
// The three small settings files the menu and the new-game screen keep: "Data\\setup.dat"
// (scroll speed, resolution, animation speed), "Data\\beallitasok.dat" (a list of lines, of
// which the game reads and writes a few and carries the rest) and "Data\\onesetup.dat" (the
// last choices of the new-game screen).
//
// Reading is tolerant: a missing file, a short one, a missing line or a value that is not
// what the line should hold falls back to the default of that line, and the reader reports
// one warning for the file. A damaged settings file never stops the game from starting.
// Writing is atomic.

#include "core/paths.h"

#include <string>
#include <vector>

namespace vezer {

inline constexpr const char* kSetupFile = "Data\\setup.dat";
inline constexpr const char* kSettingsListFile = "Data\\beallitasok.dat";
inline constexpr const char* kOneSetupFile = "Data\\onesetup.dat";

// "Data\\setup.dat": one line of three two-digit codes.
struct SetupCodes {
    std::string scroll = "10";     // "08" slow, "10" normal, "20" fast, "30" very fast
    std::string resolution = "10"; // "10" 1024 x 768, "12" 1280 x 1024
    std::string animation = "04";  // "02" slow, "04" normal, "06" fast, "08" very fast

    std::string Line() const { return scroll + resolution + animation; }
    // The map scroll step at game start is the code itself (8, 10, 20 or 30).
    int ScrollStep() const;
    // The settings-list line that holds the animation step of this speed (2, 4, 6 or 8).
    int AnimationLine() const;
    bool LargeScreen() const { return resolution == "12"; }
};

SetupCodes ReadSetupFile(const GameDir& dir, std::string* warning = nullptr);
void WriteSetupFile(const GameDir& dir, const SetupCodes& codes);

// "Data\\beallitasok.dat": read and written whole; lines are numbered from 0.
class SettingsList {
public:
    static constexpr int kLineCount = 18;
    SettingsList(); // the defaults

    // Animation step delay of settings line 2, 4, 6 or 8.
    int AnimationStep(int line) const;
    // The drawing rate (line 10) and the frame interval it gives, 1000 / rate milliseconds.
    int DrawingRate() const;
    int FrameIntervalMs() const { return 1000 / DrawingRate(); }
    // Line 12: "1" 100 ms, "2" 400 ms, "3" 800 ms, "4" 0 ms per battle report line; else 100.
    int BattleDelayMs() const;
    int BattleSpeed() const;
    void SetBattleSpeed(int speed);
    // Lines 14 and 16: "I" on, "N" off, compared without regard to case.
    bool MusicOn() const { return IsOn(14); }
    bool EffectsOn() const { return IsOn(16); }
    void SetMusic(bool on) { lines_[14] = on ? "I" : "N"; }
    void SetEffects(bool on) { lines_[16] = on ? "I" : "N"; }
    // Line 17: the name offered in the network lobby ("játékos" when none was set).
    const std::string& PlayerName() const { return lines_[17]; }
    void SetPlayerName(const std::string& name) { lines_[17] = name; }

    const std::vector<std::string>& Lines() const { return lines_; }
    // Takes the lines of a file, mending what is damaged; returns whether anything was.
    bool Adopt(std::vector<std::string> lines);

private:
    bool IsOn(int line) const;
    int NumberAt(int line) const;
    std::vector<std::string> lines_;
};

SettingsList ReadSettingsList(const GameDir& dir, std::string* warning = nullptr);
void WriteSettingsList(const GameDir& dir, const SettingsList& list);

// "Data\\onesetup.dat": the new-game screen's last choices, in the file's own codes.
struct OneSetupChoices {
    int side1 = 2; // "1" the computer (or the other machine), "2" a person
    int side2 = 1;
    int difficulty = 2;    // 1..3
    int russian = 3;       // 1 none, 2 limited, 3 full
    int polish = 2;        // 1 none, 2 limited, 3 full
    int fog = 2;           // 1 off, 2 on
    int campaignEntry = 0; // entry 0..6 of the campaign list

    // The game's values: PlayerType (1 a person here, 2 the computer, 3 the other machine).
    int PlayerType(int side, bool network) const;
    int RussianIntervention() const { return russian - 1; }
    int PolishIntervention() const { return polish - 1; }
    int FogOfWar() const { return fog - 1; }
};

OneSetupChoices ReadOneSetupFile(const GameDir& dir, std::string* warning = nullptr);
void WriteOneSetupFile(const GameDir& dir, const OneSetupChoices& choices);

// The campaign list of the new-game screen: entry 0..6 to `Campaign` and back.
int CampaignOfEntry(int entry);
int EntryOfCampaign(int campaign);

} // namespace vezer
