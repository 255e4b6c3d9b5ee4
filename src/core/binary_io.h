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

// The running sums of the data files. Additions wrap as 32-bit integers, so a hostile file
// cannot overflow; the game's own files never come near the limit, so the sums are the same.
inline std::int32_t WrapAdd(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

// The running check value of a file: values are added as they pass, with 32-bit wrapping
// additions, and the sum is cut to the format's modulus (the remainder truncating toward zero,
// as the game computes it) at the points the format's walk names.
class CheckValue {
public:
    explicit CheckValue(int modulus = 0) : modulus_(modulus) {}
    void Add(std::int32_t v) { sum_ = WrapAdd(sum_, v); }
    void Reduce() {
        if (modulus_ > 0) sum_ %= modulus_;
    }
    std::int32_t Value() const { return sum_; }
    int Modulus() const { return modulus_; }

private:
    int modulus_ = 0;
    std::int32_t sum_ = 0;
};

// Sequential reader over a staged buffer, with the file's running check value beside it.
// Reading past the end throws DataError with the name.
class BinaryReader {
public:
    BinaryReader(const Bytes& bytes, std::string displayName, int checkModulus = 0)
        : bytes_(&bytes), name_(std::move(displayName)), check_(checkModulus) {}

    std::int32_t ReadInt();   // signed 32-bit little-endian
    std::uint8_t ReadByte();  // unsigned byte
    std::size_t Position() const { return pos_; }
    std::size_t Remaining() const { return bytes_->size() - pos_; }
    bool AtEnd() const { return pos_ >= bytes_->size(); }
    const std::string& Name() const { return name_; }
    // Throws the corrupt-file error for this file with the given reason.
    [[noreturn]] void Fail(const std::string& reason) const;

    CheckValue& Check() { return check_; }
    const CheckValue& Check() const { return check_; }

private:
    const Bytes* bytes_;
    std::string name_;
    std::size_t pos_ = 0;
    CheckValue check_;
};

// Writes values in file order, with the file's running check value beside them.
class BinaryWriter {
public:
    explicit BinaryWriter(int checkModulus = 0) : check_(checkModulus) {}
    void WriteInt(std::int32_t value);
    void WriteByte(std::uint8_t value);
    const Bytes& bytes() const { return bytes_; }
    Bytes& bytes() { return bytes_; }

    CheckValue& Check() { return check_; }
    const CheckValue& Check() const { return check_; }

private:
    Bytes bytes_;
    CheckValue check_;
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

} // namespace vezer
