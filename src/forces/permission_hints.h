#pragma once
// The corps menu's items and the hints that tell the player what each permission flag asks
// for: read from "Data\\hadtestmenu<language>.dat", two lines (item, hint) per flag in the
// order of Permission.

#include "core/paths.h"
#include "core/state.h"

#include <array>
#include <string>

namespace vezer {

enum class Permission {
    CanAttack,
    CanBombard,
    CanStorm,
    CanFormNewCorps,
    CanTransferRegiments,
    MayChangeFormation,
    CanChangeTactic,
    CanChangeGeneral,
    CanEntrench,
    CanRepairFort,
    SiegeGunsAtEnemyFort,
};
inline constexpr int kPermissionCount = 11;
// The flags' names as the source table of the texts spells them, in the order above.
inline constexpr std::array<const char*, kPermissionCount> kPermissionNames = {
    "CanAttack",       "CanBombard",       "CanStorm",    "CanFormNewCorps", "CanTransferRegiments",
    "MayChangeFormation", "CanChangeTactic", "CanChangeGeneral", "CanEntrench", "CanRepairFort",
    "SiegeGunsAtEnemyFort"};

struct PermissionHint {
    std::string item;  // the menu item's caption
    std::string hint;  // what the player reads when pointing at it
};
using PermissionHints = std::array<PermissionHint, kPermissionCount>;

std::string PermissionHintFileName(int language);
// Reads the file of a language (1 Hungarian, 2 English). A missing file is a FileIoError, one
// with another number of lines or an empty hint a DataError.
PermissionHints LoadPermissionHints(const GameDir& dir, int language);

// Whether the corps' flag allows the action (the menu enables the item by it).
bool Permitted(const THad& corps, Permission p);

} // namespace vezer
