#pragma once
// Hand-built battles: the builder's plain map with the movement costs of firm ground, and a
// way to choose what the next draws of the random table give.

#include "core/headless.h"
#include "support/state_builder.h"

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace vezer::testing {

struct BattleGame : BuiltGame {
    BattleGame();
    // Draws made since the cursor stood at `from` (the builder's step is 1).
    int DrawsSince(int from) const;
    // Every draw from here on gives 1 (R(n) of a table entry `fill` - 1 when fill > 1), except
    // the k-th (counted from 1), which gives v.
    void ScriptDraws(std::initializer_list<std::pair<int, int>> kthValues = {}, int fill = 1);
    // The report lines written so far, and the log lines of a side.
    std::vector<std::string> ReportLines() const {
        return t.screen.Texts(HeadlessPresentation::Kind::ReportLine);
    }
    std::vector<std::string> LogLines(int side) const;
    bool Reported(const std::string& text) const;
    bool Logged(int side, const std::string& piece) const;
};

} // namespace vezer::testing
