#include "ui/corps_dialogs.h"

#include "core/index_watch.h"
#include "core/text.h"
#include "core/texts.h"
#include "forces/forces.h"
#include "forces/generals.h"
#include "forces/location_name.h"
#include "ui/backdrop.h"
#include "ui/battle_screens.h"
#include "ui/list_view.h"
#include "ui/text.h"
#include "ui/widgets.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace vezer::ui {

namespace {

bool IsKey(const Input& in, SDL_Keycode k) {
    return in.kind == Input::Kind::Key && in.key == k;
}

// A button of a dialog with the hint shown while the mouse is over it.
struct ActionButton {
    Button button;
    std::string hint;
};

// The frame of every dialog: the shade over the main screen, the sheet, the title, the hint
// line and the close button ("Ablak bezár"); Escape closes too.
class Dialog : public Screen {
public:
    Dialog(App& app, std::string title, const char* background, int w, int h)
        : Screen(app), title_(std::move(title)), background_(background), w_(w), h_(h) {}
    bool Opaque() const override { return false; }
    void Tick() override { ++frame_; }

    void Draw(Painter& p) override {
        const int sw = p.target()->w, sh = p.target()->h;
        x_ = (sw - w_) / 2;
        y_ = std::max(0, (sh - h_) / 2);
        p.Shade(0, 0, sw, sh, Colour{0, 0, 0, 90});
        if (app_.pictures().Has(background_))
            p.Picture(app_.pictures().Get(background_, w_, h_), x_, y_);
        else
            DrawParchment(p, x_, y_, w_, h_);
        p.Text(title_, x_ + w_ / 2, y_ + 18, palette::kInk, FontFace::SerifBold, 22, Align::Centre);
        hint_.clear();
        Layout();
        DrawBody(p);
        close_ =
            ActionButton{Button{x_ + w_ - 150, y_ + h_ - 50, 126, 32, Tr("Bezár"), true}, Tr("Ablak bezár")};
        DrawButton(p, close_);
        if (!hint_.empty()) p.Text(hint_, x_ + 26, y_ + h_ - 40, palette::kFaded, FontFace::Serif, 12);
    }

    void OnInput(const Input& in) override {
        if (Clicked(in, close_) || IsKey(in, SDLK_ESCAPE)) {
            Closing();
            closed = true;
            return;
        }
        BodyInput(in);
    }

protected:
    virtual void Layout() {}
    virtual void DrawBody(Painter& p) = 0;
    virtual void BodyInput(const Input& in) = 0;
    // Before the dialog closes (the new corps dissolves an empty corps here).
    virtual void Closing() {}

    void DrawButton(Painter& p, const ActionButton& b) {
        const bool hover = b.button.Contains(app_.mouseX(), app_.mouseY());
        b.button.Draw(p, hover && b.button.enabled, 13);
        if (hover) hint_ = b.hint;
    }
    static bool Clicked(const Input& in, const ActionButton& b) {
        return in.kind == Input::Kind::MouseUp && in.button == 1 && b.button.enabled &&
               b.button.Contains(in.x, in.y);
    }

    std::string title_;
    const char* background_;
    int w_, h_;
    int x_ = 0, y_ = 0;
    int frame_ = 0;
    std::string hint_;
    ActionButton close_;
};

std::string SideFlag(int side) {
    return side == 2 ? "zaszloosztrak" : "zaszlomagyar";
}

std::vector<ListColumn> RegimentColumns(int nameWidth) {
    return {{Tr("Név"), nameWidth, Align::Left},   {Tr("Létszám"), 70, Align::Right},
            {Tr("Tapasztalat"), 84, Align::Right}, {Tr("Morál"), 56, Align::Right},
            {Tr("Ellátmány"), 74, Align::Right},   {Tr("Készenlét"), 74, Align::Right}};
}

ListRow RegimentRow(const State& st, int side, int r, const std::string& flag) {
    const TEzred& e = st.Regiment(side, r);
    return ListRow{{RegimentTitle(st, side, r), std::to_string(e.Men), std::to_string(e.Experience),
                    std::to_string(e.Morale), std::to_string(e.Supply), std::to_string(e.Readiness)},
                   r,
                   false,
                   flag};
}

ListRow CorpsHeader(const State& st, int side, int corps) {
    const THad& h = st.CorpsRec(side, corps);
    const std::string general =
        h.General > 0 ? GeneralDisplayName(st, side, h.General) : std::string(h.Name.str());
    return ListRow{{"-" + std::string(Tr("Tábornok: ")) + general}, 0, true, {}};
}

// The regiments of a corps under its header, with the side's flag.
void AddCorpsRegiments(std::vector<ListRow>& rows, const State& st, int side, int corps, bool header) {
    if (!IsCorps(st, side, corps)) return;
    if (header) rows.push_back(CorpsHeader(st, side, corps));
    const THad& h = st.CorpsRec(side, corps);
    for (int i = 1; i <= std::min(h.UnitCount, kCorpsUnitSlots); ++i) {
        const int r = h.Units[static_cast<std::size_t>(i)];
        if (IsRegiment(st, side, r)) rows.push_back(RegimentRow(st, side, r, SideFlag(side)));
    }
}

// Whether a regiment still belongs to the corps (the stack may have changed under the dialog).
bool InCorps(const State& st, int side, int corps, int r) {
    return IsCorps(st, side, corps) && IsRegiment(st, side, r) && st.Regiment(side, r).Corps == corps;
}

bool FreeGeneral(const State& st, int side, int g) {
    if (!IsGeneral(st, side, g)) return false;
    const TTabornok& t = st.General(side, g);
    return t.Available == 1 && t.Corps == 0;
}

std::vector<ListRow> FreeGeneralRows(const State& st, int side) {
    std::vector<ListRow> rows;
    for (int g = 1; g <= st.GeneralCount[side]; ++g) {
        if (!FreeGeneral(st, side, g)) continue;
        const TTabornok& t = st.General(side, g);
        rows.push_back({{GeneralDisplayName(st, side, g), std::to_string(t.Initiative),
                         std::to_string(t.Attack), std::to_string(t.Defence)},
                        g,
                        false,
                        SideFlag(side)});
    }
    return rows;
}

std::vector<ListColumn> GeneralColumns(int nameWidth) {
    return {{Tr("Név"), nameWidth, Align::Left},
            {Tr("Kezdeményezés"), 110, Align::Right},
            {Tr("Támadás"), 80, Align::Right},
            {Tr("Védekezés"), 90, Align::Right}};
}

SDL_Surface* PortraitOf(App& app, int side, int portrait) {
    const std::string name = "tabornok" + std::to_string(side) + std::to_string(portrait);
    return app.pictures().Has(name) ? app.pictures().Get(name, 64, 80)
                                    : app.pictures().Get("tabornok0", 64, 80);
}

// --- The regiment list ------------------------------------------------------------------------

class RegimentList : public Dialog {
public:
    RegimentList(App& app, Game& game, const GiveOrder& give, int side, int corps)
        : Dialog(app, Tr("Hadtest részletek"), "ezredlistazas", 820, 560), game_(game), give_(give),
          side_(side), corps_(game.watches, RecordKind::Corps, side, corps) {
        list_.columns = RegimentColumns(220);
        Rebuild();
    }

private:
    void Rebuild() {
        const int position = list_.SelectedPosition();
        list_.rows.clear();
        AddCorpsRegiments(list_.rows, game_.state, side_, corps_.get(), false);
        list_.SelectPosition(position);
    }
    void Layout() override {
        list_.x = x_ + 24;
        list_.y = y_ + 60;
        list_.w = 590;
        list_.h = h_ - 170;
        merge_ = {Button{x_ + 24, y_ + h_ - 96, 130, 30, Tr("Beolvaszt"), true},
                  Tr("Beolvasztás másik egységekbe")};
        split_ = {Button{x_ + 164, y_ + h_ - 96, 130, 30, Tr("Kettéoszt"), true},
                  Tr("Egység kettéosztása (-5 morál !)")};
    }
    void DrawBody(Painter& p) override {
        const State& st = game_.state;
        const int corps = corps_.get();
        if (!IsCorps(st, side_, corps)) {
            p.Text(Tr("A hadtest már nem létezik."), x_ + 40, y_ + 80, palette::kFaded, FontFace::Serif, 15);
            return;
        }
        const THad& h = st.CorpsRec(side_, corps);
        p.Text(h.Name.str(), x_ + 24, y_ + 36, palette::kItem, FontFace::SerifBold, 14);
        list_.Draw(p, app_);
        const int r = list_.SelectedId();
        merge_.button.enabled = InCorps(st, side_, corps, r) && st.Regiment(side_, r).MergeCandidate != 0;
        split_.button.enabled = InCorps(st, side_, corps, r) && st.Regiment(side_, r).Men > 2;
        DrawButton(p, merge_);
        DrawButton(p, split_);
        p.Text(std::string(Tr("Harcérték: ")) + std::to_string(h.CombatValue) + "     " +
                   Tr("Ellátmány igény: ") + std::to_string(h.SupplyDemand),
               x_ + 310, y_ + h_ - 90, palette::kInk, FontFace::SansBold, 12);
        // The general.
        const int gx = x_ + 630;
        p.Text(Tr("Tábornok"), gx, y_ + 60, palette::kHeading, FontFace::SerifBold, 15);
        if (IsGeneral(st, side_, h.General)) {
            const TTabornok& g = st.General(side_, h.General);
            p.Picture(PortraitOf(app_, side_, g.Portrait), gx, y_ + 84);
            p.Frame(gx - 1, y_ + 83, 66, 82, palette::kInk);
            p.Wrapped(GeneralDisplayName(st, side_, h.General), gx, y_ + 172, 170, palette::kInk,
                      FontFace::SerifBold, 13);
            int yy = y_ + 214;
            for (auto [label, v] : {std::pair{"Kezdeményezés", g.Initiative}, std::pair{"Támadás", g.Attack},
                                    std::pair{"Védekezés", g.Defence}}) {
                p.Text(Tr(label), gx, yy, palette::kFaded, FontFace::Sans, 12);
                p.Text(std::to_string(v), gx + 150, yy, palette::kInk, FontFace::SansBold, 12, Align::Right);
                yy += 18;
            }
        }
    }
    void BodyInput(const Input& in) override {
        list_.OnInput(in, frame_);
        if (IsKey(in, SDLK_UP)) list_.Step(-1);
        if (IsKey(in, SDLK_DOWN)) list_.Step(1);
        const State& st = game_.state;
        const int corps = corps_.get(), r = list_.SelectedId();
        if (Clicked(in, merge_) && InCorps(st, side_, corps, r) &&
            st.Regiment(side_, r).MergeCandidate != 0) {
            give_(TParancs{kOrderMergeRegiment, 0, 0, side_, corps, r});
            Rebuild();
        }
        if (Clicked(in, split_) && InCorps(st, side_, corps, r) && st.Regiment(side_, r).Men > 2) {
            give_(TParancs{kOrderSplitRegiment, 0, 0, side_, corps, r});
            Rebuild();
        }
    }

    Game& game_;
    const GiveOrder& give_;
    int side_;
    HeldIndex corps_;
    ListView list_;
    ActionButton merge_, split_;
};

// --- Regiment transfer --------------------------------------------------------------------------

// The regiments of the side's other corps on the hex, grouped under their headers.
void AddNeighbours(std::vector<ListRow>& rows, const State& st, int side, int corps, Hex hex) {
    for (int k = 1; k <= st.CorpsCount[side]; ++k) {
        const THad& h = st.CorpsRec(side, k);
        if (k == corps || h.X != hex.x || h.Y != hex.y || h.UnitCount <= 0) continue;
        AddCorpsRegiments(rows, st, side, k, true);
    }
}

class Transfer : public Dialog {
public:
    Transfer(App& app, Game& game, const GiveOrder& give, int side, int corps, std::string title)
        : Dialog(app, std::move(title), "ezredmozgat", 700, 600), game_(game), give_(give), side_(side),
          corps_(game.watches, RecordKind::Corps, side, corps) {
        upper_.columns = RegimentColumns(250);
        lower_.columns = RegimentColumns(250);
        const THad& h = game.state.CorpsRec(side, corps);
        hex_ = {h.X, h.Y};
        Rebuild();
    }
    int moved = 0;

protected:
    void Rebuild() {
        const State& st = game_.state;
        const int up = upper_.SelectedPosition(), low = lower_.SelectedPosition();
        upper_.rows.clear();
        lower_.rows.clear();
        AddCorpsRegiments(upper_.rows, st, side_, corps_.get(), true);
        AddNeighbours(lower_.rows, st, side_, corps_.get(), hex_);
        upper_.SelectPosition(up);
        lower_.SelectPosition(low);
    }
    void Layout() override {
        upper_.x = lower_.x = x_ + 24;
        upper_.w = lower_.w = w_ - 48;
        upper_.y = y_ + 78;
        upper_.h = 180;
        lower_.y = y_ + 300;
        lower_.h = 180;
        move_ = {Button{x_ + w_ / 2 - 40, y_ + 263, 80, 28, "▲", true},
                 Tr("Ezred áthelyezése az aktív hadtestbe (felül)")};
    }
    void DrawBody(Painter& p) override {
        p.Text(Tr("Jelenlegi ezredek"), x_ + 24, y_ + 56, palette::kHeading, FontFace::SerifBold, 14);
        p.Text(Tr("Választható ezredek"), x_ + 24, y_ + 270, palette::kHeading, FontFace::SerifBold, 14);
        upper_.Draw(p, app_);
        lower_.Draw(p, app_);
        move_.button.enabled = lower_.SelectedId() != 0;
        DrawButton(p, move_);
        p.Wrapped(
            Tr("Az áthelyezett ezred készenléte -10 ha a célhad formáció nem pihenés vagy visszavonulás!"),
            x_ + 24, y_ + 490, w_ - 48, palette::kFaded, FontFace::Serif, 12);
    }
    void BodyInput(const Input& in) override {
        upper_.OnInput(in, frame_);
        const ListView::Event e = lower_.OnInput(in, frame_);
        if (IsKey(in, SDLK_UP)) lower_.Step(-1);
        if (IsKey(in, SDLK_DOWN)) lower_.Step(1);
        if (e == ListView::Event::DoubleClicked || Clicked(in, move_) || IsKey(in, SDLK_RETURN)) MoveChosen();
    }
    void MoveChosen() {
        const State& st = game_.state;
        const int r = lower_.SelectedId(), corps = corps_.get();
        if (r == 0 || !IsCorps(st, side_, corps) || !IsRegiment(st, side_, r)) return;
        // Checked again: the regiment must still stand in another corps on this hex.
        const int from = st.Regiment(side_, r).Corps;
        if (from == corps || !IsCorps(st, side_, from) || st.CorpsRec(side_, from).X != hex_.x ||
            st.CorpsRec(side_, from).Y != hex_.y)
            return;
        give_(TParancs{kOrderTransferRegiment, 0, 0, side_, corps, r});
        if (InCorps(game_.state, side_, corps_.get(), r)) ++moved;
        Rebuild();
    }

    Game& game_;
    const GiveOrder& give_;
    int side_;
    HeldIndex corps_;
    Hex hex_{};
    ListView upper_, lower_;
    ActionButton move_;
};

// --- The general change ---------------------------------------------------------------------------

class GeneralChange : public Dialog {
public:
    GeneralChange(App& app, Game& game, const GiveOrder& give, int side, int corps)
        : Dialog(app, Tr("Hadvezér váltás"), "tabornok", 640, 540), game_(game), give_(give), side_(side),
          corps_(game.watches, RecordKind::Corps, side, corps) {
        list_.columns = GeneralColumns(300);
        list_.rows = FreeGeneralRows(game.state, side);
    }

private:
    void Layout() override {
        list_.x = x_ + 24;
        list_.y = y_ + 176;
        list_.w = w_ - 48;
        list_.h = 230;
        change_ = {Button{x_ + 24, y_ + h_ - 96, 130, 30, Tr("Csere"), true}, Tr("Tábornok leváltása")};
    }
    void DrawBody(Painter& p) override {
        const State& st = game_.state;
        const int corps = corps_.get();
        p.Text(Tr("Csere"), x_ + 24, y_ + 56, palette::kHeading, FontFace::SerifBold, 14);
        if (IsCorps(st, side_, corps) && IsGeneral(st, side_, st.CorpsRec(side_, corps).General)) {
            const int g = st.CorpsRec(side_, corps).General;
            const TTabornok& t = st.General(side_, g);
            p.Picture(PortraitOf(app_, side_, t.Portrait), x_ + 24, y_ + 78);
            p.Text(GeneralDisplayName(st, side_, g), x_ + 100, y_ + 82, palette::kInk, FontFace::SerifBold,
                   15);
            p.Text(std::string(Tr("Kezdeményezés")) + " " + std::to_string(t.Initiative) + "   " +
                       Tr("Támadás") + " " + std::to_string(t.Attack) + "   " + Tr("Védekezés") + " " +
                       std::to_string(t.Defence),
                   x_ + 100, y_ + 108, palette::kInk, FontFace::Sans, 12);
        }
        p.Text(Tr("Választható tábornokok"), x_ + 24, y_ + 154, palette::kHeading, FontFace::SerifBold, 14);
        list_.Draw(p, app_);
        change_.button.enabled = list_.SelectedId() != 0;
        DrawButton(p, change_);
        p.Text(Tr("Tábornok leváltása: -5 morál és készenlét!"), x_ + 170, y_ + h_ - 90, palette::kFaded,
               FontFace::Serif, 12);
    }
    void BodyInput(const Input& in) override {
        const ListView::Event e = list_.OnInput(in, frame_);
        if (IsKey(in, SDLK_UP)) list_.Step(-1);
        if (IsKey(in, SDLK_DOWN)) list_.Step(1);
        if (e != ListView::Event::DoubleClicked && !Clicked(in, change_)) return;
        const State& st = game_.state;
        const int g = list_.SelectedId(), corps = corps_.get();
        if (!IsCorps(st, side_, corps) || !FreeGeneral(st, side_, g)) return;
        give_(TParancs{kOrderReplaceGeneral, 0, 0, side_, corps, g});
        closed = true;
    }

    Game& game_;
    const GiveOrder& give_;
    int side_;
    HeldIndex corps_;
    ListView list_;
    ActionButton change_;
};

// --- The new corps ------------------------------------------------------------------------------------

class NewCorps : public Dialog {
public:
    NewCorps(App& app, Game& game, const GiveOrder& give, int side, Hex hex)
        : Dialog(app, Tr("Új hadtest"), "ujhad", 700, 560), game_(game), give_(give), side_(side), hex_(hex) {
        generals_.columns = GeneralColumns(330);
        generals_.rows = FreeGeneralRows(game.state, side);
        regiments_.columns = RegimentColumns(250);
    }

private:
    void Rebuild() {
        const int position = regiments_.SelectedPosition();
        regiments_.rows.clear();
        if (corps_) AddNeighbours(regiments_.rows, game_.state, side_, corps_->get(), hex_);
        regiments_.SelectPosition(position);
    }
    void Layout() override {
        for (ListView* l : {&generals_, &regiments_}) {
            l->x = x_ + 24;
            l->y = y_ + 110;
            l->w = w_ - 48;
            l->h = 320;
        }
        choose_ = {Button{x_ + 24, y_ + h_ - 96, 150, 30, Tr("Kiválaszt"), true},
                   corps_ ? Tr("Ezred áthelyezése az aktív hadtestbe (felül)") : Tr("Tábornok választás")};
    }
    void DrawBody(Painter& p) override {
        const State& st = game_.state;
        if (!corps_) {
            p.Text(Tr("Tábornok választás"), x_ + 24, y_ + 56, palette::kItem, FontFace::SerifBold, 16);
            p.Text(Tr(" Tábornokok"), x_ + 24, y_ + 86, palette::kHeading, FontFace::SerifBold, 14);
            generals_.Draw(p, app_);
            choose_.button.enabled = generals_.SelectedId() != 0;
        } else {
            p.Text(Tr("Ezred kiválasztása"), x_ + 24, y_ + 56, palette::kItem, FontFace::SerifBold, 16);
            if (IsCorps(st, side_, corps_->get())) {
                const THad& h = st.CorpsRec(side_, corps_->get());
                p.Text(std::string(Tr("Az új hadtest ezredei: ")) + std::to_string(h.UnitCount), x_ + 300,
                       y_ + 60, palette::kInk, FontFace::Sans, 12);
            }
            p.Text(Tr("Választható ezredek"), x_ + 24, y_ + 86, palette::kHeading, FontFace::SerifBold, 14);
            regiments_.Draw(p, app_);
            choose_.button.enabled = regiments_.SelectedId() != 0;
        }
        DrawButton(p, choose_);
    }
    void BodyInput(const Input& in) override {
        ListView& list = corps_ ? regiments_ : generals_;
        const ListView::Event e = list.OnInput(in, frame_);
        if (IsKey(in, SDLK_UP)) list.Step(-1);
        if (IsKey(in, SDLK_DOWN)) list.Step(1);
        if (e != ListView::Event::DoubleClicked && !Clicked(in, choose_) && !IsKey(in, SDLK_RETURN)) return;
        State& st = game_.state;
        if (!corps_) {
            const int g = generals_.SelectedId();
            if (!FreeGeneral(st, side_, g)) return;
            const int before = st.CorpsCount[side_];
            give_(TParancs{kOrderNewCorps, hex_.x, hex_.y, side_, 0, g});
            if (st.CorpsCount[side_] != before + 1) return; // refused
            corps_ =
                std::make_unique<HeldIndex>(game_.watches, RecordKind::Corps, side_, st.CorpsCount[side_]);
            Rebuild();
            return;
        }
        const int r = regiments_.SelectedId(), corps = corps_->get();
        if (!IsCorps(st, side_, corps) || !IsRegiment(st, side_, r)) return;
        const int from = st.Regiment(side_, r).Corps;
        if (from == corps || !IsCorps(st, side_, from) || st.CorpsRec(side_, from).X != hex_.x ||
            st.CorpsRec(side_, from).Y != hex_.y)
            return;
        give_(TParancs{kOrderTransferRegiment, 0, 0, side_, corps, r});
        if (InCorps(st, side_, corps_->get(), r)) ++moved_;
        Rebuild();
    }
    void Closing() override {
        // A corps made and left without regiments is dissolved again.
        if (corps_ && moved_ == 0 && IsCorps(game_.state, side_, corps_->get()))
            give_(TParancs{kOrderRemoveCorps, 0, 0, side_, corps_->get(), 0});
    }

    Game& game_;
    const GiveOrder& give_;
    int side_;
    Hex hex_;
    std::unique_ptr<HeldIndex> corps_;
    int moved_ = 0;
    ListView generals_, regiments_;
    ActionButton choose_;
};

// --- Recruitment ---------------------------------------------------------------------------------------

class Recruitment : public Dialog {
public:
    Recruitment(App& app, Game& game, const GiveOrder& give, int side, int city)
        : Dialog(app, Tr("Toborzás"), "toboroz", 760, 600), game_(game), give_(give), side_(side),
          onlyCity_(city) {
        cities_.columns = {{Tr("Város"), 220, Align::Left},
                           {Tr("Toborzás alatt"), 240, Align::Left},
                           {Tr("Hátralévo toborzási ido"), 200, Align::Right}};
        types_.columns = {{Tr("Toborozható"), 420, Align::Left}, {Tr("Toborzási ido"), 200, Align::Right}};
        Rebuild();
        if (onlyCity_ != 0) cities_.SelectPosition(0);
    }

private:
    void Rebuild() {
        const State& st = game_.state;
        const int position = cities_.SelectedPosition();
        cities_.rows.clear();
        for (int c = 1; c <= kCityCount; ++c) {
            const TVaros& v = st.Cities[static_cast<std::size_t>(c)];
            if (onlyCity_ != 0 && c != onlyCity_) continue;
            if (v.Owner != side_ || (onlyCity_ == 0 && v.HomeSide != side_)) continue;
            const bool busy = IsType(v.RecruitType);
            cities_.rows.push_back(
                {{v.Name.str(),
                  busy ? std::string(st.Types[static_cast<std::size_t>(v.RecruitType)].Name.str())
                       : std::string(Tr("Semmi")),
                  busy ? std::to_string(v.RecruitWeeksLeft) + Tr(" hét") : std::string()},
                 c,
                 false,
                 {}});
        }
        cities_.SelectPosition(position);
        types_.rows.clear();
        for (int t = 1; t <= std::min(st.TypeCount, kMaxTypes); ++t) {
            const TEzredAlap& type = st.Types[static_cast<std::size_t>(t)];
            if (type.SideOnly != 0 && type.SideOnly != side_) continue;
            types_.rows.push_back({{type.Name.str(), std::to_string(type.RecruitWeeks) + Tr(" hét")},
                                   t,
                                   false,
                                   SideFlag(side_)});
        }
    }
    void Layout() override {
        cities_.x = types_.x = x_ + 24;
        cities_.w = types_.w = w_ - 48;
        cities_.y = y_ + 60;
        cities_.h = 230;
        types_.y = y_ + 306;
        types_.h = 190;
        recruit_ = {Button{x_ + 24, y_ + h_ - 50, 150, 32, Tr("Toboroz"), true},
                    Tr("Kijelölt egység toborzása")};
    }
    void DrawBody(Painter& p) override {
        cities_.Draw(p, app_);
        types_.Draw(p, app_);
        recruit_.button.enabled = cities_.SelectedId() != 0 && types_.SelectedId() != 0;
        DrawButton(p, recruit_);
    }
    void BodyInput(const Input& in) override {
        cities_.OnInput(in, frame_);
        const ListView::Event e = types_.OnInput(in, frame_);
        if (IsKey(in, SDLK_UP)) types_.Step(-1);
        if (IsKey(in, SDLK_DOWN)) types_.Step(1);
        if (e != ListView::Event::DoubleClicked && !Clicked(in, recruit_)) return;
        const State& st = game_.state;
        const int city = cities_.SelectedId(), type = types_.SelectedId();
        if (!IsCity(city) || !IsType(type) || st.Cities[static_cast<std::size_t>(city)].Owner != side_)
            return;
        give_(TParancs{kOrderCityRecruitment, 0, 0, side_, type, city});
        Rebuild();
    }

    Game& game_;
    const GiveOrder& give_;
    int side_;
    int onlyCity_;
    ListView cities_, types_;
    ActionButton recruit_;
};

// --- All corps ------------------------------------------------------------------------------------------

class AllCorps : public Dialog {
public:
    AllCorps(App& app, Game& game, const GiveOrder& give, int side)
        : Dialog(app, Tr("Hadseregek"), "osszhad", 1000, 620), game_(game), give_(give), side_(side) {
        list_.columns = {{Tr("Tabornok"), 230, Align::Left},  {Tr("Mozgaspont"), 90, Align::Right},
                         {Tr("Morál"), 60, Align::Right},     {Tr("Ellátmány"), 80, Align::Right},
                         {Tr("Készenlét"), 80, Align::Right}, {Tr("Hely"), 200, Align::Left},
                         {Tr("Lovas"), 70, Align::Right},     {Tr("Gyalog"), 70, Align::Right},
                         {Tr("Agyu"), 60, Align::Right}};
        Rebuild();
    }
    int chosen = 0;

private:
    void Rebuild() {
        const State& st = game_.state;
        list_.rows.clear();
        for (int k = 1; k <= st.CorpsCount[side_]; ++k) {
            const THad& h = st.CorpsRec(side_, k);
            const std::string general = IsGeneral(st, side_, h.General)
                                            ? GeneralDisplayName(st, side_, h.General)
                                            : std::string(h.Name.str());
            list_.rows.push_back(
                {{general, std::to_string(h.MovementPoints), std::to_string(h.AvgMorale),
                  std::to_string(h.AvgSupply), std::to_string(h.AvgReadiness),
                  CorpsLocationName(st, side_, k, app_.language, Tr("környéke")),
                  std::to_string(h.CavalryMen), std::to_string(h.InfantryMen), std::to_string(h.Guns)},
                 k,
                 false,
                 SideFlag(side_)});
        }
    }
    void Layout() override {
        list_.x = x_ + 24;
        list_.y = y_ + 60;
        list_.w = w_ - 48;
        list_.h = h_ - 170;
        select_ = {Button{x_ + 24, y_ + h_ - 96, 150, 30, Tr("Kiválaszt"), true}, Tr("Hadtest kiválasztása")};
        details_ = {Button{x_ + 184, y_ + h_ - 96, 190, 30, Tr("Hadtest részletek"), true},
                    Tr("Hadtest összetétele")};
    }
    void DrawBody(Painter& p) override {
        list_.Draw(p, app_);
        select_.button.enabled = details_.button.enabled = list_.SelectedId() != 0;
        DrawButton(p, select_);
        DrawButton(p, details_);
        p.Text(Tr("Oszlopfejlécre kattintva rendez; dupla kattintás a térképen mutatja."), x_ + 390,
               y_ + h_ - 90, palette::kFaded, FontFace::Serif, 12);
    }
    void BodyInput(const Input& in) override {
        // A click on a column caption sorts by it: names alphabetically, figures from the largest.
        if (in.kind == Input::Kind::MouseUp && in.button == 1 && in.y >= list_.y &&
            in.y < list_.y + list_.rowHeight + 4) {
            int cx = list_.x + 4;
            for (std::size_t c = 0; c < list_.columns.size(); ++c) {
                if (in.x >= cx && in.x < cx + list_.columns[c].width)
                    list_.SortBy(static_cast<int>(c), c != 0 && c != 5);
                cx += list_.columns[c].width;
            }
            return;
        }
        const ListView::Event e = list_.OnInput(in, frame_);
        if (IsKey(in, SDLK_UP)) list_.Step(-1);
        if (IsKey(in, SDLK_DOWN)) list_.Step(1);
        const int k = list_.SelectedId();
        if (!IsCorps(game_.state, side_, k)) return;
        if (e == ListView::Event::DoubleClicked || Clicked(in, select_) || IsKey(in, SDLK_RETURN)) {
            chosen = k;
            closed = true;
        }
        if (Clicked(in, details_)) {
            RegimentListDialog(app_, game_, give_, side_, k);
            Rebuild();
        }
    }

    Game& game_;
    const GiveOrder& give_;
    int side_;
    ListView list_;
    ActionButton select_, details_;
};

// --- Biography ------------------------------------------------------------------------------------------

class Biography : public Dialog {
public:
    Biography(App& app, Game& game, int side, int general, std::string text)
        : Dialog(app, Tr("Tábornok"), "Eletrajz", 760, 440), game_(game), side_(side), general_(general),
          text_(std::move(text)) {}

private:
    void DrawBody(Painter& p) override {
        const State& st = game_.state;
        const TTabornok& g = st.General(side_, general_);
        const std::string own = "tabornok" + std::to_string(side_) + std::to_string(g.Portrait);
        p.Picture(PortraitOf(app_, side_, g.Portrait), x_ + 28, y_ + 60);
        p.Frame(x_ + 27, y_ + 59, 66, 82, palette::kInk);
        // Our portraits are generic: none is a likeness.
        if (g.Portrait >= 100 || !app_.pictures().Has(own))
            p.Text(Tr("Nem hiteles kép!"), x_ + 60, y_ + 146, palette::kFaded, FontFace::Serif, 11,
                   Align::Centre);
        p.Text(GeneralDisplayName(st, side_, general_), x_ + 120, y_ + 60, palette::kInk, FontFace::SerifBold,
               18);
        p.Text(std::string(Tr("Kezdeményezés")) + " " + std::to_string(g.Initiative) + "   " + Tr("Támadás") +
                   " " + std::to_string(g.Attack) + "   " + Tr("Védekezés") + " " + std::to_string(g.Defence),
               x_ + 120, y_ + 90, palette::kInk, FontFace::Sans, 13);
        const int ability = std::clamp(g.SpecialAbility, 0, kAbilitySlots);
        p.Text(std::string(Tr("Speciális képesség:")) + " " + st.Texts.AbilityName[ability].str(), x_ + 120,
               y_ + 112, palette::kInk, FontFace::Sans, 13);
        p.SetClip(x_ + 28, y_ + 170, w_ - 56, h_ - 240);
        p.Wrapped(text_, x_ + 28, y_ + 170, w_ - 56, palette::kInk, FontFace::Serif, 14, 3);
        p.ClearClip();
    }
    void BodyInput(const Input&) override {}

    Game& game_;
    int side_, general_;
    std::string text_;
};

} // namespace

void RegimentListDialog(App& app, Game& game, const GiveOrder& give, int side, int corps) {
    if (!IsCorps(game.state, side, corps)) return;
    RegimentList d(app, game, give, side, corps);
    app.RunModal(d);
}

void TransferDialog(App& app, Game& game, const GiveOrder& give, int side, int corps) {
    if (!IsCorps(game.state, side, corps)) return;
    Transfer d(app, game, give, side, corps, Tr("Ezred áthelyezés"));
    app.RunModal(d);
}

void GeneralDialog(App& app, Game& game, const GiveOrder& give, int side, int corps) {
    if (!IsCorps(game.state, side, corps)) return;
    GeneralChange d(app, game, give, side, corps);
    app.RunModal(d);
}

void NewCorpsDialog(App& app, Game& game, const GiveOrder& give, int side, Hex hex) {
    NewCorps d(app, game, give, side, hex);
    app.RunModal(d);
}

void RecruitmentDialog(App& app, Game& game, const GiveOrder& give, int side, int city) {
    Recruitment d(app, game, give, side, city);
    app.RunModal(d);
}

int AllCorpsDialog(App& app, Game& game, const GiveOrder& give, int side) {
    AllCorps d(app, game, give, side);
    app.RunModal(d);
    return d.chosen;
}

bool BiographyScreen(App& app, Game& game, int side, int general) {
    if (!IsGeneral(game.state, side, general)) return false;
    const std::filesystem::path file =
        game.dir.Resolve(BiographyFileName(game.state.Language, side, general));
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    std::ostringstream text;
    text << in.rdbuf();
    std::string body = Cp1250ToUtf8(text.str());
    body.erase(std::remove(body.begin(), body.end(), '\r'), body.end());
    Biography d(app, game, side, general, body);
    app.RunModal(d);
    return true;
}

} // namespace vezer::ui
