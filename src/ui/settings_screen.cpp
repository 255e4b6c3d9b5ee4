#include "ui/settings_screen.h"

#include "ui/backdrop.h"
#include "ui/text.h"

namespace vezer::ui {

namespace {

// Label ids: row * 10 + choice; the actions after.
enum Row { kScroll = 1, kResolution, kAnimation, kMusic, kEffects, kLanguage };
enum Action { kApply = 100, kSave, kQuitGame, kBack };

constexpr const char* kScrollCodes[] = {"08", "10", "20", "30"};
constexpr const char* kAnimationCodes[] = {"02", "04", "06", "08"};
constexpr const char* kResolutionCodes[] = {"10", "12"};

constexpr std::size_t kLanguageLine = 19;

} // namespace

int StoredLanguage(const SettingsList& list) {
    const auto& lines = list.Lines();
    return lines.size() > kLanguageLine && lines[kLanguageLine] == "2" ? kEnglish : kHungarian;
}

void StoreLanguage(SettingsList& list, int language) {
    std::vector<std::string> lines = list.Lines();
    if (lines.size() <= kLanguageLine) lines.resize(kLanguageLine + 1);
    lines[kLanguageLine - 1] = "Nyelv (1 magyar, 2 English):";
    lines[kLanguageLine] = language == kEnglish ? "2" : "1";
    list.Adopt(std::move(lines));
}

SettingsScreen::SettingsScreen(App& app, GameControls* game) : Screen(app), game_(game) {
    scroll_ = app.setup.scroll;
    resolution_ = app.setup.resolution;
    animation_ = app.setup.animation;
    music_ = app.settings.MusicOn();
    effects_ = app.settings.EffectsOn();
    language_ = app.language;

    auto row = [&](int rowId, const char* heading, std::vector<std::string> choices, int y) {
        Label h;
        h.text = Tr(heading);
        h.heading = true;
        h.x = 120;
        h.y = y;
        h.size = 20;
        h.id = rowId * 10;
        labels_.Add(h);
        int x = 150;
        for (std::size_t i = 0; i < choices.size(); ++i) {
            Label c;
            c.text = choices[i];
            c.x = x;
            c.y = y + 34;
            c.size = 18;
            c.id = rowId * 10 + static_cast<int>(i) + 1;
            labels_.Add(c);
            x += 190;
        }
    };
    const std::vector<std::string> speeds = {Tr("lassú"), Tr("normál"), Tr("gyors"), Tr("nagyon gyors")};
    int y = 110;
    row(kScroll, "Képernyő mozgatási sebesség", speeds, y);
    y += 90;
    if (game_ == nullptr) {
        row(kResolution, "Felbontás", {"1024 * 768", "1280 * 1024"}, y);
        y += 90;
    }
    row(kAnimation, "Animáció sebesség", speeds, y);
    y += 90;
    row(kMusic, "Zene", {Tr("be"), Tr("ki")}, y);
    y += 90;
    row(kEffects, "Hangok", {Tr("be"), Tr("ki")}, y);
    y += 90;
    row(kLanguage, "Nyelv", {"magyar", "English"}, y);
    auto action = [&](int id, const char* text, int x) {
        Label l;
        l.id = id;
        l.text = Tr(text);
        l.x = x;
        l.y = 680;
        l.size = 22;
        labels_.Add(l);
    };
    action(kApply, "Beállít", 120);
    if (game_ != nullptr) {
        action(kSave, "Mentés", 340);
        action(kQuitGame, "Kilépés", 540);
    }
    action(kBack, "Vissza", 760);
    Mark();
}

void SettingsScreen::Mark() {
    for (Label& l : labels_.all()) {
        const int rowId = l.id / 10, choice = l.id % 10;
        if (l.heading || l.id >= kApply || choice == 0) continue;
        bool on = false;
        switch (rowId) {
        case kScroll:
            on = scroll_ == kScrollCodes[choice - 1];
            break;
        case kResolution:
            on = resolution_ == kResolutionCodes[choice - 1];
            break;
        case kAnimation:
            on = animation_ == kAnimationCodes[choice - 1];
            break;
        case kMusic:
            on = music_ == (choice == 1);
            break;
        case kEffects:
            on = effects_ == (choice == 1);
            break;
        case kLanguage:
            on = language_ == choice;
            break;
        default:
            break;
        }
        l.selected = on;
    }
    labels_.Find(kApply)->selected = lit_;
    labels_.Find(kApply)->enabled = lit_;
}

void SettingsScreen::Select(Label& l) {
    if (l.selected) return; // choosing the chosen label again changes nothing
    const int rowId = l.id / 10, choice = l.id % 10;
    switch (rowId) {
    case kScroll:
        scroll_ = kScrollCodes[choice - 1];
        break;
    case kResolution:
        resolution_ = kResolutionCodes[choice - 1];
        break;
    case kAnimation:
        animation_ = kAnimationCodes[choice - 1];
        break;
    case kMusic:
        music_ = choice == 1;
        break;
    case kEffects:
        effects_ = choice == 1;
        break;
    case kLanguage:
        language_ = choice;
        break;
    default:
        return;
    }
    lit_ = true;
    Mark();
}

void SettingsScreen::Apply() {
    if (!lit_) return;
    app_.setup.scroll = scroll_;
    app_.setup.resolution = resolution_;
    app_.setup.animation = animation_;
    app_.settings.SetMusic(music_);
    app_.settings.SetEffects(effects_);
    StoreLanguage(app_.settings, language_);
    const GameDir dir(app_.gameDir());
    try {
        WriteSetupFile(dir, app_.setup);
        WriteSettingsList(dir, app_.settings);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vezer: %s\n", e.what());
    }
    if (language_ != app_.language) app_.SetLanguage(language_);
    if (game_ != nullptr) game_->ApplySettings();
    else if (app_.sound() != nullptr) app_.sound()->ApplySettings(false);
    lit_ = false;
    // The screen's own captions in the language just chosen.
    SettingsScreen fresh(app_, game_);
    labels_ = fresh.labels_;
    Mark();
}

void SettingsScreen::Draw(Painter& p) {
    DrawBackdrop(app_, p, game_ == nullptr ? "Setup" : "gamesetup");
    p.Text(Tr("Beállítások"), p.target()->w / 2, 40, palette::kInk, FontFace::SerifBold, 34, Align::Centre);
    labels_.Draw(p);
}

void SettingsScreen::OnInput(const Input& in) {
    if (in.kind == Input::Kind::MouseMove) labels_.Hover(in.x, in.y);
    if (in.kind == Input::Kind::Key && in.key == SDLK_ESCAPE) closed = true;
    if (in.kind != Input::Kind::MouseUp || in.button != 1) return;
    Label* l = labels_.At(app_.fonts(), in.x, in.y);
    if (l == nullptr) return;
    switch (l->id) {
    case kApply:
        Apply();
        break;
    case kBack:
        closed = true;
        break;
    case kSave:
        if (game_ != nullptr) {
            game_->SaveFromSettings();
            closed = true;
        }
        break;
    case kQuitGame:
        if (game_ != nullptr) {
            closed = true;
            game_->QuitFromSettings();
        }
        break;
    default:
        Select(*l);
        break;
    }
}

} // namespace vezer::ui
