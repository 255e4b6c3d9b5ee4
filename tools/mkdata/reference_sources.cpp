#include "reference_sources.h"

#include "core/text.h"
#include "core/textfile.h"

#include <fstream>

namespace mkdata {

namespace {

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> cells;
    std::size_t start = 0;
    for (;;) {
        std::size_t tab = line.find('\t', start);
        cells.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) return cells;
        start = tab + 1;
    }
}

std::vector<SourceLine> ReadRawLines(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw SourceError(file, 0, "cannot open");
    std::vector<SourceLine> lines;
    std::string text;
    int number = 0;
    while (std::getline(in, text)) {
        ++number;
        if (!text.empty() && text.back() == '\r') text.pop_back();
        lines.push_back({number, text});
    }
    return lines;
}

} // namespace

SourceTable ReadTable(const std::filesystem::path& file) {
    SourceTable table;
    table.file = file;
    for (SourceLine& line : ReadRawLines(file)) {
        if (line.text.empty() || line.text[0] == '#') continue;
        if (line.text.find_first_not_of(" \t") == std::string::npos) continue;
        std::vector<std::string> cells = SplitTabs(line.text);
        if (table.columns.empty()) {
            table.columns = std::move(cells);
            continue;
        }
        if (cells.size() != table.columns.size())
            throw SourceError(file, line.line,
                              "expected " + std::to_string(table.columns.size()) +
                                  " tab-separated cells, found " + std::to_string(cells.size()));
        table.rows.push_back(std::move(line));
        table.cells.push_back(std::move(cells));
    }
    if (table.columns.empty()) throw SourceError(file, 0, "no column line");
    return table;
}

RowReader::RowReader(const SourceTable& table, std::size_t row) : table_(table), row_(row) {}

const std::string& RowReader::Cell(const std::string& column) const {
    for (std::size_t i = 0; i < table_.columns.size(); ++i)
        if (table_.columns[i] == column) return table_.cells[row_][i];
    throw SourceError(File(), Line(), "the table has no column '" + column + "'");
}

std::string RowReader::Text(const std::string& column) const {
    return Cell(column);
}

int RowReader::Int(const std::string& column, int lo, int hi) const {
    const std::string& text = Cell(column);
    long long value = 0;
    if (!ParseWholeNumber(text, value)) Fail(column + " '" + text + "' is not a whole number");
    if (value < lo || value > hi)
        Fail(column + " " + text + " is outside " + std::to_string(lo) + ".." + std::to_string(hi));
    return static_cast<int>(value);
}

std::vector<SourceLine> ReadSourceLines(const std::filesystem::path& file) {
    std::vector<SourceLine> kept;
    for (SourceLine& line : ReadRawLines(file))
        if (line.text.empty() || line.text[0] != '#') kept.push_back(std::move(line));
    return kept;
}

void CheckGameText(const std::filesystem::path& file, int line, const std::string& text, std::size_t maxChars,
                   const std::string& what) {
    if (!vezer::FitsCp1250(text))
        throw SourceError(file, line, what + " has a character Windows-1250 cannot hold: " + text);
    std::size_t chars = vezer::CharCount(text);
    if (chars > maxChars)
        throw SourceError(file, line,
                          what + " is " + std::to_string(chars) + " characters long, more than " +
                              std::to_string(maxChars) + ": " + text);
}

void WriteTextOutput(const Context& ctx, const std::string& relativePath,
                     const std::vector<std::string>& lines) {
    std::filesystem::path target = ctx.out / relativePath;
    std::filesystem::create_directories(target.parent_path());
    vezer::WriteTextLines(target, lines);
}

bool ParseWholeNumber(const std::string& text, long long& value) {
    if (text.empty() || !(text[0] == '-' || (text[0] >= '0' && text[0] <= '9'))) return false;
    try {
        std::size_t used = 0;
        value = std::stoll(text, &used);
        return used == text.size();
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace mkdata
