#include "core/log.h"

namespace vezer {

namespace {

EventLog& LogOf(State& st, int side) { return st.Logs[side == 2 ? 2 : 1]; }

void Append(EventLog& log, const TLogEntry& entry) {
    // The room is 51 while a log never keeps more than 49 after an addition: one append
    // at most reaches 50 before the oldest entry goes.
    if (log.Count >= kLogRoom) {
        for (int i = 1; i < log.Count; ++i) log.Entries[static_cast<std::size_t>(i - 1)] = log.Entries[static_cast<std::size_t>(i)];
        --log.Count;
    }
    log.Entries[static_cast<std::size_t>(log.Count++)] = entry;
}

void DropOldest(EventLog& log) {
    for (int i = 1; i < log.Count; ++i) log.Entries[static_cast<std::size_t>(i - 1)] = log.Entries[static_cast<std::size_t>(i)];
    --log.Count;
}

} // namespace

void ResetEventLogs(State& st) {
    for (int side = 1; side <= 2; ++side) {
        st.Logs[side] = EventLog{};
        st.TickerPos[side] = -1;
    }
    for (auto& line : st.TickerLine) line = ShortText<120>();
}

void AddLogEntry(Game& game, int side, int hidden, int kind, std::string_view text, int colour) {
    State& st = game.state;
    side = side == 2 ? 2 : 1;
    TLogEntry entry;
    entry.Side = side;
    entry.FogOfWarAtEntry = st.FogOfWar;
    entry.Kind = kind;
    entry.Text = text;  // cut to 120 characters
    entry.Colour = colour;
    Append(LogOf(st, side), entry);
    st.TickerPos[side] += 1;
    if (hidden == 0 || st.FogOfWar == 0) {
        Append(LogOf(st, 3 - side), entry);
        st.TickerPos[3 - side] += 1;
    }
    for (int s = 1; s <= 2; ++s) {
        if (st.Logs[s].Count > kLogLimit) {
            DropOldest(st.Logs[s]);
            st.TickerPos[s] -= 1;
        }
    }
    RefreshTicker(game);
}

void RefreshTicker(Game& game) {
    State& st = game.state;
    int side = st.LocalSide == 2 ? 2 : 1;
    const EventLog& log = st.Logs[side];
    for (int i = 1; i <= kTickerLines; ++i) {
        int k = st.TickerPos[side] - i + 1;
        if (k >= 0 && k < log.Count) {
            st.TickerLine[static_cast<std::size_t>(i)] = log.Entries[static_cast<std::size_t>(k)].Text;
            st.TickerColour[static_cast<std::size_t>(i)] = log.Entries[static_cast<std::size_t>(k)].Colour;
        } else {
            st.TickerLine[static_cast<std::size_t>(i)] = ShortText<120>();
        }
    }
    game.screen.TickerChanged();
}

void ScrollTickerNewer(Game& game) {
    State& st = game.state;
    int side = st.LocalSide == 2 ? 2 : 1;
    if (st.TickerPos[side] < st.Logs[side].Count - 1) {
        st.TickerPos[side] += 1;
        RefreshTicker(game);
    }
}

void ScrollTickerOlder(Game& game) {
    State& st = game.state;
    int side = st.LocalSide == 2 ? 2 : 1;
    if (st.TickerPos[side] >= kTickerLines) {
        st.TickerPos[side] -= 1;
        RefreshTicker(game);
    }
}

void FillTickerWithNewest(Game& game) {
    State& st = game.state;
    int side = st.LocalSide == 2 ? 2 : 1;
    const EventLog& log = st.Logs[side];
    for (int i = 1; i <= kTickerLines; ++i) {
        int k = log.Count - i;
        st.TickerLine[static_cast<std::size_t>(i)] =
            k >= 0 ? log.Entries[static_cast<std::size_t>(k)].Text : ShortText<120>();
    }
    game.screen.TickerChanged();
}

void FeedTutorialText(Game& game) {
    TextTables& tx = game.state.Texts;
    if (tx.TutorialCursor >= tx.TutorialLineCount) return;
    tx.TutorialCursor += 1;  // passes over the separator the previous block stopped at
    while (tx.TutorialCursor <= tx.TutorialLineCount &&
           tx.TutorialLines[static_cast<std::size_t>(tx.TutorialCursor)].view() != "xxx") {
        AddLogEntry(game, 1, 0, kLogKindRules, tx.TutorialLines[static_cast<std::size_t>(tx.TutorialCursor)].view(),
                    kColourTutorial);
        if (tx.TutorialCursor == tx.TutorialLineCount) break;
        tx.TutorialCursor += 1;
    }
}

void ShowMessageIfLocal(Game& game, std::string_view text) {
    if (game.state.ActiveSide != game.state.LocalSide) return;
    game.screen.ShowMessage(text);
}

void ShowMessageBox(Game& game, std::string_view text) { game.screen.ShowMessage(text); }

std::string AskPassword(Game& game) {
    std::string answer;
    // The password dialog cannot be closed with an empty field.
    while (answer.empty()) answer = game.screen.AskText(DialogMode::Password, "Add meg a jelszót!");
    game.state.EnteredPassword = answer;
    return answer;
}

void AskChatLine(Game& game, std::string_view playerName) {
    std::string line = game.screen.AskText(DialogMode::Chat, "");
    if (line.empty()) return;
    game.link.SendChat(line);
    std::string text(playerName);
    text += ">  ";
    text += line;
    AddLogEntry(game, game.state.LocalSide, 0, kLogKindPlayer, text, kColourCyan);
}

void Pause(Game& game, int n) {
    if (n < 3) return;
    game.screen.PauseCycles(n / 3);
}

} // namespace vezer
