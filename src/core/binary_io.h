#pragma once
// Little-endian readers and writers for the game's files. Nothing here reads or writes the
// memory of a record directly: every value goes through these calls in file order.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace vezer {

using Bytes = std::vector<std::uint8_t>;

// Reads a file as it lies on disk into a staged buffer. A missing or unreadable file is a
// FileIoError naming `displayName` (the game's own spelling of the name).
Bytes ReadFileBytes(const std::filesystem::path& path, const std::string& displayName);

// Sequential reader over a staged buffer. Reading past the end throws DataError with the name.
class BinaryReader {
public:
    BinaryReader(const Bytes& bytes, std::string displayName) : bytes_(&bytes), name_(std::move(displayName)) {}

    std::int32_t ReadInt();   // signed 32-bit little-endian
    std::uint8_t ReadByte();  // unsigned byte
    std::size_t Position() const { return pos_; }
    std::size_t Remaining() const { return bytes_->size() - pos_; }
    bool AtEnd() const { return pos_ >= bytes_->size(); }
    const std::string& Name() const { return name_; }
    // Throws the corrupt-file error for this file with the given reason.
    [[noreturn]] void Fail(const std::string& reason) const;

private:
    const Bytes* bytes_;
    std::string name_;
    std::size_t pos_ = 0;
};

class BinaryWriter {
public:
    void WriteInt(std::int32_t value);
    void WriteByte(std::uint8_t value);
    const Bytes& bytes() const { return bytes_; }
    Bytes& bytes() { return bytes_; }

private:
    Bytes bytes_;
};

// For tests: makes the atomic write fail after this many bytes of the temporary file.
struct WriteFault {
    std::size_t failAfterBytes = 0;
};

// Writes a file atomically: a temporary file in the same folder, flushed and fsynced, then
// renamed over the target. On any failure the previous file is left as it was, the temporary
// file is removed and FileIoError is thrown.
void WriteFileAtomic(const std::filesystem::path& path, std::span<const std::uint8_t> data,
                     const WriteFault* fault = nullptr);
void WriteFileAtomic(const std::filesystem::path& path, const std::string& data, const WriteFault* fault = nullptr);

// The running sums of the data files. Additions wrap as 32-bit integers, so a hostile file
// cannot overflow; the game's own files never come near the limit, so the sums are the same.
inline std::int32_t WrapAdd(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

} // namespace vezer
