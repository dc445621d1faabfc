#pragma once

#include <functional>
#include <string>
#include <vector>

namespace win {

class Form;
class Control;

// Input actions arrive from the backend as a name and its words. The window model handles:
//   close <form>                    the close box (unload mode 0)
//   menu <form> <item>              a choice from an open pop-up menu
//   click <form> <control>          a click on a control ("name(index)" for an array element)
//   select <form> <list box> <i>    a list box entry chosen
//   mousemove <form> <x> <y>        the mouse over a window, in pixels
//   end-session                     the session ends: every form unloads (unload mode 2)
// A form is named by its Name (the first loaded window of that name) or by "#<hWnd>".
// Other libraries add their own actions (a browser's page clicks, for example).
void RegisterInputAction(const std::string& name,
                         std::function<void(const std::vector<std::string>& args)> handler);

// The loaded window named by a form word; null when none.
Form* FindFormByWord(const std::string& word);
// The control named by a control word on a form; null when none.
Control* FindControlByWord(Form& form, const std::string& word);

}  // namespace win
