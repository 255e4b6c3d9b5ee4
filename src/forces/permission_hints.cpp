#include "forces/permission_hints.h"

#include "core/errors.h"
#include "core/textfile.h"

namespace vezer {

std::string PermissionHintFileName(int language) { return "Data\\hadtestmenu" + std::to_string(language) + ".dat"; }

PermissionHints LoadPermissionHints(const GameDir& dir, int language) {
    const std::string name = PermissionHintFileName(language);
    const std::vector<std::string> lines = ReadTextLines(dir, name);
    if (lines.size() != 2 * static_cast<std::size_t>(kPermissionCount))
        throw DataError(name, std::to_string(lines.size()) + " lines, expected " + std::to_string(2 * kPermissionCount));
    PermissionHints hints;
    for (std::size_t i = 0; i < hints.size(); ++i) {
        hints[i] = PermissionHint{lines[2 * i], lines[2 * i + 1]};
        if (hints[i].item.empty() || hints[i].hint.empty())
            throw DataError(name, std::string("no item or hint for ") + kPermissionNames[i]);
    }
    return hints;
}

bool Permitted(const THad& h, Permission p) {
    switch (p) {
    case Permission::CanAttack: return h.CanAttack != 0;
    case Permission::CanBombard: return h.CanBombard != 0;
    case Permission::CanStorm: return h.CanStorm != 0;
    case Permission::CanFormNewCorps: return h.CanFormNewCorps != 0;
    case Permission::CanTransferRegiments: return h.CanTransferRegiments != 0;
    case Permission::MayChangeFormation: return h.MayChangeFormation != 0;
    case Permission::CanChangeTactic: return h.CanChangeTactic != 0;
    case Permission::CanChangeGeneral: return h.CanChangeGeneral != 0;
    case Permission::CanEntrench: return h.CanEntrench != 0;
    case Permission::CanRepairFort: return h.CanRepairFort != 0;
    case Permission::SiegeGunsAtEnemyFort: return h.SiegeGunsAtEnemyFort != 0;
    }
    return false;
}

} // namespace vezer
