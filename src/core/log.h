#pragma once
// The event log: one list of coloured lines per side, the six-line ticker of the main screen,
// the tutorial feed and the message dialogs.

#include "core/game.h"

#include <string_view>

namespace vezer {

// Colours (0x00BBGGRR).
inline constexpr int kColourWhite = 0xFFFFFF;
inline constexpr int kColourTutorial = 0xFFF7F7;
inline constexpr int kColourYellow = 0x00FFFF;
inline constexpr int kColourOrange = 0x4EBCF8;
inline constexpr int kColourLightGreen = 0xDDFFDD;
inline constexpr int kColourLightYellow = 0x99FFFF;
inline constexpr int kColourCyan = 0xFFFF00;

inline constexpr int kLogKindRules = 0;
inline constexpr int kLogKindPlayer = 14;

// Empties both logs and the ticker (game set-up).
void ResetEventLogs(State& state);
// Appends an entry to `side`'s log, and to the other side's unless it is hidden under fog of war.
void AddLogEntry(Game& game, int side, int hidden, int kind, std::string_view text, int colour);
// Refills the six ticker lines from LocalSide's log at its TickerPos.
void RefreshTicker(Game& game);
void ScrollTickerNewer(Game& game);
void ScrollTickerOlder(Game& game);
// Turn start: the six newest entries of LocalSide's log, newest first (TickerPos unchanged).
void FillTickerWithNewest(Game& game);
// Appends the next block of the tutorial text to side 1's log.
void FeedTutorialText(Game& game);

// The message dialog: shown only when the active side plays at this machine.
void ShowMessageIfLocal(Game& game, std::string_view text);
void ShowMessageBox(Game& game, std::string_view text);
// The password dialog; the answer is stored in EnteredPassword and returned.
std::string AskPassword(Game& game);
// The chat dialog of a network game: sends the line and logs it under this player's name.
void AskChatLine(Game& game, std::string_view playerName);

// A visible pause of n / 3 cycles; nothing when n < 3.
void Pause(Game& game, int n);

} // namespace vezer
