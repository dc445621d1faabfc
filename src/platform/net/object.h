#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace win {

class Form;

// A late-bound value: Empty, Boolean, Long, Double or String.
using Variant = std::variant<std::monostate, bool, int32_t, double, std::string>;

// The argument as text / as a truth value, converted the way late binding does (numbers to
// their decimal text, "True"/"False" and numbers to truth); run-time error 13 when it cannot be.
std::string textOf(const Variant& value);
bool truthOf(const Variant& value);

// A component whose members are reached by name, without regard to case.
class Object {
  public:
    virtual ~Object() = default;
    // Calls a method or reads a property; run-time error 438 for a member the object lacks, 450
    // for a wrong number of arguments.
    virtual Variant invoke(std::string_view member, const std::vector<Variant>& args) = 0;
};

// Makes a component from its programmatic identifier ("Microsoft.XMLHTTP"); run-time error 429
// when no component has that identifier.
std::shared_ptr<Object> CreateObject(std::string_view progId);

// Calls a member of object by its name; run-time error 91 when object is Nothing.
Variant CallByName(const std::shared_ptr<Object>& object, std::string_view member,
                   const std::vector<Variant>& args = {});

// Methods of a window that code elsewhere calls by name. A window holds one as a member, listing
// its methods:
//   win::NamedMethods methods{this, {{"HTML_ClickEvent", [this] { HTML_ClickEvent(); }}}};
// and CallByName(window, "HTML_ClickEvent") calls it while the member lives. Names match without
// regard to case.
class NamedMethods {
  public:
    using Method = std::function<void()>;
    using Entry = std::pair<std::string, Method>;
    NamedMethods(const Form* form, std::vector<Entry> methods);
    ~NamedMethods();
    NamedMethods(const NamedMethods&) = delete;
    NamedMethods& operator=(const NamedMethods&) = delete;

    const Form* form() const { return form_; }
    // The method of that name; null when there is none.
    const Method* find(std::string_view name) const;

  private:
    const Form* form_;
    std::vector<Entry> methods_;
};

// Calls a window's method listed in its NamedMethods, without arguments; run-time error 438 for a
// name the window does not list.
void CallByName(const Form& form, std::string_view method);

}  // namespace win
