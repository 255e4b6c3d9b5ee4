#include "core/state.h"

namespace vezer {

const THex& State::OffMapCell() {
    static const THex cell = [] {
        THex h;
        h.Terrain = kTerrainImpassable;
        return h;
    }();
    return cell;
}

} // namespace vezer
