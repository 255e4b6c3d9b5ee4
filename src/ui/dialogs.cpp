#include "ui/dialogs.h"

#include "ui/backdrop.h"
#include "ui/text.h"
#include "ui/widgets.h"

namespace vezer::ui {

namespace {

class MessageBox : public Screen {
public:
    MessageBox(App& app, std::string text, bool entry, bool mayBeEmpty, bool hidden)
        : Screen(app), text_(std::move(text)), entry_(entry), mayBeEmpty_(mayBeEmpty), hidden_(hidden) {}

    bool Opaque() const override { return false; }

    void Draw(Painter& p) override {
        const int sw = p.target()->w, sh = p.target()->h;
        p.Shade(0, 0, sw, sh, Colour{0, 0, 0, 90});
        const int w = 520, h = entry_ ? 230 : 200;
        x_ = (sw - w) / 2;
        y_ = (sh - h) / 2;
        DrawParchment(p, x_, y_, w, h);
        p.Wrapped(text_, x_ + 24, y_ + 24, w - 48, palette::kInk, FontFace::Serif, 16);
        if (entry_) {
            p.Fill(x_ + 24, y_ + 120, w - 48, 30, Colour{246, 240, 222});
            p.Frame(x_ + 24, y_ + 120, w - 48, 30, palette::kInk);
            const std::string shown = hidden_ ? std::string(CountCharacters(answer_), '*') : answer_;
            const int tw = p.Text(shown, x_ + 30, y_ + 125, palette::kInk, FontFace::Sans, 15);
            p.Fill(x_ + 31 + tw, y_ + 124, 2, 22, palette::kInk);
        }
        ok_ = Button{x_ + w / 2 - 60,
                     y_ + h - 50,
                     120,
                     32,
                     Tr("Rendben"),
                     entry_ ? (mayBeEmpty_ || !answer_.empty()) : true};
        ok_.Draw(p, ok_.Contains(app_.mouseX(), app_.mouseY()));
    }

    void OnInput(const Input& in) override {
        if (in.kind == Input::Kind::MouseUp && in.button == 1 && ok_.Contains(in.x, in.y)) Close();
        if (in.kind == Input::Kind::Key) {
            if (in.key == SDLK_RETURN || in.key == SDLK_KP_ENTER) Close();
            if (!entry_ && (in.key == SDLK_ESCAPE || in.key == SDLK_SPACE)) Close();
            if (entry_ && in.key == SDLK_BACKSPACE && !answer_.empty()) {
                // Remove one UTF-8 character.
                std::size_t n = answer_.size() - 1;
                while (n > 0 && (static_cast<unsigned char>(answer_[n]) & 0xC0) == 0x80) --n;
                answer_.erase(n);
            }
        }
        if (entry_ && in.kind == Input::Kind::Text && CountCharacters(answer_) < 40) answer_ += in.text;
    }

    std::string answer_;

private:
    static std::size_t CountCharacters(const std::string& s) {
        std::size_t n = 0;
        for (unsigned char c : s)
            if ((c & 0xC0) != 0x80) ++n;
        return n;
    }
    void Close() {
        if (entry_ && !mayBeEmpty_ && answer_.empty()) return;
        closed = true;
    }

    std::string text_;
    bool entry_;
    bool mayBeEmpty_;
    bool hidden_;
    int x_ = 0, y_ = 0;
    Button ok_;
};

class Question : public Screen {
public:
    Question(App& app, std::string text, std::string yes, std::string no)
        : Screen(app), text_(std::move(text)), yesText_(std::move(yes)), noText_(std::move(no)) {}
    bool Opaque() const override { return false; }
    void Draw(Painter& p) override {
        const int sw = p.target()->w, sh = p.target()->h;
        p.Shade(0, 0, sw, sh, Colour{0, 0, 0, 90});
        const int w = 460, h = 200, x = (sw - w) / 2, y = (sh - h) / 2;
        DrawParchment(p, x, y, w, h);
        p.Wrapped(text_, x + 24, y + 24, w - 48, palette::kInk, FontFace::Serif, 16);
        yes_ = Button{x + w / 2 - 130, y + h - 50, 120, 32, yesText_, true};
        no_ = Button{x + w / 2 + 10, y + h - 50, 120, 32, noText_, true};
        yes_.Draw(p, yes_.Contains(app_.mouseX(), app_.mouseY()));
        no_.Draw(p, no_.Contains(app_.mouseX(), app_.mouseY()));
    }
    void OnInput(const Input& in) override {
        if (in.kind == Input::Kind::MouseUp && in.button == 1) {
            if (yes_.Contains(in.x, in.y)) answer = true, closed = true;
            if (no_.Contains(in.x, in.y)) closed = true;
        }
        if (in.kind == Input::Kind::Key && (in.key == SDLK_RETURN || in.key == SDLK_KP_ENTER)) answer = true, closed = true;
        if (in.kind == Input::Kind::Key && in.key == SDLK_ESCAPE) closed = true;
    }
    bool answer = false;

private:
    std::string text_, yesText_, noText_;
    Button yes_, no_;
};

} // namespace

bool ConfirmDialog(App& app, const std::string& text, const std::string& yes, const std::string& no) {
    Question q(app, text, yes, no);
    app.RunModal(q);
    return q.answer;
}

void MessageDialog(App& app, const std::string& text) {
    MessageBox box(app, text, false, true, false);
    app.RunModal(box);
}

std::string AskTextDialog(App& app, const std::string& prompt, bool mayBeEmpty, bool hidden) {
    MessageBox box(app, prompt, true, mayBeEmpty, hidden);
    SDL_StartTextInput();
    app.RunModal(box);
    SDL_StopTextInput();
    if (box.answer_.empty() && !mayBeEmpty) return "x"; // the game is quitting
    return box.answer_;
}

} // namespace vezer::ui
