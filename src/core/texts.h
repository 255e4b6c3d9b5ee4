#pragma once
// The display text tables and the regiment display names.

#include "core/game.h"

#include <string>

namespace vezer {

// Reads "Data\\alapszoveg<language>.dat" and "Data\\palyaszoveg<language><DataSet>.dat".
// A missing file is a FileIoError; a short file leaves the remaining entries empty.
void LoadTexts(Game& game, int language);
// Reads "Data\\tutorial2.txt" (at most 1000 lines); TutorialCursor becomes 0.
void LoadTutorialText(Game& game);

// "12. <nation> <type>": the regiment's Ordinal, its nation's name and its type's name.
std::string RegimentTitle(const State& state, int side, int r);
// "the " + RegimentTitle.
std::string RegimentSubject(const State& state, int side, int r);
std::string RegimentObject(const State& state, int side, int r);
std::string RegimentGoal(const State& state, int side, int r);

// File names of the text files (numbers in decimal, language first; cut to 30 characters).
std::string BaseTextFileName(int language);
std::string ScenarioTextFileName(int language, int dataSet);

} // namespace vezer
