#pragma once

namespace win {

// Runs one pass of the message loop: pending input and window events, then the timers that are due.
// Returns the number of open forms.
int DoEvents();

}  // namespace win
