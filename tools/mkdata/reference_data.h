#pragma once
// The reference data shared between the steps that compile it: the regiment types (their
// names go into the scenario text files) and the indices the rules fix.

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

// The roster sizes the set-up fixes.
inline constexpr std::array<int, 3> kRosterSize = {0, 42, 60};

// The generals the Transylvanian campaign takes away, at its start and on every load.
inline constexpr std::array kTransylvaniaUnavailable1 = {1,  4,  5,  6,  12, 13, 16, 17, 18, 19,
                                                         20, 25, 27, 30, 33, 34, 35, 39, 42};
inline constexpr std::array kTransylvaniaUnavailable2 = {1,  2,  4,  5,  6,  7,  8,  10, 11, 12, 15, 16,
                                                         18, 20, 22, 23, 26, 30, 31, 35, 37, 38, 39, 40,
                                                         42, 43, 45, 46, 47, 49, 50, 51, 54, 55, 57, 58};

} // namespace mkdata
