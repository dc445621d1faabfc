#pragma once

#include <filesystem>
#include <string>
#include <system_error>

namespace platform {

// The exclusive lock every writer of one settings file (registry hive, INI file) holds while it
// reads the file again, changes it and replaces it: flock on "<file>.lock", made when missing and
// left in place. The system drops the lock of a process that dies.
//
// Once the lock is held, the temporary files that writers killed in the middle of a write left
// beside the file are removed (see removeDeadWritersTemporaries).
class WriterLock {
  public:
    explicit WriterLock(const std::filesystem::path& file);
    ~WriterLock();
    WriterLock(const WriterLock&) = delete;
    WriterLock& operator=(const WriterLock&) = delete;

    bool held() const { return fd_ >= 0; }
    // Why the lock is not held: a sentence naming the lock file, and the system's error.
    const std::string& error() const { return error_; }
    std::error_code cause() const { return cause_; }

  private:
    int fd_ = -1;
    std::string error_;
    std::error_code cause_;
};

}  // namespace platform
