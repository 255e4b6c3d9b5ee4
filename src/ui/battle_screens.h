#pragma once
// The battle screens: the participants of an attack, the odds with the report's speed, the
// battle report that runs the fight line by line while both forces' units fall, and the
// result summary of the war. They only show the battle module's figures; what they decide
// the game screen gives as orders.

#include "battle/battle_figures.h"
#include "core/game.h"
#include "ui/app.h"
#include "ui/widgets.h"

#include <string>
#include <vector>

namespace vezer::ui {

// The participants screen for the supporters order 25 collected: returns the entries (1..5)
// the player did not mark, for which the caller gives order 26.
std::vector<int> ChooseParticipants(App& app, const State& state, int side);

// The odds screen with the grade: true when the player confirms ("Csata!"). The speed labels
// write line 12 of the settings list and set `delayMs` for the coming report.
bool ConfirmAttack(App& app, const std::string& grade, int& delayMs);

// The battle report: pushed when the battle module opens it, fed the fight's lines with a
// pause of the display delay after each, then modal until the player closes it.
class BattleReportScreen : public Screen {
public:
    BattleReportScreen(App& app, const State& state, int delayMs);
    void AddLine(int icon, const std::string& text);
    // The fight is over: the close button works from now on.
    void Finish() { finished_ = true; }

    void Draw(Painter& p) override;
    void OnInput(const Input& in) override;
    bool Busy() const override { return !finished_; }
    bool Opaque() const override { return false; }

    const std::vector<std::pair<int, std::string>>& lines() const { return lines_; }

private:
    void DrawForce(Painter& p, int x, int y, int side, const UnitPanel& panel, bool attacker,
                   bool slotsFirst);
    void Refresh();
    void ScrollToLine(int line);

    const State& state_;
    int delayMs_;
    int attacker_ = 1, defender_ = 2;
    UnitPanel attackerPanel_, defenderPanel_;
    std::vector<std::pair<int, std::string>> lines_;
    int top_ = 0;       // the first line shown
    int selected_ = -1; // the line chosen with the arrows
    bool finished_ = false;
    bool hurry_ = false;
    int x0_ = 0, y0_ = 0;
    Button close_, up_, down_;
    std::string hint_;
};

// The result summary: the battles won and drawn, the victory points and the losses of both
// sides (opening it writes the total points).
void ShowResultSummary(App& app, State& state);

// The flag picture of a flag class (1 Hungarian, 2 imperial, 3 Russian, 4 Italian).
const char* FlagPicture(int flagClass);
// A rules picture name ("Pictures\\egysegek\\111.bmp") as the name of our own picture.
std::string PictureName(const std::string& rulesName);
// A label of the rules' figures ("Harcérték:  12") with its caption in the interface language.
std::string TranslatedLabel(const std::string& label);

} // namespace vezer::ui
