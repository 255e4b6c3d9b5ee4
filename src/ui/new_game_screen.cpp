#include "ui/new_game_screen.h"

#include "core/textfile.h"
#include "ui/backdrop.h"
#include "ui/dialogs.h"
#include "ui/game_start.h"
#include "ui/text.h"

#include <algorithm>
#include <filesystem>

namespace vezer::ui {

namespace {

// Label ids: the campaign entries, each side's player (side * 10 + code), the options.
constexpr int kEntry = 100;
constexpr int kPlayer = 200;
constexpr int kDifficulty = 300;
constexpr int kRussian = 400;
constexpr int kPolish = 500;
constexpr int kFog = 600;
constexpr int kAdvanced = 700;
constexpr int kStart = 800;
constexpr int kCancel = 801;
constexpr int kSavedEntry = 7;

constexpr const char* kEntryCaptions[] = {
    "Oktató hadjárat",           "Erdélyi hadjárat (1848-49)", "Őszi hadjárat (1848)",
    "Téli hadjárat (1848-49)",   "Tavaszi hadjárat (1849)",    "Nyári hadjárat (1849)",
    "Teljes hadjárat (1848-49)", "Kimentett állás",
};

std::string Joined(const std::vector<std::string>& lines) {
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) out += '\n';
        out += lines[i];
    }
    return out;
}

} // namespace

NewGameScreen::NewGameScreen(App& app, bool email) : Screen(app), email_(email) {
    const GameDir dir(app.gameDir());
    choices_ = ReadOneSetupFile(dir);
    entry_ = std::clamp(choices_.campaignEntry, 0, 6);
    for (int side = 1; side <= 2; ++side)
        for (int n = 0; n <= 6; ++n) {
            const std::string name =
                "Data\\" + std::to_string(app.language) + std::to_string(side) + std::to_string(n) + ".txt";
            // A missing description leaves the box empty rather than refusing the screen.
            if (dir.Exists(name)) descriptions_[side][n] = Joined(ReadTextLines(dir, name));
        }
    Build();
    if (entry_ == 0) Click(kEntry); // the tutorial's fixed choices
    Mark();
}

void NewGameScreen::Build() {
    auto add = [&](int id, const std::string& text, int x, int y, int size, bool heading = false) {
        Label l;
        l.id = id;
        l.text = text;
        l.x = x;
        l.y = y;
        l.size = size;
        l.heading = heading;
        l.face = heading ? FontFace::SerifBold : FontFace::Serif;
        labels_.Add(l);
    };
    add(0, Tr("Hadjárat"), 60, 86, 20, true);
    for (int i = 0; i <= kSavedEntry; ++i) add(kEntry + i, Tr(kEntryCaptions[i]), 76, 122 + i * 29, 17);
    const int x0 = 560, gap = 60;
    int y = 86;
    auto row = [&](int base, const char* heading, std::initializer_list<const char*> items, int firstCode,
                   std::initializer_list<int> widths) {
        add(0, Tr(heading), x0, y, 18, true);
        int x = x0 + 20, k = 0;
        auto w = widths.begin();
        for (const char* item : items) {
            add(base + firstCode + k, Tr(item), x, y + 27, 16);
            x += *w++;
            ++k;
        }
        y += gap;
    };
    row(kPlayer + 10, "Magyarország", {"számítógép", "játékos"}, 1, {170, 0});
    row(kPlayer + 20, "Ausztria", {"számítógép", "játékos"}, 1, {170, 0});
    row(kDifficulty, "Nehézség", {"honvéd *", "százados", "tábornok *"}, 1, {110, 120, 0});
    row(kRussian, "Orosz beavatkozás", {"nincs", "korlátozott", "teljes **"}, 1, {90, 130, 0});
    row(kPolish, "Lengyel beavatkozás", {"nincs", "korlátozott **", "teljes"}, 1, {90, 160, 0});
    row(kFog, "Felderítés", {"nincs", "van"}, 1, {90, 0});
    add(kAdvanced, Tr("Haladó beállítás"), x0, y + 4, 18);
    add(0, Tr("* csak a gép ellen van szerepe a bállításnak"), x0, y + 44, 13, true);
    add(0, Tr("** történelmi"), x0, y + 64, 13, true);
    add(kCancel, Tr("Mégse"), 700, 700, 24);
    add(kStart, Tr("Indítás"), 850, 700, 24);
}

void NewGameScreen::Mark() {
    for (Label& l : labels_.all()) {
        if (l.heading) continue;
        const int group = l.id / 100 * 100, value = l.id % 100;
        bool on = false;
        switch (group) {
        case kEntry:
            on = value == entry_;
            break;
        case kPlayer:
            on = (value / 10 == 1 ? choices_.side1 : choices_.side2) == value % 10;
            break;
        case kDifficulty:
            on = choices_.difficulty == value;
            break;
        case kRussian:
            on = choices_.russian == value;
            break;
        case kPolish:
            on = choices_.polish == value;
            break;
        case kFog:
            on = choices_.fog == value;
            break;
        default:
            break;
        }
        l.selected = on;
    }
    // A saved game brings its own options.
    for (Label& l : labels_.all())
        if (l.id >= kPlayer && l.id < kAdvanced) l.enabled = entry_ != kSavedEntry;
    labels_.Find(kStart)->enabled = entry_ != kSavedEntry || !savedGame_.empty();
}

void NewGameScreen::ChoosePlayer(int side, int code) {
    int& mine = side == 1 ? choices_.side1 : choices_.side2;
    int& other = side == 1 ? choices_.side2 : choices_.side1;
    if (entry_ == 0) {
        // The tutorial: Hungary is the person's, Austria the computer's.
        return;
    }
    mine = code;
    // The two sides cannot both be the computer.
    if (code == 1) other = 2;
}

void NewGameScreen::Click(int id) {
    const int group = id / 100 * 100, value = id % 100;
    switch (group) {
    case kEntry:
        if (value == kSavedEntry) {
            const std::string chosen = ChooseSavedGame(app_);
            entry_ = kSavedEntry;
            if (!chosen.empty()) savedGame_ = chosen;
        } else {
            entry_ = value;
            choices_.campaignEntry = value;
        }
        if (entry_ == 0) {
            choices_.side1 = 2;
            choices_.side2 = 1;
            choices_.difficulty = 2;
        }
        break;
    case kPlayer:
        ChoosePlayer(value / 10, value % 10);
        break;
    case kDifficulty:
        // The tutorial is played as "százados".
        if (entry_ != 0) choices_.difficulty = value;
        break;
    case kRussian:
        choices_.russian = value;
        break;
    case kPolish:
        choices_.polish = value;
        break;
    case kFog:
        choices_.fog = value;
        break;
    case kAdvanced:
        if (id == kAdvanced && entry_ != 0) {
            choices_.side1 = 2;
            choices_.side2 = 1;
            choices_.difficulty = 2;
            choices_.russian = 2;
            choices_.polish = 2;
            choices_.fog = 2;
        }
        break;
    default:
        if (id == kStart) Start();
        if (id == kCancel) Cancel();
        break;
    }
    Mark();
}

std::string NewGameScreen::Description() const {
    if (entry_ == kSavedEntry) {
        if (savedGame_.empty()) return Tr("Válassz egy mentett játékot!");
        return std::filesystem::path(savedGame_).filename().string();
    }
    // From the side a person plays; side 1 when both or neither do.
    const int side = choices_.side1 != 2 && choices_.side2 == 2 ? 2 : 1;
    return descriptions_[side][CampaignOfEntry(entry_)];
}

void NewGameScreen::Cancel() {
    try {
        WriteOneSetupFile(GameDir(app_.gameDir()), choices_);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vezer: %s\n", e.what());
    }
    closed = true;
}

void NewGameScreen::Start() {
    if (entry_ == kSavedEntry && savedGame_.empty()) return;
    try {
        WriteOneSetupFile(GameDir(app_.gameDir()), choices_);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vezer: %s\n", e.what());
    }
    GameStart start;
    start.choices = choices_;
    start.campaign = entry_ == kSavedEntry ? -1 : CampaignOfEntry(entry_);
    start.savedGame = entry_ == kSavedEntry ? savedGame_ : std::string();
    start.email = email_;
    closed = true;
    PlayGame(app_, start);
}

void NewGameScreen::Draw(Painter& p) {
    DrawBackdrop(app_, p, "onesetup");
    p.Text(Tr("Új játék"), p.target()->w / 2, 28, palette::kInk, FontFace::SerifBold, 30, Align::Centre);
    p.Fill(60, 418, 440, 1, palette::kFaded);
    p.SetClip(60, 428, 450, 250);
    p.Wrapped(Description(), 60, 430, 440, palette::kInk, FontFace::Serif, 13, 1);
    p.ClearClip();
    labels_.Draw(p);
}

void NewGameScreen::OnInput(const Input& in) {
    if (in.kind == Input::Kind::MouseMove) labels_.Hover(in.x, in.y);
    if (in.kind == Input::Kind::Key && in.key == SDLK_ESCAPE) Cancel();
    if (in.kind == Input::Kind::Key && (in.key == SDLK_RETURN || in.key == SDLK_KP_ENTER)) Click(kStart);
    if (in.kind != Input::Kind::MouseUp || in.button != 1) return;
    Label* l = labels_.At(app_.fonts(), in.x, in.y);
    if (l != nullptr && l->enabled) Click(l->id);
}

// --- The saved-game chooser -------------------------------------------------------------

namespace {

class SavedGameChooser : public Screen {
public:
    explicit SavedGameChooser(App& app) : Screen(app) {
        std::error_code ec;
        const std::filesystem::path folder = GameDir(app.gameDir()).Resolve("save");
        for (const auto& e : std::filesystem::directory_iterator(folder, ec)) {
            std::string ext = e.path().extension().string();
            std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
            if (e.is_regular_file(ec) && ext == ".sav") files_.push_back(e.path());
        }
        std::sort(files_.begin(), files_.end());
    }
    bool Opaque() const override { return false; }
    void Draw(Painter& p) override {
        const int sw = p.target()->w, sh = p.target()->h;
        p.Shade(0, 0, sw, sh, Colour{0, 0, 0, 90});
        x_ = (sw - 560) / 2;
        y_ = (sh - 480) / 2;
        DrawParchment(p, x_, y_, 560, 480);
        p.Text(Tr("Mentett játék betöltése"), x_ + 24, y_ + 18, palette::kInk, FontFace::SerifBold, 18);
        if (files_.empty())
            p.Text(Tr("Nincs mentett játék."), x_ + 30, y_ + 70, palette::kFaded, FontFace::Serif, 15);
        for (std::size_t i = first_; i < files_.size() && i < first_ + kRows; ++i) {
            const int y = y_ + 56 + static_cast<int>(i - first_) * 22;
            if (static_cast<int>(i) == chosen_) p.Fill(x_ + 24, y - 1, 512, 21, palette::kParchmentDark);
            p.Text(files_[i].filename().string(), x_ + 30, y, palette::kInk, FontFace::Sans, 14);
        }
        open_ = Button{x_ + 300, y_ + 430, 110, 30, Tr("Megnyitás"), chosen_ >= 0};
        cancel_ = Button{x_ + 420, y_ + 430, 110, 30, Tr("Mégse"), true};
        open_.Draw(p, open_.Contains(app_.mouseX(), app_.mouseY()));
        cancel_.Draw(p, cancel_.Contains(app_.mouseX(), app_.mouseY()));
    }
    void OnInput(const Input& in) override {
        if (in.kind == Input::Kind::Key && in.key == SDLK_ESCAPE) closed = true;
        if (in.kind == Input::Kind::Key && in.key == SDLK_RETURN && chosen_ >= 0) Choose();
        if (in.kind == Input::Kind::Wheel)
            first_ = static_cast<std::size_t>(std::clamp<long>(static_cast<long>(first_) - in.y, 0,
                                                               std::max<long>(0, long(files_.size()) - kRows)));
        if (in.kind != Input::Kind::MouseUp || in.button != 1) return;
        if (open_.Contains(in.x, in.y) && chosen_ >= 0) return Choose();
        if (cancel_.Contains(in.x, in.y)) {
            closed = true;
            return;
        }
        const int row = (in.y - (y_ + 55)) / 22;
        if (in.x >= x_ + 24 && in.x < x_ + 536 && in.y >= y_ + 55 && row >= 0 && row < kRows) {
            const std::size_t i = first_ + static_cast<std::size_t>(row);
            if (i < files_.size()) chosen_ = static_cast<int>(i);
        }
    }
    std::string result;

private:
    static constexpr int kRows = 16;
    void Choose() {
        result = files_[static_cast<std::size_t>(chosen_)].string();
        closed = true;
    }
    std::vector<std::filesystem::path> files_;
    std::size_t first_ = 0;
    int chosen_ = -1;
    int x_ = 0, y_ = 0;
    Button open_, cancel_;
};

} // namespace

std::string ChooseSavedGame(App& app) {
    SavedGameChooser chooser(app);
    app.RunModal(chooser);
    return chooser.result;
}

} // namespace vezer::ui
