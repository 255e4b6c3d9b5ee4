// The text files the game reads at set-up: Data/alapszoveg<L>.dat (terrain, weather, tactics,
// formations, abilities ...), Data/palyaszoveg<L>1.dat (regiment types and nations) and
// Data/hadtestmenu<L>.dat (the corps menu's items and hints), for L = 1 Hungarian and 2 English,
// laid out line by line as the game reads them.

#include "reference_data.h"
#include "reference_sources.h"

#include "core/state.h"
#include "forces/permission_hints.h"

#include <cstdio>

namespace mkdata {

namespace {

struct Section {
    const char* name;
    int first; // number of the first entry
    int count;
    std::size_t maxChars;
};

// The base text file, in the order the game reads it; three skipped lines precede each section.
constexpr Section kBaseLayout[] = {
    {"terrain", 0, 5, 15},      {"entrenchment", 1, 2, 20},  {"weather", 1, 4, 120},   {"ground", 1, 4, 120},
    {"temperature", 1, 3, 120}, {"river", 1, 4, 120},        {"danube", 1, 4, 120},    {"tactic", 1, 3, 120},
    {"formation", 1, 7, 15},    {"size", 1, 3, 120},         {"activity", 11, 2, 120}, {"label", 1, 6, 20},
    {"ability", 1, 9, 120},     {"ability-text", 1, 9, 120},
};
constexpr int kBaseLines = 107;
constexpr int kScenarioLines = 33;
constexpr std::size_t kHeadingChars = 120;
constexpr const char* kLanguages[] = {"hu", "en"};

// The texts of one language column, in source order, with their lines for errors.
struct Entry {
    int line;
    std::string text;
};

class BaseTexts {
public:
    explicit BaseTexts(const std::filesystem::path& file) : table_(ReadTable(file)) {}

    // Checks that the source lists every section in the game's order and every entry once.
    void CheckLayout() const {
        std::size_t row = 0;
        RequireHeading(row++, "title");
        for (const Section& s : kBaseLayout) {
            RequireHeading(row++, s.name);
            for (int e = s.first; e < s.first + s.count; ++e, ++row) {
                if (row >= table_.rows.size())
                    throw SourceError(table_.file, 0,
                                      std::string("the file ends before ") + s.name + " " +
                                          std::to_string(e));
                RowReader r(table_, row);
                if (r.Text("section") != s.name || r.Text("entry") != std::to_string(e))
                    r.Fail("expected " + std::string(s.name) + " " + std::to_string(e) + " here, found " +
                           r.Text("section") + " " + r.Text("entry"));
                for (const char* lang : kLanguages) {
                    std::string text = r.Text(lang);
                    if (text.empty() || text.find_first_not_of(' ') == std::string::npos)
                        r.Fail(std::string(s.name) + " " + std::to_string(e) + " has no " + lang + " text");
                    CheckGameText(table_.file, r.Line(), text, s.maxChars,
                                  std::string(s.name) + " " + std::to_string(e));
                }
            }
        }
        if (row != table_.rows.size()) RowReader(table_, row).Fail("rows after the last ability description");
    }

    // The 107 lines of the file for one language.
    std::vector<std::string> Lines(const char* lang) const {
        std::vector<std::string> lines;
        std::string title = RowReader(table_, 0).Text(lang);
        std::size_t row = 1;
        for (const Section& s : kBaseLayout) {
            std::string heading = RowReader(table_, row++).Text(lang);
            if (lines.empty())
                lines.insert(lines.end(), {title, heading, ""});
            else
                lines.insert(lines.end(), {"", heading, ""});
            for (int e = 0; e < s.count; ++e) lines.push_back(RowReader(table_, row++).Text(lang));
        }
        return lines;
    }

private:
    void RequireHeading(std::size_t row, const std::string& name) const {
        if (row >= table_.rows.size())
            throw SourceError(table_.file, 0, "the file ends before the heading of " + name);
        RowReader r(table_, row);
        if (r.Text("section") != "heading" || r.Text("entry") != name)
            r.Fail("expected the heading of " + name + " here");
        for (const char* lang : kLanguages)
            CheckGameText(table_.file, r.Line(), r.Text(lang), kHeadingChars, "heading");
    }

    SourceTable table_;
};

std::vector<std::string> ScenarioLines(const std::filesystem::path& assets,
                                       const std::vector<RegimentTypeRow>& types, const char* lang) {
    SourceTable headings = ReadTable(assets / "texts" / "scenario_headings.tsv");
    auto heading = [&](const std::string& key) {
        for (std::size_t i = 0; i < headings.rows.size(); ++i) {
            RowReader r(headings, i);
            if (r.Text("heading") != key) continue;
            std::string text = r.Text(lang);
            CheckGameText(headings.file, r.Line(), text, kHeadingChars, "heading");
            return text;
        }
        throw SourceError(headings.file, 0, "no heading '" + key + "'");
    };
    std::vector<std::string> lines = {heading("title"), "", heading("types"), ""};
    for (const RegimentTypeRow& t : types) lines.push_back(lang == std::string("hu") ? t.NameHu : t.NameEn);
    lines.insert(lines.end(), {"", heading("nations"), ""});

    SourceTable nations = ReadTable(assets / "texts" / "nations.tsv");
    if (nations.rows.size() != static_cast<std::size_t>(vezer::kNationCount))
        throw SourceError(nations.file, 0,
                          "expected the 11 nations, found " + std::to_string(nations.rows.size()));
    for (std::size_t i = 0; i < nations.rows.size(); ++i) {
        RowReader r(nations, i);
        int nation = static_cast<int>(i) + 1;
        if (r.Int("nation", 1, vezer::kNationCount) != nation)
            r.Fail("nations must be listed as 1..11 in order");
        if (r.Int("flag", 0, 4) != vezer::kNationFlag[static_cast<std::size_t>(nation)])
            r.Fail("the rules give nation " + std::to_string(nation) + " flag class " +
                   std::to_string(vezer::kNationFlag[static_cast<std::size_t>(nation)]));
        std::string name = r.Text(lang);
        if (name.empty()) r.Fail(std::string("nation has no ") + lang + " name");
        CheckGameText(nations.file, r.Line(), name, 12, "nation name");
        lines.push_back(name);
    }
    return lines;
}

// The corps menu: an item and a hint for every permission flag, in the rules' order.
std::vector<std::string> CorpsMenuLines(const std::filesystem::path& assets, const char* lang) {
    SourceTable table = ReadTable(assets / "texts" / "corps_menu.tsv");
    if (table.rows.size() != vezer::kPermissionNames.size())
        throw SourceError(table.file, 0,
                          "expected a row for each of the " + std::to_string(vezer::kPermissionNames.size()) +
                              " permission flags, found " + std::to_string(table.rows.size()));
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
        RowReader r(table, i);
        if (r.Text("flag") != vezer::kPermissionNames[i])
            r.Fail(std::string("expected ") + vezer::kPermissionNames[i] + " here, found " + r.Text("flag"));
        for (const char* column : {"item_", "hint_"}) {
            const std::string text = r.Text(column + std::string(lang));
            if (text.empty()) r.Fail(r.Text("flag") + " has no " + column + lang);
            CheckGameText(table.file, r.Line(), text, kHeadingChars, r.Text("flag"));
            lines.push_back(text);
        }
    }
    return lines;
}

} // namespace

void CompileTexts(const Context& ctx) {
    BaseTexts base(ctx.assets / "texts" / "base.tsv");
    base.CheckLayout();
    std::vector<RegimentTypeRow> types = ReadRegimentTypes(ctx.assets);
    for (int language = 1; language <= 2; ++language) {
        const char* lang = kLanguages[language - 1];
        std::vector<std::string> lines = base.Lines(lang);
        if (lines.size() != kBaseLines) throw std::logic_error("the base text layout is not 107 lines");
        WriteTextOutput(ctx, "Data/alapszoveg" + std::to_string(language) + ".dat", lines);
        std::vector<std::string> scenario = ScenarioLines(ctx.assets, types, lang);
        if (scenario.size() != kScenarioLines)
            throw std::logic_error("the scenario text layout is not 33 lines");
        WriteTextOutput(ctx, "Data/palyaszoveg" + std::to_string(language) + "1.dat", scenario);
        WriteTextOutput(ctx, "Data/hadtestmenu" + std::to_string(language) + ".dat", CorpsMenuLines(ctx.assets, lang));
    }
    std::printf("alapszoveg1/2.dat: %d lines each; palyaszoveg11/21.dat: %d lines each; hadtestmenu1/2.dat: %d "
                "lines each\n",
                kBaseLines, kScenarioLines, 2 * vezer::kPermissionCount);
}

} // namespace mkdata
