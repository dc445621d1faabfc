#include "platform/net/object.h"

#include <cstdio>

#include "platform/net/xmlhttp.h"
#include "platform/runtime/errors.h"
#include "platform/runtime/text.h"

namespace win {

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

}  // namespace win
