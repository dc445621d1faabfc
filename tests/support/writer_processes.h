#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

// Several processes writing one settings file: at the same time, or killed in the middle.
namespace testsupport {

// Runs write(writer) for writer = 0 .. count - 1, each in a child process, all started at once.
// True when every one returned true.
bool writeTogether(int count, const std::function<bool(int writer)>& write);

struct KillLoop {
    std::vector<int> stored;     // every n whose write returned true before its writer was killed
    int temporaryFilesSeen = 0;  // kills after which a "*.tmp-*" file lay in the folder
    int failedWriters = 0;       // writers that stopped on a write that returned false
};

// tries times, a child process runs write(n) for n = next, next + 1, ... and is killed with
// SIGKILL after a random time of up to 3 ms. The child reports each n after its write returned.
KillLoop killWritersMidway(int tries, const std::filesystem::path& folder,
                           const std::function<bool(int n)>& write);

// The two ways writers of one settings file could lose values, checked in folder: eight processes
// writing 25 values each at once, then a kill loop (killTries(25) writers killed midway).
// write(name, value) stores one value and tells whether it did; read(name) gives it back. Every
// value stored must be there afterwards, and the folder must hold files only (no temporary file
// of a killed writer once another one has written).
void expectWritersLoseNothing(
    const std::filesystem::path& folder, const std::vector<std::string>& files,
    const std::function<bool(const std::string&, const std::string&)>& write,
    const std::function<std::string(const std::string&)>& read);

// How many tries a kill loop makes: TARNIX_KILL_TRIES when set (the long runs of
// bench/store-faults), else fallback.
int killTries(int fallback);

}  // namespace testsupport
