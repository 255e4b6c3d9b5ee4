#pragma once
// The presentation seam implemented for the window. Every call that asks or pauses runs the
// frame loop until it is answered, so the window keeps drawing and answering the window
// manager even while the computer plays or a battle is fought.

#include "core/presentation.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace vezer::ui {

class App;
class GameScreen;
class BattleReportScreen;

class WindowPresentation : public Presentation {
public:
    explicit WindowPresentation(App& app);
    ~WindowPresentation() override;
    void Attach(GameScreen* screen) { screen_ = screen; }

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
    void PauseMusic() override;
    void ResumeMusic() override;
    void OpenBattleReport() override;
    void CloseBattleReport() override;
    void RefreshCorpsMarker(int side, int corps) override;
    void RefreshCityMarker(int city) override;
    void RefreshAllMarkers() override;
    void RemoveCorpsMarker(int markerId) override;
    void CentreMapOn(int x, int y) override;
    void EnableCommands(bool enabled) override;
    EndOfGameChoice ShowEndOfGame(const EndOfGameView& view) override;
    bool MainScreenExists() const override { return screen_ != nullptr && !closed_; }
    void CloseMainScreen() override;

    // Between two persons at one machine: the hand-over screen when the side to move is not the
    // one that last had the screen.
    void HandOverIfDue();

    // The turn-start screen's lines since it last opened (side, text).
    const std::vector<std::pair<int, std::string>>& turnEvents() const { return events_; }

private:
    App& app_;
    GameScreen* screen_ = nullptr;
    bool closed_ = false;
    int handedTo_ = 0;
    std::vector<std::pair<int, std::string>> events_;
    std::unique_ptr<BattleReportScreen> report_;
};

} // namespace vezer::ui
