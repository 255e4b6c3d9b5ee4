#include "core/texts.h"

#include "core/textfile.h"

#include <string_view>
#include <vector>

namespace vezer {

namespace {

// Walks the lines of a text file: an entry is its line up to the table's maximum; lines
// missing at the end of a short file read as empty.
class LineCursor {
public:
    explicit LineCursor(std::vector<std::string> lines) : lines_(std::move(lines)) {}
    void Ignore(int n) { next_ += static_cast<std::size_t>(n); }
    std::string_view Next() {
        std::size_t i = next_++;
        return i < lines_.size() ? std::string_view(lines_[i]) : std::string_view();
    }
    template <int N, std::size_t M> void Fill(std::array<ShortText<N>, M>& table, int first, int last) {
        for (int i = first; i <= last; ++i) table[static_cast<std::size_t>(i)] = Next();
    }

private:
    std::vector<std::string> lines_;
    std::size_t next_ = 0;
};

std::string CutName(std::string name) { return std::string(CutToChars(name, 30)); }

} // namespace

std::string BaseTextFileName(int language) { return CutName("Data\\alapszoveg" + std::to_string(language) + ".dat"); }

std::string ScenarioTextFileName(int language, int dataSet) {
    return CutName("Data\\palyaszoveg" + std::to_string(language) + std::to_string(dataSet) + ".dat");
}

void LoadTexts(Game& game, int language) {
    State& st = game.state;
    TextTables& tx = st.Texts;
    LineCursor base(ReadTextLines(game.dir, BaseTextFileName(language)));
    base.Ignore(3);
    base.Fill(tx.TerrainName, 0, 4);
    base.Ignore(3);
    tx.EntrenchmentName[0] = "";
    base.Fill(tx.EntrenchmentName, 1, 2);
    base.Ignore(3);
    base.Fill(tx.WeatherText, 1, 4);
    base.Ignore(3);
    base.Fill(tx.GroundText, 1, 4);
    base.Ignore(3);
    base.Fill(tx.TemperatureText, 1, 3);
    base.Ignore(3);
    base.Fill(tx.RiverText, 1, 4);
    base.Ignore(3);
    base.Fill(tx.DanubeText, 1, 4);
    base.Ignore(3);
    base.Fill(tx.TacticName, 1, 3);
    base.Ignore(3);
    for (int f = 1; f <= kFormationCount; ++f) st.Formations[static_cast<std::size_t>(f)].Name = base.Next();
    base.Ignore(3);
    base.Fill(tx.SizeClassName, 1, 3);
    base.Ignore(3);
    for (auto& name : tx.ActivityName) name = "";
    tx.ActivityName[11] = base.Next();
    tx.ActivityName[12] = base.Next();
    base.Ignore(3);
    base.Ignore(6);  // six labels, read and not used
    base.Ignore(3);
    tx.AbilityName[0] = "";
    base.Fill(tx.AbilityName, 1, 9);
    base.Ignore(3);
    tx.AbilityText[0] = "";
    base.Fill(tx.AbilityText, 1, 9);

    LineCursor scenario(ReadTextLines(game.dir, ScenarioTextFileName(language, st.DataSet)));
    scenario.Ignore(4);
    int types = st.TypeCount < 0 ? 0 : st.TypeCount > kMaxTypes ? kMaxTypes : st.TypeCount;
    for (int t = 1; t <= types; ++t) {
        // Type names keep 20 characters.
        st.Types[static_cast<std::size_t>(t)].Name = CutToChars(scenario.Next(), 20);
    }
    scenario.Ignore(3);
    scenario.Fill(tx.NationName, 1, kNationCount);
}

void LoadTutorialText(Game& game) {
    TextTables& tx = game.state.Texts;
    std::vector<std::string> lines = ReadTextLines(game.dir, "Data\\tutorial2.txt");
    int n = 0;
    for (const std::string& line : lines) {
        if (n == kTutorialLineRoom) break;
        tx.TutorialLines[static_cast<std::size_t>(++n)] = line;
    }
    tx.TutorialLineCount = n;
    tx.TutorialCursor = 0;
}

std::string RegimentTitle(const State& st, int side, int r) {
    const TEzred& e = st.Regiment(side, r);
    std::string title = std::to_string(e.Ordinal) + ". ";
    if (e.Nation >= 0 && e.Nation <= kNationCount) title += st.Texts.NationName[static_cast<std::size_t>(e.Nation)].view();
    title += " ";
    if (e.Type >= 0 && e.Type <= kMaxTypes) title += st.Types[static_cast<std::size_t>(e.Type)].Name.view();
    return title;
}

std::string RegimentSubject(const State& st, int side, int r) { return "the " + RegimentTitle(st, side, r); }
std::string RegimentObject(const State& st, int side, int r) { return RegimentSubject(st, side, r); }
std::string RegimentGoal(const State& st, int side, int r) { return RegimentSubject(st, side, r); }

} // namespace vezer
