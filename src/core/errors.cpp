#include "core/errors.h"

namespace vezer {

DataError::DataError(std::string file, std::string reason)
    : std::runtime_error(kCorruptFilePrefix + file + " (" + reason + ")"), file_(std::move(file)),
      reason_(std::move(reason)) {}

FileIoError::FileIoError(std::string file, std::string reason)
    : std::runtime_error(file + ": " + reason), file_(std::move(file)) {}

} // namespace vezer
