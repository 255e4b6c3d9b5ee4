#pragma once
// Errors of the game's files and of our own code.

#include <stdexcept>
#include <string>

namespace vezer {

// The prefix every corrupt-file message starts with; the file name follows it.
inline constexpr const char* kCorruptFilePrefix = "Corrupt file / Hibás file! ";

// A broken, truncated or unreadable file. `file` is the name as the game spells it
// ("Data\\Core.dat", "save\\PBEM.sav"); `reason` says what was wrong for the log.
class DataError : public std::runtime_error {
public:
    DataError(std::string file, std::string reason);
    const std::string& file() const { return file_; }
    const std::string& reason() const { return reason_; }
    // The text shown to the player: the corrupt-file prefix and the file name.
    std::string PlayerMessage() const { return kCorruptFilePrefix + file_; }

private:
    std::string file_;
    std::string reason_;
};

// A file that should exist and does not, or cannot be opened or written.
class FileIoError : public std::runtime_error {
public:
    FileIoError(std::string file, std::string reason);
    const std::string& file() const { return file_; }

private:
    std::string file_;
};

// An order or message that the rules cannot execute (an unknown code, a record out of range).
class OrderError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace vezer
