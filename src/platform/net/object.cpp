#include "platform/net/object.h"

#include <algorithm>
#include <cstdio>

#include "platform/net/xmlhttp.h"
#include "platform/runtime/ansi.h"
#include "platform/runtime/errors.h"
#include "platform/runtime/text.h"

namespace win {

namespace {

// The tables alive now, in the order they were made.
// Never destroyed: windows held by the program's default instances end during the process's exit,
// after function-local statics made later than them would have gone.
std::vector<const NamedMethods*>& liveTables() {
    static auto* tables = new std::vector<const NamedMethods*>();
    return *tables;
}

}  // namespace

std::string textOf(const Variant& value) {
    if (const auto* text = std::get_if<std::string>(&value)) {
        return *text;
    }
    if (const auto* flag = std::get_if<bool>(&value)) {
        return *flag ? "True" : "False";
    }
    if (const auto* number = std::get_if<int32_t>(&value)) {
        return std::to_string(*number);
    }
    if (const auto* real = std::get_if<double>(&value)) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.15g", *real);
        return buffer;
    }
    return "";
}

bool truthOf(const Variant& value) {
    if (const auto* flag = std::get_if<bool>(&value)) {
        return *flag;
    }
    if (const auto* number = std::get_if<int32_t>(&value)) {
        return *number != 0;
    }
    if (const auto* real = std::get_if<double>(&value)) {
        return *real != 0;
    }
    if (const auto* text = std::get_if<std::string>(&value)) {
        const std::string word = platform::UCase(platform::Trim(*text));
        if (word == "TRUE") {
            return true;
        }
        if (word == "FALSE") {
            return false;
        }
    }
    if (std::holds_alternative<std::monostate>(value)) {
        return false;
    }
    platform::raise(platform::kTypeMismatch);
}

std::shared_ptr<Object> CreateObject(std::string_view progId) {
    if (platform::UCase(progId) == "MICROSOFT.XMLHTTP") {
        return std::make_shared<platform::net::XmlHttpRequest>();
    }
    platform::raise(platform::kCannotCreateObject);
}

Variant CallByName(const std::shared_ptr<Object>& object, std::string_view member,
                   const std::vector<Variant>& args) {
    if (!object) {
        platform::raise(platform::kObjectNotSet);
    }
    return object->invoke(member, args);
}

NamedMethods::NamedMethods(const Form* form, std::vector<Entry> methods)
    : form_(form), methods_(std::move(methods)) {
    liveTables().push_back(this);
}

NamedMethods::~NamedMethods() {
    auto& tables = liveTables();
    tables.erase(std::find(tables.begin(), tables.end(), this));
}

const NamedMethods::Method* NamedMethods::find(std::string_view name) const {
    for (const auto& [listed, method] : methods_) {
        if (platform::ansiEqualIgnoringCase(listed, name)) {
            return &method;
        }
    }
    return nullptr;
}

void CallByName(const Form& form, std::string_view method) {
    for (const NamedMethods* table : liveTables()) {
        if (table->form() == &form) {
            if (const NamedMethods::Method* found = table->find(method)) {
                // A copy: the method may unload the window and end the table.
                const NamedMethods::Method call = *found;
                call();
                return;
            }
        }
    }
    platform::raise(platform::kMemberNotSupported);
}

}  // namespace win
