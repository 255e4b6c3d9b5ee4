#pragma once
// Reading the readable sources of the reference data (types, formations, generals, names,
// weather, texts, settings) and writing the game's text files from them.

#include "mkdata.h"

#include <filesystem>
#include <string>
#include <vector>

namespace mkdata {

// One line of a source that carries data, with its line number in the source file.
struct SourceLine {
    int line = 0;
    std::string text;
};

// A tab-separated table: lines starting with '#' are comments and blank lines are skipped;
// the first remaining line names the columns. Cells are taken as written (no trimming), so a
// text may begin with a blank.
struct SourceTable {
    std::filesystem::path file;
    std::vector<std::string> columns;
    std::vector<SourceLine> rows;                // the raw lines, for their numbers
    std::vector<std::vector<std::string>> cells; // the cells of each row
};
SourceTable ReadTable(const std::filesystem::path& file);

// Reads the cells of one row by column name, each failure naming the source line.
class RowReader {
public:
    RowReader(const SourceTable& table, std::size_t row);
    int Line() const { return table_.rows[row_].line; }
    const std::filesystem::path& File() const { return table_.file; }
    std::string Text(const std::string& column) const;
    int Int(const std::string& column, int lo, int hi) const;
    [[noreturn]] void Fail(const std::string& what) const { throw SourceError(File(), Line(), what); }

private:
    const std::string& Cell(const std::string& column) const;
    const SourceTable& table_;
    std::size_t row_;
};

// The lines of a plain text source; whole-line '#' comments are dropped, everything else is
// kept as written (blank lines too).
std::vector<SourceLine> ReadSourceLines(const std::filesystem::path& file);

// Refuses a text the game cannot hold: a character outside Windows-1250, or more than
// `maxChars` characters; `what` names the field in the error.
void CheckGameText(const std::filesystem::path& file, int line, const std::string& text, std::size_t maxChars,
                   const std::string& what);

// Writes a game text file: Windows-1250, CR LF (the folders are created as needed).
void WriteTextOutput(const Context& ctx, const std::string& relativePath,
                     const std::vector<std::string>& lines);

// A whole number written in decimal, or nothing when the text is not one.
bool ParseWholeNumber(const std::string& text, long long& value);

} // namespace mkdata
