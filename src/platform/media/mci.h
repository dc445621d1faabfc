#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/media/mci_errors.h"

namespace win {

// The multimedia command interpreter. Commands (verbs and keywords without regard to case):
//   OPEN device              opens a sound file; the device is named after the path as written
//   PLAY device [FROM ms]    plays on from the current position, or from ms; returns at once
//   STOP device              stops, keeping the position
//   CLOSE device | CLOSE ALL stops and forgets the device (every device)
//   STATUS device MODE | LENGTH | POSITION   answers "playing"/"stopped" or milliseconds
// The device name is a bare word or a double-quoted path; names compare without regard to case.
// The command arrives as UTF-8 and is interpreted in the ANSI code page. A STATUS answer goes to
// returnBuffer, cut to returnSize - 1 characters; other commands leave the buffer alone. Returns
// 0 or one of the platform::media::MciError codes. The path is only ever opened as a file.
uint32_t mciSendStringA(std::string_view command, std::string& returnBuffer, uint32_t returnSize,
                        intptr_t callbackWindow);

}  // namespace win
