#pragma once

#include <filesystem>

namespace platform {

// True when another process of the program already runs with the same settings store. The first
// call claims the instance lock for this process and keeps it until the process ends; the operating
// system drops the lock of a process that dies, so a killed instance never blocks the next start.
// When the lock file cannot be made (an unwritable registry folder), the check is off: that is
// said once, on stderr and in the trace ("instance lock-failed file=... reason=..."), and the
// answer is false.
bool PrevInstance();

// The lock that PrevInstance claims: a file beside the registry hives of the process store.
std::filesystem::path instanceLockPath();

// Drops this process's claim (tests start several "processes" in one).
void releaseInstanceLock();

}  // namespace platform
