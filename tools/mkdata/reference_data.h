#pragma once
// The reference data shared between the steps that compile it: the regiment types (their
// names go into the scenario text files).

#include <array>
#include <filesystem>
#include <string>
#include <vector>

namespace mkdata {

struct RegimentTypeRow {
    int Line = 0;
    std::string NameHu, NameEn;
    int Arm = 0, ArmClass = 0, FullStrength = 0;
    int BaseCombatValue = 0, BaseDefenceValue = 0, BaseObservation = 0, BaseVisibility = 0, BaseMovement = 0;
    int BaseMorale = 0, BaseExperience = 0, BaseReadiness = 0, BaseSupply = 0;
    int RecruitWeeks = 0, SideOnly = 0;
};
// assets/types/types.tsv, checked.
std::vector<RegimentTypeRow> ReadRegimentTypes(const std::filesystem::path& assets);

} // namespace mkdata
