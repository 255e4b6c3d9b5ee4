#pragma once
// A presentation without a display: records every call in order so tests can assert on it
// and the game (the computer opponent included) can run without a screen. Questions are
// answered from a script, or with a default.

#include "core/presentation.h"

#include <deque>
#include <string>
#include <vector>

namespace vezer {

class HeadlessPresentation : public Presentation {
public:
    enum class Kind { Message, Ask, Error, Pause, TurnEvent, TurnStartScreen, ReportLine, Sound, CloseMainScreen,
                      EndOfGame, SoundStop, SoundLoopEnd, Music, CannonMarker };
    struct Call {
        Kind kind;
        std::string text;
        int value = 0;
    };

    void ShowMessage(std::string_view text) override;
    std::string AskText(DialogMode mode, std::string_view prompt) override;
    void ShowError(std::string_view text) override;
    void PauseCycles(int cycles) override;
    void TurnEventLine(int side, std::string_view text) override;
    void ShowTurnStartScreen(bool review) override;
    void ReportLine(int icon, std::string_view text) override;
    void PlaySound(int effect) override;
    void StopSound() override;
    void EndSoundLoop() override;
    // Recorded as Music with value 0 (paused) or 1 (resumed).
    void PauseMusic() override;
    void ResumeMusic() override;
    // Recorded as CannonMarker with the hex as "x,y", or "" when hidden.
    void ShowCannonMarker(int x, int y) override;
    void HideCannonMarker() override;
    // Recorded with the verdict as text and the grade as value; answered with the set choice.
    EndOfGameChoice ShowEndOfGame(const EndOfGameView& view) override;
    bool MainScreenExists() const override { return mainScreen_; }
    void CloseMainScreen() override;

    // Answers for AskText, taken in order; when none is left the answer is "x".
    void ScriptAnswer(std::string answer) { answers_.push_back(std::move(answer)); }
    void SetMainScreen(bool exists) { mainScreen_ = exists; }
    // The answer of the end-of-game screen (the game goes on unless told otherwise).
    void SetEndOfGameChoice(EndOfGameChoice choice) { endChoice_ = choice; }
    // What the last end-of-game screen showed.
    const EndOfGameView& LastEndOfGame() const { return lastEnd_; }

    const std::vector<Call>& Calls() const { return calls_; }
    std::vector<std::string> Texts(Kind kind) const;
    int Count(Kind kind) const;
    void Clear() { calls_.clear(); }
    // When set, every call is also printed to stderr (the headless runner's --verbose).
    void SetEcho(bool echo) { echo_ = echo; }

private:
    void Record(Kind kind, std::string_view text, int value = 0);

    std::vector<Call> calls_;
    std::deque<std::string> answers_;
    bool mainScreen_ = true;
    bool echo_ = false;
    EndOfGameChoice endChoice_ = EndOfGameChoice::GoOn;
    EndOfGameView lastEnd_;
};

} // namespace vezer
