#include "ui/menu.h"

#include "ui/backdrop.h"
#include "ui/dialogs.h"
#include "ui/new_game_screen.h"
#include "ui/settings_screen.h"
#include "ui/text.h"

namespace vezer::ui {

namespace {

enum Item { kSingle = 1, kMulti, kSettings, kEncyclopedia, kQuit, kVersion, kTitle, kSubtitle };

} // namespace

MenuScreen::MenuScreen(App& app) : Screen(app) {
    for (int id : {kSingle, kMulti, kSettings, kEncyclopedia, kQuit}) {
        Label l;
        l.id = id;
        l.align = Align::Right;
        l.size = 30;
        labels_.Add(l);
    }
    Label version;
    version.id = kVersion;
    version.align = Align::Right;
    version.heading = true;
    version.face = FontFace::Serif;
    version.size = 13;
    labels_.Add(version);
    SetTopLevel();
    // The encyclopedia is hidden at start.
    labels_.Find(kEncyclopedia)->visible = false;
}

void MenuScreen::SetTopLevel() {
    multiplayer_ = false;
    labels_.Find(kSingle)->text = Tr("Egyjátékos mód");
    labels_.Find(kMulti)->text = Tr("Többjátékos mód");
    labels_.Find(kSettings)->text = Tr("Beállítások");
    labels_.Find(kEncyclopedia)->text = Tr("Enciklopédia");
    labels_.Find(kQuit)->text = Tr("Kilépés");
    labels_.Find(kVersion)->text = std::string(Tr("Verzió: ")) + "1.3";
    for (int id : {kSettings, kQuit}) labels_.Find(id)->visible = true;
}

void MenuScreen::Layout(int w, int h) {
    // Items at 2/16 .. 6/16 of the height, right-aligned with a margin.
    const int right = w - 56;
    const int ids[] = {kSingle, kMulti, kSettings, kEncyclopedia, kQuit};
    for (int i = 0; i < 5; ++i) {
        Label* l = labels_.Find(ids[i]);
        l->x = right;
        l->y = (i + 2) * h / 16;
    }
    Label* v = labels_.Find(kVersion);
    v->x = right;
    v->y = h - 52;
}

void MenuScreen::Draw(Painter& p) {
    const int w = p.target()->w, h = p.target()->h;
    DrawBackdrop(app_, p, "menu");
    if (!app_.pictures().Has("menu")) {
        // The title the painted background will carry.
        p.Text("Vezér", 64, 56, palette::kInk, FontFace::SerifBold, 72);
        p.Text(Tr("A magyar szabadságharc, 1848–49"), 70, 150, palette::kFaded, FontFace::Serif, 22);
        p.Fill(70, 186, 420, 2, palette::kInk);
    }
    Layout(w, h);
    labels_.Draw(p);
}

void MenuScreen::Choose(int id) {
    switch (id) {
    case kSingle: {
        NewGameScreen setup(app_, multiplayer_);
        app_.RunModal(setup);
        SetTopLevel();
        break;
    }
    case kMulti:
        if (!multiplayer_) {
            multiplayer_ = true;
            labels_.Find(kSingle)->text = "Email";
            labels_.Find(kMulti)->text = "TCP/IP";
            for (int i : {kSettings, kEncyclopedia, kQuit}) labels_.Find(i)->visible = false;
        } else {
            MessageDialog(app_, Tr("A hálózati játék ebben a változatban még nem érhető el."));
            SetTopLevel();
        }
        break;
    case kSettings: {
        SettingsScreen settings(app_, nullptr);
        app_.RunModal(settings);
        SetTopLevel();
        break;
    }
    case kQuit:
        closed = true;
        break;
    default:
        break;
    }
}

void MenuScreen::OnInput(const Input& in) {
    if (in.kind == Input::Kind::MouseMove) labels_.Hover(in.x, in.y);
    if (in.kind == Input::Kind::MouseUp && in.button == 1) {
        Layout(app_.window().logicalWidth(), app_.window().logicalHeight());
        if (Label* l = labels_.At(app_.fonts(), in.x, in.y)) Choose(l->id);
    }
    if (in.kind == Input::Kind::Key && in.key == SDLK_ESCAPE) {
        if (multiplayer_) {
            SetTopLevel();
        } else {
            closed = true;
        }
    }
}

} // namespace vezer::ui
