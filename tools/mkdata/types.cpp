// Data/EzredAlap1.dat (regiment types) and Data/Formacio1.dat (formations).

#include "reference_data.h"
#include "reference_sources.h"

#include "core/binary_io.h"
#include "core/data_set.h"
#include "files/scenario_files.h"

#include <cstdio>

namespace mkdata {

namespace {

constexpr int kTypeCount = vezer::kDataSetSizes.typeCount;
constexpr int kFormations = vezer::kDataSetSizes.formationCount;
constexpr int kLevyType = 6;
constexpr int kLevyMen = 5000; // what one uprising adds to the levy count at once

void CheckType(const RowReader& row, int type, const RegimentTypeRow& t) {
    if (t.Arm != vezer::ArmOfType(type))
        row.Fail("type " + std::to_string(type) + " must have arm " + std::to_string(vezer::ArmOfType(type)) +
                 " (1-4 cavalry, 5-10 infantry, 11-15 artillery)");
    int armClass = (t.Arm == 1 || type == 12) ? 1 : 0;
    if (t.ArmClass != armClass)
        row.Fail("arm_class must be 1 for cavalry and the horse battery (type 12), 0 otherwise");
    if (t.Arm == 3 && t.FullStrength != 8)
        row.Fail("an artillery type has 8 guns: captured guns and fortresses are cut into batteries of 8");
    if (type == kLevyType && t.FullStrength != kLevyMen)
        row.Fail("the levy is 5000 men strong: an uprising counts 5000 men at once and the weekly recount "
                 "must agree");
    if (type == kLevyType && t.RecruitWeeks < 90)
        row.Fail("the levy needs 90 or more weeks so that city recruitment never chooses it");
    if (t.RecruitWeeks < 2)
        row.Fail("weeks must be at least 2: a recruiting tour takes one week off and a type at 0 would never "
                 "be ready");
    for (int v : {t.BaseExperience, t.BaseReadiness, t.BaseSupply})
        if (v < 10 || v > 75)
            row.Fail("experience, readiness and supply must lie in 10..75: recruits draw the base -9..+10 "
                     "unclamped");
    if (t.Arm == 3)
        for (int v : {t.BaseMorale, t.BaseExperience, t.BaseReadiness, t.BaseSupply})
            if (v < 20 || v > 80)
                row.Fail("an artillery type keeps morale, experience, readiness and supply in 20..80: "
                         "captured guns draw "
                         "the base -19..+20");
}

} // namespace

std::vector<RegimentTypeRow> ReadRegimentTypes(const std::filesystem::path& assets) {
    SourceTable table = ReadTable(assets / "types" / "types.tsv");
    if (table.rows.size() != kTypeCount)
        throw SourceError(table.file, 0,
                          "expected exactly 15 types, found " + std::to_string(table.rows.size()));
    std::vector<RegimentTypeRow> types;
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
        RowReader row(table, i);
        int type = static_cast<int>(i) + 1;
        if (row.Int("type", 1, kTypeCount) != type) row.Fail("types must be listed as 1..15 in order");
        RegimentTypeRow t;
        t.Line = row.Line();
        t.NameHu = row.Text("name_hu");
        t.NameEn = row.Text("name_en");
        t.Arm = row.Int("arm", 1, 3);
        t.ArmClass = row.Int("arm_class", 0, 1);
        t.FullStrength = row.Int("full", 1, 10000);
        t.BaseCombatValue = row.Int("combat", 0, 100);
        t.BaseDefenceValue = row.Int("defence", 0, 100);
        t.BaseObservation = row.Int("observation", 1, 200);
        t.BaseVisibility = row.Int("visibility", 1, 200);
        t.BaseMovement = row.Int("movement", 1, 100);
        t.BaseMorale = row.Int("morale", 0, 100);
        t.BaseExperience = row.Int("experience", 0, 100);
        t.BaseReadiness = row.Int("readiness", 0, 100);
        t.BaseSupply = row.Int("supply", 0, 100);
        t.RecruitWeeks = row.Int("weeks", 0, 999);
        t.SideOnly = row.Int("side_only", 0, 2);
        CheckType(row, type, t);
        for (const auto& [name, what] : {std::pair{&t.NameHu, "name_hu"}, std::pair{&t.NameEn, "name_en"}}) {
            if (name->empty()) row.Fail(std::string(what) + " is empty");
            CheckGameText(table.file, row.Line(), *name, 20, what);
        }
        types.push_back(t);
    }
    return types;
}

void CompileTypes(const Context& ctx) {
    std::vector<RegimentTypeRow> types = ReadRegimentTypes(ctx.assets);
    vezer::TypeFile typeFile;
    for (std::size_t i = 0; i < types.size(); ++i) {
        const RegimentTypeRow& t = types[i];
        vezer::TEzredAlap& out = typeFile.types[i + 1];
        out.Arm = t.Arm;
        out.ArmClass = t.ArmClass;
        out.FullStrength = t.FullStrength;
        out.BaseCombatValue = t.BaseCombatValue;
        out.BaseDefenceValue = t.BaseDefenceValue;
        out.BaseObservation = t.BaseObservation;
        out.BaseVisibility = t.BaseVisibility;
        out.BaseMovement = t.BaseMovement;
        out.BaseMorale = t.BaseMorale;
        out.BaseExperience = t.BaseExperience;
        out.BaseReadiness = t.BaseReadiness;
        out.BaseSupply = t.BaseSupply;
        out.RecruitWeeks = t.RecruitWeeks;
        out.SideOnly = t.SideOnly;
    }
    const vezer::Bytes typeBytes = vezer::TypeFileBytes(typeFile);
    // What the game's reader refuses is never written.
    vezer::ParseTypeFile(typeBytes, "Data\\EzredAlap1.dat");
    WriteOutput(ctx, "Data/EzredAlap1.dat", typeBytes);
    std::printf("EzredAlap1.dat: %d types, check %d\n", kTypeCount, vezer::ValueAt(typeBytes, typeBytes.size() - 4, 4));

    SourceTable table = ReadTable(ctx.assets / "types" / "formations.tsv");
    if (table.rows.size() != kFormations)
        throw SourceError(table.file, 0,
                          "expected exactly 7 formations, found " + std::to_string(table.rows.size()));
    vezer::FormationFile formationFile;
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
        RowReader row(table, i);
        if (row.Int("formation", 1, kFormations) != static_cast<int>(i) + 1)
            row.Fail("formations must be listed as 1..7 in order");
        // Movement above 120 % would be cut to 12/10 of the base movement anyway; a percentage
        // of 0 would make a formation that cannot fight.
        vezer::TFormation& f = formationFile.formations[i + 1];
        f.ReadinessGain = row.Int("readiness_gain", 0, 100);
        f.MovementFactor = row.Int("movement", 1, 120);
        f.AttackPercent = row.Int("attack", 1, 1000);
        f.DefencePercent = row.Int("defence", 1, 1000);
    }
    const vezer::Bytes formationBytes = vezer::FormationFileBytes(formationFile);
    vezer::ParseFormationFile(formationBytes, "Data\\Formacio1.dat");
    WriteOutput(ctx, "Data/Formacio1.dat", formationBytes);
    std::printf("Formacio1.dat: %d formations, check %d\n", kFormations,
                vezer::ValueAt(formationBytes, formationBytes.size() - 4, 4));
}

} // namespace mkdata
