#pragma once
// The presentation seam: everything a rule asks of the screen and the speakers. The SDL
// front end implements it for the window game; HeadlessPresentation records the calls for
// tests and for games without a display. A rule never waits for a key or a timer itself.

#include <string>
#include <string_view>

namespace vezer {

// Modes of the message dialog.
enum class DialogMode {
    Message = 1,   // shows a text
    Chat = 2,      // one line to send to the other machine
    EmailName = 3, // the name of the e-mail game file
    Password = 4,  // the e-mail password
};

// The end-of-game screen's content: the verdict, its picture and the side's outcome story
// (empty when the story could not be read: the verdict is shown all the same).
struct EndOfGameView {
    int grade = 0;  // 1 total Hungarian victory .. 5 total Austrian victory
    std::string verdict;
    std::string picture;
    std::string story;
};

// The player's choice on the end-of-game screen.
enum class EndOfGameChoice {
    GoOn = 1,  // "Következo kör": the game goes on after its end
    Menu = 2,  // "Menü": back to the main menu with the automatic save
};

// Icons of the battle report lines and turn events are chosen by the screen from these.
class Presentation {
public:
    virtual ~Presentation() = default;

    // The message dialog in mode 1; returns when the player has closed it.
    virtual void ShowMessage(std::string_view text) = 0;
    // The dialog in modes 2..4: returns the text entered (modes 3 and 4 never return empty).
    virtual std::string AskText(DialogMode mode, std::string_view prompt) = 0;
    // A corrupt or unreadable file, shown to the player (the game goes on unless the caller ends it).
    virtual void ShowError(std::string_view text) = 0;

    // A visible pause of `cycles` cycles of seven redraws with 4 ms after each.
    virtual void PauseCycles(int cycles) = 0;
    // A redraw while a long search runs (the path search); headless it costs nothing.
    virtual void RepaintDuringSearch() {}

    // The event log or the ticker changed.
    virtual void TickerChanged() {}
    // A line of the turn-start screen: side 0..2 chooses the icon (0 shows side 1's).
    virtual void TurnEventLine(int side, std::string_view text) = 0;
    // The turn-start screen, modal. `review` = the "Kör eseményei" button's review mode.
    virtual void ShowTurnStartScreen(bool review) = 0;
    // A line of the battle report, with its icon number.
    virtual void ReportLine(int icon, std::string_view text) = 0;
    // Sound effect by its number.
    virtual void PlaySound(int effect) = 0;
    // The effect that is playing stops at once.
    virtual void StopSound() {}
    // The looping effect (a battle's din) stops looping: it dies away once the fight is over.
    virtual void EndSoundLoop() {}
    // The background music pauses while a battle is shown and resumes after it.
    virtual void PauseMusic() {}
    virtual void ResumeMusic() {}
    // The battle report screen opens before a battle is fought and closes once the player has
    // read it (the window game waits for its close button; headless it closes at once).
    virtual void OpenBattleReport() {}
    virtual void CloseBattleReport() {}

    // Marker refresh: a corps, a city, or everything on the map.
    virtual void RefreshCorpsMarker(int side, int corps) { (void)side, (void)corps; }
    virtual void RefreshCityMarker(int city) { (void)city; }
    virtual void RefreshAllMarkers() {}
    // A corps marker slot is no longer used (its corps was removed).
    virtual void RemoveCorpsMarker(int markerId) { (void)markerId; }
    // The entrenchment mark of a hex appeared, changed level or side, or went.
    virtual void RefreshEntrenchmentMark(int x, int y) { (void)x, (void)y; }
    // The cannon cursor over a fortress while it is bombarded, and its end.
    virtual void ShowCannonMarker(int x, int y) { (void)x, (void)y; }
    virtual void HideCannonMarker() {}
    // The damage overlay of a fortress (FortressDamage of the city).
    virtual void RefreshFortressOverlay(int city) { (void)city; }
    // The overview map's dots of the 75 cities are made anew (a game was set up).
    virtual void CreateCityDots() {}
    // A general generated in play joins the side's portrait list on the main screen.
    virtual void AddGeneralPortrait(int side, int general) { (void)side, (void)general; }
    // The map view scrolls so that the hex is in the middle (the other side's visible moves).
    virtual void CentreMapOn(int x, int y) { (void)x, (void)y; }
    // The battle marker on a hex shows or goes (the replay of an opponent's attack).
    virtual void ShowBattleMarker(int x, int y, bool shown) { (void)x, (void)y, (void)shown; }
    // The main screen: repaint, and whether its command panel and map accept the player.
    virtual void RefreshMainScreen() {}
    virtual void EnableCommands(bool enabled) { (void)enabled; }

    // The end-of-game screen, modal, until the player chooses (in a network game, until both
    // players have). The window game also writes the menu's settings list on "Menü".
    virtual EndOfGameChoice ShowEndOfGame(const EndOfGameView& view) {
        (void)view;
        return EndOfGameChoice::GoOn;
    }

    // The main screen exists while a game is on; the end of the campaign closes it.
    virtual bool MainScreenExists() const = 0;
    virtual void CloseMainScreen() = 0;
};

} // namespace vezer
