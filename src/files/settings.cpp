#include "files/settings.h"

#include "core/arith.h"
#include "core/errors.h"
#include "core/text.h"
#include "core/textfile.h"

#include <algorithm>
#include <array>

namespace vezer {

namespace {

// The lines of a settings file, or none when it cannot be read at all.
bool ReadLines(const GameDir& dir, const char* name, std::vector<std::string>& lines) {
    try {
        lines = ReadTextLines(dir, name);
        return true;
    } catch (const FileIoError&) {
        return false;
    }
}

void Warn(std::string* warning, const char* name, const std::string& what) {
    if (warning) *warning = std::string(name) + ": " + what + "; the defaults are used instead";
}

bool OneOf(const std::string& code, std::initializer_list<const char*> allowed) {
    return std::any_of(allowed.begin(), allowed.end(), [&](const char* a) { return code == a; });
}

// The number in the first four characters of a line, blanks trimmed.
bool LeadingNumber(const std::string& line, int& out) {
    return ParseInt(CutToChars(line, 4), out);
}

// The shipped "Data\\beallitasok.dat" (assets/settings/beallitasok.txt), line for line.
const std::array<const char*, SettingsList::kLineCount> kDefaultSettingsLines = {
    "Vezér beállítások",
    "Animáció késleltetése, lassú (ms):",
    "40",
    "Animáció késleltetése, normál (ms):",
    "20",
    "Animáció késleltetése, gyors (ms):",
    "10",
    "Animáció késleltetése, nagyon gyors (ms):",
    "5",
    "Rajzolási gyakoriság (kép másodpercenként):",
    "60",
    "Csata sebessége (1 gyors, 2 közepes, 3 lassú, 4 nagyon gyors):",
    "1",
    "Zene (I/N):",
    "I",
    "Hangeffektusok (I/N):",
    "I",
    "játékos"};

constexpr std::array<int, 7> kCampaignOfEntry = {0, 6, 1, 2, 3, 4, 5};

} // namespace

int SetupCodes::ScrollStep() const {
    return ParseIntOrZero(scroll);
}
int SetupCodes::AnimationLine() const {
    return ParseIntOrZero(animation);
}

SetupCodes ReadSetupFile(const GameDir& dir, std::string* warning) {
    SetupCodes codes;
    std::vector<std::string> lines;
    if (!ReadLines(dir, kSetupFile, lines) || lines.empty()) {
        Warn(warning, kSetupFile, "missing or empty");
        return codes;
    }
    const std::string& line = lines.front();
    auto pair = [&](std::size_t at) { return line.size() >= at + 2 ? line.substr(at, 2) : std::string(); };
    SetupCodes read{pair(0), pair(2), pair(4)};
    bool damaged = false;
    auto take = [&](std::string& into, const std::string& value, std::initializer_list<const char*> allowed) {
        if (OneOf(value, allowed))
            into = value;
        else
            damaged = true;
    };
    take(codes.scroll, read.scroll, {"08", "10", "20", "30"});
    take(codes.resolution, read.resolution, {"10", "12"});
    take(codes.animation, read.animation, {"02", "04", "06", "08"});
    if (damaged) Warn(warning, kSetupFile, "the line '" + line + "' is not three known codes");
    return codes;
}

void WriteSetupFile(const GameDir& dir, const SetupCodes& codes) {
    WriteTextLines(dir.Resolve(kSetupFile), {codes.Line()});
}

SettingsList::SettingsList() : lines_(kDefaultSettingsLines.begin(), kDefaultSettingsLines.end()) {}

int SettingsList::NumberAt(int line) const {
    int value = 0;
    LeadingNumber(lines_[static_cast<std::size_t>(line)], value);
    return value;
}

int SettingsList::AnimationStep(int line) const {
    if (line != 2 && line != 4 && line != 6 && line != 8) line = 4;
    return NumberAt(line);
}

int SettingsList::DrawingRate() const {
    return NumberAt(10);
}

int SettingsList::BattleSpeed() const {
    return ParseIntOrZero(lines_[12]);
}

int SettingsList::BattleDelayMs() const {
    switch (BattleSpeed()) {
    case 2:
        return 400;
    case 3:
        return 800;
    case 4:
        return 0;
    default:
        return 100;
    }
}

void SettingsList::SetBattleSpeed(int speed) {
    lines_[12] = std::to_string(speed);
}

bool SettingsList::IsOn(int line) const {
    const std::string& text = lines_[static_cast<std::size_t>(line)];
    return text == "I" || text == "i";
}

bool SettingsList::Adopt(std::vector<std::string> lines) {
    bool damaged = lines.size() < static_cast<std::size_t>(kLineCount);
    for (std::size_t i = lines.size(); i < kDefaultSettingsLines.size(); ++i)
        lines.emplace_back(kDefaultSettingsLines[i]);
    // Animation steps and the drawing rate must be numbers; the rate divides a second, so
    // it must be positive too.
    for (int line : {2, 4, 6, 8, 10}) {
        int value = 0;
        std::string& text = lines[static_cast<std::size_t>(line)];
        if (!LeadingNumber(text, value) || value < 0 || (line == 10 && value == 0)) {
            text = kDefaultSettingsLines[static_cast<std::size_t>(line)];
            damaged = true;
        }
    }
    for (int line : {14, 16}) {
        std::string& text = lines[static_cast<std::size_t>(line)];
        if (!OneOf(text, {"I", "i", "N", "n"})) {
            text = kDefaultSettingsLines[static_cast<std::size_t>(line)];
            damaged = true;
        }
    }
    lines_ = std::move(lines);
    return damaged;
}

SettingsList ReadSettingsList(const GameDir& dir, std::string* warning) {
    SettingsList list;
    std::vector<std::string> lines;
    if (!ReadLines(dir, kSettingsListFile, lines)) {
        Warn(warning, kSettingsListFile, "missing");
        return list;
    }
    if (list.Adopt(std::move(lines))) Warn(warning, kSettingsListFile, "short or damaged lines");
    return list;
}

void WriteSettingsList(const GameDir& dir, const SettingsList& list) {
    WriteTextLines(dir.Resolve(kSettingsListFile), list.Lines());
}

int OneSetupChoices::PlayerType(int side, bool network) const {
    const int code = side == 1 ? side1 : side2;
    if (code == 2) return 1;
    return network ? 3 : 2;
}

OneSetupChoices ReadOneSetupFile(const GameDir& dir, std::string* warning) {
    OneSetupChoices choices;
    std::vector<std::string> lines;
    if (!ReadLines(dir, kOneSetupFile, lines)) {
        Warn(warning, kOneSetupFile, "missing");
        return choices;
    }
    bool damaged = false;
    struct Field {
        int* value;
        int lo, hi;
    };
    const Field fields[] = {{&choices.side1, 1, 2},        {&choices.side2, 1, 2},
                            {&choices.difficulty, 1, 3},   {&choices.russian, 1, 3},
                            {&choices.polish, 1, 3},       {&choices.fog, 1, 2},
                            {&choices.campaignEntry, 0, 6}};
    for (std::size_t i = 0; i < std::size(fields); ++i) {
        int value = 0;
        if (i < lines.size() && ParseInt(lines[i], value) && value >= fields[i].lo && value <= fields[i].hi)
            *fields[i].value = value;
        else
            damaged = true;
    }
    // The two sides can never both be the computer.
    if (choices.side1 == 1 && choices.side2 == 1) {
        choices.side1 = 2;
        damaged = true;
    }
    if (damaged) Warn(warning, kOneSetupFile, "short or damaged lines");
    return choices;
}

void WriteOneSetupFile(const GameDir& dir, const OneSetupChoices& c) {
    std::vector<std::string> lines;
    for (int v : {c.side1, c.side2, c.difficulty, c.russian, c.polish, c.fog, c.campaignEntry})
        lines.push_back(std::to_string(v));
    WriteTextLines(dir.Resolve(kOneSetupFile), lines);
}

int CampaignOfEntry(int entry) {
    return entry >= 0 && entry < static_cast<int>(kCampaignOfEntry.size())
               ? kCampaignOfEntry[static_cast<std::size_t>(entry)]
               : 0;
}

int EntryOfCampaign(int campaign) {
    for (std::size_t i = 0; i < kCampaignOfEntry.size(); ++i)
        if (kCampaignOfEntry[i] == campaign) return static_cast<int>(i);
    return 0;
}

} // namespace vezer
