#include "ui/script.h"

#include <charconv>
#include <sstream>

namespace vezer::ui {

namespace {

using Kind = ScriptCommand::Kind;

struct Verb {
    const char* name;
    Kind kind;
    int numbers; // how many integers follow; -1 one word of text, -2 the rest of the line
};

constexpr Verb kVerbs[] = {
    {"click", Kind::Click, 2},
    {"right-click", Kind::RightClick, 2},
    {"ctrl-right-click", Kind::CtrlRightClick, 2},
    {"move", Kind::Move, 2},
    {"click-hex", Kind::ClickHex, 2},
    {"right-click-hex", Kind::RightClickHex, 2},
    {"ctrl-right-click-hex", Kind::CtrlRightClickHex, 2},
    {"move-hex", Kind::MoveHex, 2},
    {"key", Kind::Key, -1},
    {"type", Kind::Type, -2},
    {"wait", Kind::Wait, 1},
    {"wait-idle", Kind::WaitIdle, 0},
    {"shot", Kind::Shot, -1},
    {"save", Kind::Save, -1},
    {"quit", Kind::Quit, 0},
};

bool ParseInt(std::string_view word, int& out) {
    if (word.empty()) return false;
    auto [p, ec] = std::from_chars(word.data(), word.data() + word.size(), out);
    return ec == std::errc() && p == word.data() + word.size();
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

std::vector<std::string_view> Words(std::string_view s) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
        std::size_t j = i;
        while (j < s.size() && s[j] != ' ' && s[j] != '\t') ++j;
        if (j > i) out.push_back(s.substr(i, j - i));
        i = j;
    }
    return out;
}

bool PlainName(const std::string& s) {
    for (char ch : s) {
        const bool ok = (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') ||
                        ch == '-' || ch == '_';
        if (!ok) return false;
    }
    return !s.empty();
}

} // namespace

ScriptParse ParseScript(std::string_view source) {
    ScriptParse result;
    int lineNo = 0;
    std::size_t pos = 0;
    while (pos <= source.size()) {
        std::size_t end = source.find('\n', pos);
        if (end == std::string_view::npos) end = source.size();
        std::string_view line = source.substr(pos, end - pos);
        pos = end + 1;
        ++lineNo;
        // A comment starts at '#', except inside the text of `type`.
        std::string_view body = Trim(line);
        if (body.empty() || body.front() == '#') {
            if (end == source.size()) break;
            continue;
        }
        std::vector<std::string_view> words = Words(body);
        const Verb* verb = nullptr;
        for (const Verb& v : kVerbs)
            if (words[0] == v.name) verb = &v;
        auto fail = [&](const std::string& why) {
            result.error = "line " + std::to_string(lineNo) + ": " + why;
            result.commands.clear();
        };
        if (verb == nullptr) {
            fail("unknown command '" + std::string(words[0]) + "'");
            return result;
        }
        ScriptCommand c;
        c.kind = verb->kind;
        c.line = lineNo;
        if (verb->numbers == -2) {
            std::string_view rest = Trim(body.substr(words[0].size()));
            if (rest.empty()) {
                fail(std::string(verb->name) + " needs a text");
                return result;
            }
            c.text = std::string(rest);
        } else if (verb->numbers == -1) {
            if (words.size() != 2) {
                fail(std::string(verb->name) + " needs one name");
                return result;
            }
            c.text = std::string(words[1]);
            if (c.kind == Kind::Shot && !PlainName(c.text)) {
                fail("a shot name is letters, digits, '-' and '_'");
                return result;
            }
        } else {
            if (static_cast<int>(words.size()) != verb->numbers + 1) {
                fail(std::string(verb->name) + " needs " + std::to_string(verb->numbers) + " numbers");
                return result;
            }
            int values[2] = {0, 0};
            for (int i = 0; i < verb->numbers; ++i) {
                if (!ParseInt(words[static_cast<std::size_t>(i) + 1], values[i])) {
                    fail("'" + std::string(words[static_cast<std::size_t>(i) + 1]) + "' is not a number");
                    return result;
                }
            }
            c.a = values[0];
            c.b = values[1];
            if (c.kind == Kind::Wait && (c.a < 0 || c.a > 100000)) {
                fail("wait takes 0..100000 frames");
                return result;
            }
        }
        result.commands.push_back(std::move(c));
        if (end == source.size()) break;
    }
    return result;
}

} // namespace vezer::ui
