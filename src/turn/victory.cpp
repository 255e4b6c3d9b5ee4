#include "turn/victory.h"

#include "core/calendar.h"
#include "core/errors.h"
#include "core/textfile.h"
#include "files/savegame.h"

#include <array>

namespace vezer {

namespace {

// Readiness reports of the end-of-game screen to the other machine.
constexpr int kReadyEndScreenOpen = 33;
constexpr int kReadyGoOn = 3;
constexpr int kReadyMenu = 4;

constexpr int kVerdictMaxChars = 120;

struct Grade {
    const char* text;
    const char* picture;
};

constexpr std::array<Grade, kGradeCount + 1> kGrades = {{
    {"", ""},
    {"Totális magyar gyözelem!", "gy1.bmp"},
    {"Magyar gyözelem!", "gy1.bmp"},
    {"Döntetlen", "gy3.bmp"},
    {"Osztrák gyözelem!", "gy5.bmp"},
    {"Totális osztrák gyözelem!", "gy5.bmp"},
}};

// Whether total1 / den > num / 100, exactly (den = total2 + 1; a negative den turns the
// comparison round; a zero den reads as an endless ratio for a positive total1).
bool RatioAbove(long long total1, long long den, long long num) {
    if (den == 0) return total1 > 0;
    if (den > 0) return total1 * 100 > num * den;
    return total1 * 100 < num * den;
}

// The whole story, its lines joined; empty when the file is missing or unreadable.
std::string ReadStory(const Game& game, const std::string& fileName) {
    try {
        std::string story;
        for (const std::string& line : ReadTextLines(game.dir, fileName)) story += line + "\n";
        return story;
    } catch (const FileIoError&) {
    } catch (const DataError&) {
    }
    return {};
}

} // namespace

void UpdateTotalPoints(State& st) {
    for (int side = 1; side <= 2; ++side) st.TotalPoints[side] = st.BattlePoints[side] + st.CityPoints[side];
}

bool CampaignOver(const State& st) {
    const Date today = Today(st);
    return today == Date{st.EndYear, st.EndMonth, st.EndWeek} || today == Date{1850, 1, 1} ||
           st.CityPoints[1] == 0 || st.CityPoints[2] == 0;
}

int VerdictGrade(int total1, int total2) {
    const long long den = 1LL * total2 + 1;
    if (RatioAbove(total1, den, 200)) return 1;
    if (RatioAbove(total1, den, 115)) return 2;
    if (RatioAbove(total1, den, 87)) return 3;
    if (RatioAbove(total1, den, 50)) return 4;
    return 5;
}

std::string VerdictText(int grade) {
    return grade >= 1 && grade <= kGradeCount ? kGrades[static_cast<std::size_t>(grade)].text : "";
}

std::string VerdictPicture(int grade) {
    return grade >= 1 && grade <= kGradeCount ? kGrades[static_cast<std::size_t>(grade)].picture : "";
}

std::string OutcomeStoryFileName(int language, int side, int grade) {
    return "data\\gy" + std::to_string(language) + std::to_string(side) + std::to_string(grade) + ".txt";
}

void CheckVictory(Game& game) {
    State& st = game.state;
    if (!CampaignOver(st)) return;
    EndOfGameView view;
    view.grade = VerdictGrade(st.TotalPoints[1], st.TotalPoints[2]);
    view.verdict = ShortText<kVerdictMaxChars>(VerdictText(view.grade)).str();
    view.picture = VerdictPicture(view.grade);
    // A missing story still ends the campaign: the verdict is shown with what could be read.
    view.story = ReadStory(game, OutcomeStoryFileName(st.Language, st.LocalSide, view.grade));
    if (st.NetworkGame) game.link.SendReadiness(kReadyEndScreenOpen);
    if (game.screen.ShowEndOfGame(view) == EndOfGameChoice::Menu)
        EndOfGameLeave(game);
    else
        EndOfGameGoOn(game);
}

void EndOfGameGoOn(Game& game) {
    if (game.state.NetworkGame) game.link.SendReadiness(kReadyGoOn);
    game.screen.RefreshMainScreen();
}

void EndOfGameLeave(Game& game) {
    if (game.state.NetworkGame) {
        // Both machines leave together; neither saves.
        game.link.SendReadiness(kReadyMenu);
    } else {
        TrySaveGame(game, kAutoSaveFile);
    }
    game.screen.CloseMainScreen();
}

} // namespace vezer
