#pragma once
// The message dialog of the rules in its modes: a text with an OK button, and a one-line text
// entry (chat, the e-mail game's name, the password). Both are modal: they run the frame loop.

#include "ui/app.h"

#include <string>

namespace vezer::ui {

void MessageDialog(App& app, const std::string& text);
// A question with two buttons; true for the first.
bool ConfirmDialog(App& app, const std::string& text, const std::string& yes, const std::string& no);
// Returns the text entered; `mayBeEmpty` false keeps the dialog open until something is typed.
// `hidden` shows stars (the password).
std::string AskTextDialog(App& app, const std::string& prompt, bool mayBeEmpty, bool hidden);

} // namespace vezer::ui
