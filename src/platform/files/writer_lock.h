#pragma once

#include <filesystem>

#include "platform/runtime/result.h"

namespace platform {

// The exclusive lock every writer of one settings file (registry hive, INI file) holds while it
// reads the file again, changes it and replaces it: flock on "<file>.lock", made when missing and
// left in place. The system drops the lock of a process that dies.
//
// Once the lock is held, the temporary files that writers killed in the middle of a write left
// beside the file are removed (see removeDeadWritersTemporaries).
class WriterLock {
  public:
    // The lock, or why it is not held: the system's errno, and a sentence naming the lock file
    // with the system's text.
    static Result<WriterLock> acquire(const std::filesystem::path& file);

    WriterLock(WriterLock&& other) noexcept;
    ~WriterLock();
    WriterLock(const WriterLock&) = delete;
    WriterLock& operator=(const WriterLock&) = delete;
    WriterLock& operator=(WriterLock&&) = delete;

  private:
    explicit WriterLock(int fd) : fd_(fd) {}

    int fd_ = -1;
};

}  // namespace platform
