#pragma once
// The interface texts: Hungarian in the code, English from the gettext catalogue
// (po/en.po, compiled to <game dir>/locale/en/LC_MESSAGES/vezer.mo at build time).

#include <string>

namespace vezer::ui {

inline constexpr int kHungarian = 1;
inline constexpr int kEnglish = 2;

// Binds the catalogue of the game directory and chooses the interface language (the game's
// Language: 1 Hungarian, 2 English). Texts without a translation stay Hungarian.
void SetInterfaceLanguage(const std::string& gameDir, int language);
int InterfaceLanguage();

// The text in the interface language.
const char* Tr(const char* hungarian);

} // namespace vezer::ui
