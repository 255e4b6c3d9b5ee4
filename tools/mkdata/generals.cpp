// Data/Hadvez1.dat and Data/Tab_nevek1.dat (the two rosters of commanders) and the name pools
// Data/knev1..3.dat, Data/vnev1..3.dat for generals created in play.

#include "campaign_source.h"
#include "reference_data.h"
#include "reference_sources.h"

#include "core/binary_io.h"
#include "core/data_set.h"
#include "files/scenario_files.h"

#include <algorithm>
#include <cstdio>
#include <set>

namespace mkdata {

namespace {

constexpr std::size_t kNameChars = 15;
constexpr int kPoolSize = 25;

struct GeneralRow {
    int Index = 0, Attack = 0, Defence = 0, Initiative = 0, Nation = 0, Ability = 0;
    std::string Family, Given;
};

// Nations a roster general may have: their name classes give names and generic portraits.
bool NationFitsSide(int side, int nation) {
    if (side == 1) return nation == 1 || nation == 9;
    return nation == 2 || nation == 3 || nation == 4 || nation == 5 || nation == 6 || nation == 8;
}

std::vector<GeneralRow> ReadRoster(const std::filesystem::path& assets, int side) {
    SourceTable table = ReadTable(assets / "generals" / ("side" + std::to_string(side) + ".tsv"));
    int count = vezer::kDataSetSizes.generals[static_cast<std::size_t>(side)];
    if (static_cast<int>(table.rows.size()) != count)
        throw SourceError(table.file, 0,
                          "side " + std::to_string(side) + " has exactly " + std::to_string(count) +
                              " generals, found " + std::to_string(table.rows.size()));
    std::vector<GeneralRow> roster;
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
        RowReader row(table, i);
        GeneralRow g;
        g.Index = row.Int("index", 1, count);
        if (g.Index != static_cast<int>(i) + 1)
            row.Fail("general " + std::to_string(g.Index) + " out of order: the roster lists 1.." +
                     std::to_string(count) + " each once");
        g.Family = row.Text("family");
        g.Given = row.Text("given");
        for (const auto& [name, what] : {std::pair{&g.Family, "family"}, std::pair{&g.Given, "given"}}) {
            if (name->empty()) row.Fail(std::string(what) + " name is empty");
            CheckGameText(table.file, row.Line(), *name, kNameChars, std::string(what) + " name");
        }
        g.Attack = row.Int("attack", 1, 10);
        // A defence of 0 is never picked for a defensive command and reads as no general.
        g.Defence = row.Int("defence", 1, 10);
        g.Initiative = row.Int("initiative", 1, 10);
        g.Nation = row.Int("nation", 1, 11);
        if (!NationFitsSide(side, g.Nation))
            row.Fail("nation " + std::to_string(g.Nation) + " cannot lead side " + std::to_string(side) +
                     (side == 1 ? " (1 or 9)" : " (2, 3, 4, 5, 6 or 8)"));
        g.Ability = row.Int("ability", 0, 9);
        std::string transylvania = row.Text("transylvania");
        if (transylvania != "stays" && transylvania != "leaves")
            row.Fail("transylvania must be 'stays' or 'leaves' (the Transylvanian campaign)");
        if ((transylvania == "leaves") != vezer::AwayFromTransylvania(side, g.Index))
            row.Fail("general " + std::to_string(g.Index) + " is marked '" + transylvania +
                     "' but the Transylvanian campaign " +
                     (transylvania == "leaves" ? "keeps him" : "takes him away"));
        roster.push_back(g);
    }
    return roster;
}

} // namespace

RosterNations ReadRosterNations(const Context& ctx) {
    RosterNations nations{};
    for (int side = 1; side <= 2; ++side)
        for (const GeneralRow& g : ReadRoster(ctx.assets, side))
            nations[static_cast<std::size_t>(side)][static_cast<std::size_t>(g.Index)] = g.Nation;
    return nations;
}

void CompileGenerals(const Context& ctx) {
    std::array<std::vector<GeneralRow>, 3> rosters = {
        {{}, ReadRoster(ctx.assets, 1), ReadRoster(ctx.assets, 2)}};
    vezer::RosterFile file;
    file.count = vezer::kDataSetSizes.generals;
    std::vector<std::string> names;
    for (int side = 1; side <= 2; ++side) {
        for (const GeneralRow& g : rosters[static_cast<std::size_t>(side)]) {
            file.records.push_back({side, g.Index, g.Attack, g.Defence, g.Initiative, g.Nation, g.Ability});
            names.push_back(g.Family);
            names.push_back(g.Given);
        }
    }
    const vezer::Bytes bytes = vezer::RosterFileBytes(file);
    // What the game's reader refuses is never written.
    vezer::ParseRosterFile(bytes, "Data\\Hadvez1.dat");
    WriteOutput(ctx, "Data/Hadvez1.dat", bytes);
    WriteTextOutput(ctx, "Data/Tab_nevek1.dat", names);
    std::printf("Hadvez1.dat: %d + %d generals, check %d; Tab_nevek1.dat: %zu names\n", file.count[1], file.count[2],
                bytes.back(), names.size());
}

void CompileNamePools(const Context& ctx) {
    SourceTable table = ReadTable(ctx.assets / "names" / "pools.tsv");
    if (table.rows.size() != kPoolSize)
        throw SourceError(table.file, 0,
                          "each pool holds exactly 25 names, found " + std::to_string(table.rows.size()));
    for (int pool = 1; pool <= 3; ++pool) {
        for (const char* kind : {"given", "family"}) {
            std::string column = kind + std::to_string(pool);
            std::vector<std::string> names;
            std::set<std::string> seen;
            for (std::size_t i = 0; i < table.rows.size(); ++i) {
                RowReader row(table, i);
                std::string name = row.Text(column);
                if (name.empty()) row.Fail(column + " is empty");
                CheckGameText(table.file, row.Line(), name, kNameChars, column);
                if (!seen.insert(name).second) row.Fail(column + " '" + name + "' is already in this pool");
                names.push_back(name);
            }
            std::string file = std::string(kind == std::string("given") ? "Data/knev" : "Data/vnev") +
                               std::to_string(pool) + ".dat";
            WriteTextOutput(ctx, file, names);
        }
    }
    std::printf("knev1..3.dat, vnev1..3.dat: 6 pools of %d names\n", kPoolSize);
}

} // namespace mkdata
