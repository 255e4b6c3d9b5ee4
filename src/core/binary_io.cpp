#include "core/binary_io.h"

#include "core/errors.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace vezer {

Bytes ReadFileBytes(const std::filesystem::path& path, const std::string& displayName) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw FileIoError(displayName, "cannot open " + path.string());
    Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw FileIoError(displayName, "cannot read " + path.string());
    return bytes;
}

std::int32_t BinaryReader::ReadInt() {
    if (Remaining() < 4) Fail("the file ends early");
    const std::uint8_t* p = bytes_->data() + pos_;
    pos_ += 4;
    std::uint32_t v = std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
                      std::uint32_t{p[3]} << 24;
    return static_cast<std::int32_t>(v);
}

std::uint8_t BinaryReader::ReadByte() {
    if (Remaining() < 1) Fail("the file ends early");
    return (*bytes_)[pos_++];
}

void BinaryReader::Fail(const std::string& reason) const { throw DataError(name_, reason); }

void BinaryWriter::WriteInt(std::int32_t value) {
    auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void BinaryWriter::WriteByte(std::uint8_t value) { bytes_.push_back(value); }

namespace {

std::string ErrnoText() { return std::strerror(errno); }

// Writes everything or fails; `fault` cuts the write short for tests.
bool WriteAll(int fd, const std::uint8_t* data, std::size_t size, const WriteFault* fault) {
    std::size_t limit = size;
    if (fault && fault->failAfterBytes < size) limit = fault->failAfterBytes;
    std::size_t done = 0;
    while (done < limit) {
        ssize_t n = ::write(fd, data + done, limit - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    if (limit < size) {
        errno = EIO;
        return false;
    }
    return true;
}

} // namespace

void WriteFileAtomic(const std::filesystem::path& path, std::span<const std::uint8_t> data,
                     const WriteFault* fault) {
    std::filesystem::path dir = path.parent_path();
    if (dir.empty()) dir = ".";
    std::string pattern = (dir / ("." + path.filename().string() + ".XXXXXX")).string();
    std::vector<char> tmpName(pattern.begin(), pattern.end());
    tmpName.push_back('\0');
    int fd = ::mkstemp(tmpName.data());
    if (fd < 0) throw FileIoError(path.string(), "cannot create a temporary file: " + ErrnoText());
    // mkstemp makes the file private; the game's files are ordinary readable files.
    ::fchmod(fd, 0644);
    bool ok = WriteAll(fd, data.data(), data.size(), fault) && ::fsync(fd) == 0;
    std::string failure = ok ? "" : ErrnoText();
    if (::close(fd) != 0 && ok) {
        ok = false;
        failure = ErrnoText();
    }
    if (ok && ::rename(tmpName.data(), path.c_str()) != 0) {
        ok = false;
        failure = ErrnoText();
    }
    if (!ok) {
        ::unlink(tmpName.data());
        throw FileIoError(path.string(), "cannot write: " + failure);
    }
    // Make the rename itself durable.
    int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
}

void WriteFileAtomic(const std::filesystem::path& path, const std::string& data, const WriteFault* fault) {
    WriteFileAtomic(path, std::span(reinterpret_cast<const std::uint8_t*>(data.data()), data.size()), fault);
}

} // namespace vezer
