#include "campaign_source.h"
#include "map_sources.h"
#include "reference_data.h"

#include "core/binary_io.h"
#include "core/errors.h"
#include "core/headless.h"
#include "core/geometry.h"
#include "files/map_files.h"

#include <fstream>
#include <sstream>

namespace mkdata {

namespace {

// The source names of the fifteen regiment types, in type order.
constexpr std::array<const char*, 16> kTypeNames = {
    "",          "light-horse",   "volunteer-horse", "heavy-horse",   "hussars",
    "jager",     "levy",          "national-guard",  "grenzer",       "line",
    "honved",    "foot-battery",  "horse-battery",   "siege-battery", "fortress-battery",
    "heavy-battery"};

// One source line cut into words, with its number, for error messages.
class Words {
public:
    Words(const std::filesystem::path& file, int line, std::vector<std::string> words)
        : file_(file), line_(line), words_(std::move(words)) {}

    bool Done() const { return pos_ >= words_.size(); }
    const std::string& Peek() const { return words_[pos_]; }
    std::string Next(const char* what) {
        if (Done()) Fail(std::string("missing ") + what);
        return words_[pos_++];
    }
    int Int(const char* what) { return ToInt(Next(what), what); }
    int ToInt(const std::string& text, const char* what) const {
        try {
            std::size_t used = 0;
            int v = std::stoi(text, &used);
            if (used == text.size()) return v;
        } catch (const std::exception&) {
        }
        Fail(std::string(what) + " is not a whole number: " + text);
    }
    // "X,Y" as a hex.
    void Hex(int& x, int& y) {
        std::string text = Next("hex column,row");
        auto comma = text.find(',');
        if (comma == std::string::npos) Fail("a hex is written column,row: " + text);
        x = ToInt(text.substr(0, comma), "hex column");
        y = ToInt(text.substr(comma + 1), "hex row");
    }
    SourceDate Date() {
        std::string text = Next("date year-month-week");
        SourceDate d;
        char a = 0, b = 0;
        std::istringstream in(text);
        if (!(in >> d.year >> a >> d.month >> b >> d.week) || a != '-' || b != '-' || !in.eof())
            Fail("a date is written year-month-week: " + text);
        if (d.month < 1 || d.month > 12 || d.week < 1 || d.week > 4)
            Fail("month 1..12 and week 1..4: " + text);
        return d;
    }
    int Type() {
        std::string word = Next("regiment type");
        int t = TypeFromName(word);
        if (t == 0) Fail("unknown regiment type '" + word + "'");
        return t;
    }
    [[noreturn]] void Fail(const std::string& what) const { throw SourceError(file_, line_, what); }
    int line() const { return line_; }

private:
    const std::filesystem::path& file_;
    int line_;
    std::vector<std::string> words_;
    std::size_t pos_ = 0;
};

// Calls `perLine` for every line with words, comments ('#' to the end) removed.
template <typename F> void ForEachLine(const std::filesystem::path& file, F perLine) {
    std::ifstream in(file);
    if (!in) throw SourceError(file, 0, "cannot open");
    std::string text;
    int number = 0;
    while (std::getline(in, text)) {
        ++number;
        if (auto hash = text.find('#'); hash != std::string::npos) text.erase(hash);
        std::istringstream split(text);
        std::vector<std::string> words;
        for (std::string w; split >> w;) words.push_back(w);
        if (words.empty()) continue;
        Words line(file, number, std::move(words));
        perLine(line);
    }
}

bool StartsWithDigit(const std::string& w) { return !w.empty() && w[0] >= '0' && w[0] <= '9'; }

// The key-value words after "corps" or "garrison".
void ReadCorpsHeader(Words& w, CorpsSource& c) {
    while (!w.Done()) {
        std::string key = w.Next("key");
        if (key == "general") c.general = w.Int("general");
        else if (key == "hex") w.Hex(c.x, c.y);
        else if (key == "city") c.city = w.Int("city");
        else if (key == "formation") c.formation = w.Int("formation");
        else if (key == "tactic") c.tactic = w.Int("tactic");
        else if (key == "facing") c.direction = w.Int("facing");
        else if (key == "nation") c.nation = w.Int("nation");
        else if (key == "task") c.task = w.Int("task");
        else if (key == "role") c.role = w.Int("role");
        else if (key == "objective") w.Hex(c.objectiveX, c.objectiveY);
        else w.Fail("unknown corps key '" + key + "'");
    }
    if (c.general == 0) w.Fail("a corps needs its general");
    if (c.garrison && c.city == 0) w.Fail("a garrison names its fortress: city N");
    if (c.garrison && c.x >= 0) w.Fail("a garrison stands in its fortress: give the city, not a hex");
    if (!c.garrison && (c.city == 0) == (c.x < 0)) w.Fail("a corps stands either on a city (city N) or on a hex (hex X,Y)");
}

} // namespace

SourceDate CampaignStartDate(int campaign) {
    const vezer::Date d = vezer::CampaignCalendar(campaign).start;
    return {d.year, d.month, d.week};
}

SourceDate CampaignEndDate(int campaign) {
    const vezer::Date d = vezer::CampaignCalendar(campaign).end;
    return {d.year, d.month, d.week};
}

bool InTransylvania(int city) { return city == 1 || (city >= 60 && city <= 75); }

int TypeFromName(const std::string& word) {
    for (int t = 1; t < static_cast<int>(kTypeNames.size()); ++t)
        if (word == kTypeNames[static_cast<std::size_t>(t)] || word == std::to_string(t)) return t;
    return 0;
}

const char* TypeName(int type) {
    if (type < 1 || type >= static_cast<int>(kTypeNames.size())) return "?";
    return kTypeNames[static_cast<std::size_t>(type)];
}

std::filesystem::path CampaignSourcePath(const std::filesystem::path& assets, int campaign) {
    return assets / "campaigns" / ("c" + std::to_string(campaign) + ".txt");
}

std::filesystem::path ReinforcementSourcePath(const std::filesystem::path& assets) {
    return assets / "campaigns" / "reinforcements.txt";
}

CampaignSource ReadCampaignSource(const std::filesystem::path& file) {
    CampaignSource src;
    src.file = file;
    int side = 0;
    CorpsSource* open = nullptr;
    ForEachLine(file, [&](Words& w) {
        std::string key = w.Next("keyword");
        if (StartsWithDigit(key)) {
            if (open == nullptr) w.Fail("regiments must follow a corps or garrison line");
            UnitLine u;
            u.line = w.line();
            u.count = w.ToInt(key, "count");
            u.type = w.Type();
            u.men = w.Int("men");
            u.experience = w.Int("experience");
            u.morale = w.Int("morale");
            u.readiness = w.Int("readiness");
            u.supply = w.Int("supply");
            while (!w.Done()) {
                std::string k = w.Next("key");
                if (k == "nation") u.nation = w.Int("nation");
                else w.Fail("unknown regiment key '" + k + "'");
            }
            if (u.count < 1) w.Fail("count must be at least 1");
            open->units.push_back(u);
            return;
        }
        open = nullptr;
        if (key == "campaign") {
            src.campaign = w.Int("campaign");
            src.campaignLine = w.line();
        } else if (key == "date") {
            src.date = w.Date();
            src.dateLine = w.line();
        } else if (key == "zeal") {
            src.zeal[1] = w.Int("zeal of side 1");
            src.zeal[2] = w.Int("zeal of side 2");
            src.zealLine = w.line();
        } else if (key == "options") {
            while (!w.Done()) {
                std::string k = w.Next("option");
                if (k == "fog") src.fog = w.Int("fog");
                else if (k == "russian") src.russian = w.Int("russian");
                else if (k == "polish") src.polish = w.Int("polish");
                else if (k == "difficulty") src.difficulty = w.Int("difficulty");
                else w.Fail("unknown option '" + k + "'");
            }
        } else if (key == "city") {
            CitySource c;
            c.line = w.line();
            c.city = w.Int("city");
            while (!w.Done()) {
                std::string k = w.Next("key");
                if (k == "owner") c.owner = w.Int("owner");
                else if (k == "fort") c.fortStrength = w.Int("fort");
                else w.Fail("unknown city key '" + k + "'");
            }
            src.cities.push_back(c);
        } else if (key == "forces") {
            // Another campaign's cities and corps, taken whole: the whole war opens as autumn 1848.
            if (!src.corps.empty() || !src.cities.empty()) w.Fail("'forces' replaces all cities and corps of this file");
            CampaignSource other = ReadCampaignSource(file.parent_path() / w.Next("file"));
            src.cities = other.cities;
            src.away = other.away;
            src.corps = other.corps;
            src.forcesFile = other.file;
        } else if (key == "away") {
            AwaySource a;
            a.line = w.line();
            if (w.Next("'side'") != "side") w.Fail("away side S generals G,G,...");
            a.side = w.Int("side");
            if (w.Next("'generals'") != "generals") w.Fail("away side S generals G,G,...");
            std::istringstream in(w.Next("general list"));
            for (std::string n; std::getline(in, n, ',');) a.generals.push_back(w.ToInt(n, "general"));
            src.away.push_back(a);
        } else if (key == "side") {
            side = w.Int("side");
            if (side != 1 && side != 2) w.Fail("side is 1 or 2");
        } else if (key == "corps" || key == "garrison") {
            if (!src.forcesFile.empty()) w.Fail("this file takes its corps from " + src.forcesFile.filename().string());
            if (side == 0) w.Fail("a corps comes after its 'side' line");
            CorpsSource c;
            c.line = w.line();
            c.side = side;
            c.garrison = key == "garrison";
            ReadCorpsHeader(w, c);
            src.corps.push_back(c);
            open = &src.corps.back();
        } else {
            w.Fail("unknown keyword '" + key + "'");
        }
    });
    if (src.campaign < 0) throw SourceError(file, 0, "missing 'campaign' line");
    if (src.dateLine == 0) throw SourceError(file, 0, "missing 'date' line");
    if (src.zealLine == 0) throw SourceError(file, 0, "missing 'zeal' line");
    return src;
}

TypeTable ReadTypeTable(const Context& ctx) {
    TypeTable t;
    const std::vector<RegimentTypeRow> rows = ReadRegimentTypes(ctx.assets);
    for (std::size_t type = 1; type <= rows.size() && type < t.arm.size(); ++type) {
        const RegimentTypeRow& row = rows[type - 1];
        t.arm[type] = row.Arm;
        t.fullStrength[type] = row.FullStrength;
        t.sideOnly[type] = row.SideOnly;
        t.recruitWeeks[type] = row.RecruitWeeks;
    }
    return t;
}

struct CompiledMap::Parts {
    vezer::HeadlessPresentation screen;
    vezer::NoTransport link;
    std::unique_ptr<vezer::Game> game;
    mapsrc::MapFiles files;
    std::vector<std::string> cityNames;
};

CompiledMap::CompiledMap(const Context& ctx) : parts_(std::make_unique<Parts>()) {
    parts_->files = mapsrc::CompileMapFiles(ctx.assets);
    for (const mapsrc::CitySource& c : parts_->files.src.cities) parts_->cityNames.push_back(c.name);
    parts_->game = vezer::MakeGame(parts_->screen, parts_->link, vezer::GameDir(ctx.out));
    const auto& size = vezer::kDataSetSizes;
    vezer::PutTerrain(parts_->game->state,
                      vezer::ParseTerrainFile(parts_->files.terrain, vezer::TerrainFileName(1), size.mapMaxX, size.mapMaxY));
}

CompiledMap::~CompiledMap() = default;

void CompiledMap::UseCampaign(int campaign) {
    vezer::State& st = parts_->game->state;
    const std::string name = vezer::CityFileName(1, campaign);
    vezer::PutCities(st, vezer::ParseCityFile(parts_->files.cities.at(static_cast<std::size_t>(campaign)), name, st),
                     parts_->cityNames, name, vezer::CityNameFileName(1));
}

int CompiledMap::Terrain(int x, int y) const { return parts_->game->state.Cell(x, y).Terrain; }

const vezer::TVaros& CompiledMap::City(int city) const {
    return parts_->game->state.Cities[static_cast<std::size_t>(city)];
}

int CompiledMap::CityAt(int x, int y) const { return parts_->game->state.Cell(x, y).City; }

int CompiledMap::NearestCity(int x, int y) const {
    vezer::Pixel at = vezer::HexToPixel({x, y});
    int best = 0;
    long long bestDistance = 0;
    for (int c = 1; c <= vezer::kCityCount; ++c) {
        vezer::Pixel p = vezer::HexToPixel({City(c).X, City(c).Y});
        long long dx = p.X - at.X, dy = p.Y - at.Y, d = dx * dx + dy * dy;
        if (best == 0 || d < bestDistance) best = c, bestDistance = d;
    }
    return best;
}

vezer::Game& CompiledMap::game() { return *parts_->game; }

ReinforcementSchedule ReadReinforcementSchedule(const std::filesystem::path& file) {
    ReinforcementSchedule sched;
    sched.file = file;
    ReinforcementSource* open = nullptr;
    ForEachLine(file, [&](Words& w) {
        std::string key = w.Next("keyword");
        if (StartsWithDigit(key)) {
            if (open == nullptr) w.Fail("units must follow a record line");
            int count = w.ToInt(key, "count");
            ReinforcementUnit u;
            u.line = w.line();
            u.type = w.Type();
            u.fill = w.Int("fill");
            if (!w.Done()) {
                std::string v = w.Next("veteran");
                if (v != "veteran") w.Fail("after the fill only 'veteran' may follow, not '" + v + "'");
                u.type += 20;
            }
            if (count < 1) w.Fail("count must be at least 1");
            for (int i = 0; i < count; ++i) open->units.push_back(u);
            return;
        }
        if (key != "record") w.Fail("unknown keyword '" + key + "'");
        ReinforcementSource r;
        r.line = w.line();
        r.number = w.Int("record number");
        bool dated = false, sided = false, placed = false, listed = false;
        while (!w.Done()) {
            std::string k = w.Next("key");
            if (k == "date") r.date = w.Date(), dated = true;
            else if (k == "side") r.side = w.Int("side"), sided = true;
            else if (k == "nation") r.nation = w.Int("nation");
            else if (k == "limited") r.limited = w.Int("limited");
            else if (k == "hex") w.Hex(r.x, r.y), placed = true;
            else if (k == "general") r.general = w.Int("general");
            else if (k == "formation") r.formation = w.Int("formation");
            else if (k == "campaigns") {
                std::string list = w.Next("campaign list");
                listed = true;
                if (list == "none") continue;
                std::istringstream in(list);
                for (std::string n; std::getline(in, n, ',');) r.campaigns.insert(w.ToInt(n, "campaign"));
            } else w.Fail("unknown record key '" + k + "'");
        }
        if (!dated || !sided || !placed || !listed || r.nation == 0)
            w.Fail("a record needs its date, side, nation, hex and campaigns");
        sched.records.push_back(r);
        open = &sched.records.back();
    });
    return sched;
}

} // namespace mkdata
