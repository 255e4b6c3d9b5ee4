#include "battle/battle_fixture.h"

#include "map/queries.h"

#include <algorithm>

namespace vezer::testing {

BattleGame::BattleGame() {
    State& s = st();
    s.TerrainCostBase = kTerrainCostBase;
    s.GroundState = 1;
    RecomputeMoveCosts(s);
    s.Battle.BattleMode = 1;
    s.BattleVictoryValue = 500;
    s.EngagementVictoryValue = 200;
}

int BattleGame::DrawsSince(int from) const {
    return (t.game->state.RandPos - from + kRandTableSize) % kRandTableSize;
}

void BattleGame::ScriptDraws(std::initializer_list<std::pair<int, int>> kthValues, int fill) {
    State& s = st();
    for (int i = 1; i <= kRandTableSize; ++i) s.RandTable[static_cast<std::size_t>(i)] = fill - 1;
    for (auto [k, v] : kthValues) {
        int pos = (s.RandPos - 1 + k * s.RandStep) % kRandTableSize + 1;
        s.RandTable[static_cast<std::size_t>(pos)] = v - 1;
    }
}

std::vector<std::string> BattleGame::LogLines(int side) const {
    std::vector<std::string> lines;
    const EventLog& log = t.game->state.Logs[side];
    for (int i = 0; i < log.Count; ++i) lines.push_back(log.Entries[static_cast<std::size_t>(i)].Text.str());
    return lines;
}

bool BattleGame::Reported(const std::string& text) const {
    const auto lines = ReportLines();
    return std::find(lines.begin(), lines.end(), text) != lines.end();
}

bool BattleGame::Logged(int side, const std::string& piece) const {
    for (const std::string& line : LogLines(side))
        if (line.find(piece) != std::string::npos) return true;
    return false;
}

} // namespace vezer::testing
