#pragma once
// The input script of the test harness (`vezer --script FILE --shots DIR`): one command a
// line, `#` starts a comment. Coordinates of click/right-click/move are window pixels; the
// -hex forms aim at a hex's centre wherever the view is.

#include <string>
#include <string_view>
#include <vector>

namespace vezer::ui {

struct ScriptCommand {
    enum class Kind {
        Click,
        RightClick,
        CtrlRightClick,
        Move,
        ClickHex,
        RightClickHex,
        CtrlRightClickHex,
        MoveHex,
        Key,
        Type,
        Wait,
        WaitIdle,
        Shot,
        Save,
        Quit,
    };
    Kind kind = Kind::Quit;
    int a = 0, b = 0;
    std::string text; // key name, typed text, shot name or save file
    int line = 0;     // 1-based line of the script
};

struct ScriptParse {
    std::vector<ScriptCommand> commands;
    std::string error; // "line N: ..." when the script is malformed
};

ScriptParse ParseScript(std::string_view source);

} // namespace vezer::ui
