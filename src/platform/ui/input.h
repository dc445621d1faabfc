#pragma once

#include "platform/runtime/backend.h"

namespace win {

class Form;
class Control;

// Typed input events (platform::input) arrive from the backend keyed by window handle and control
// id; the model applies them here. An event that finds nothing to act on (a window gone or
// hidden, a disabled or hidden control, a list entry out of range) is traced as
// "input ignored <why>" and changes nothing.

// The control with that id on a form; null when none.
Control* FindControlById(Form& form, int32_t id);

}  // namespace win
