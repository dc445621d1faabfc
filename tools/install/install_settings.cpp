#include "install/install_settings.h"

#include <algorithm>
#include <array>

#include "platform/files/profile.h"
#include "platform/files/regular_file.h"
#include "platform/registry/registry_store.h"
#include "platform/runtime/ansi.h"
#include "platform/runtime/text.h"
#include "storage/clsRegistry.h"

namespace install {

namespace {
// How a line break of the company address is stored.
constexpr std::string_view kStoredLineBreak = "¿§æ§¿";

bool fitsCodePage(std::string_view text) {
    return platform::fromAnsi(platform::toAnsi(text)) == text;
}

bool hasBlankOrControl(std::string_view text) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= ' ' || byte == 0x7F) {
            return true;
        }
    }
    return false;
}

// What is wrong with a site address, or nothing: scheme and host, every path is appended to it.
std::optional<std::string> siteProblem(std::string_view site) {
    const size_t host = site.starts_with("http://") ? 7 : site.starts_with("https://") ? 8 : 0;
    if (host == 0 || site.size() == host || hasBlankOrControl(site) ||
        site.find('/', host) != std::string_view::npos) {
        return "--site must be \"http://\" or \"https://\" and a host, with no \"/\" after it "
               "(the paths begin with one): " +
               std::string(site);
    }
    return std::nullopt;
}
}  // namespace

std::string usage() {
    return "usage: tarnix-install-settings --site URL --company NAME [--address TEXT] "
           "[--tooltip TEXT] [--login PATH] [--update PATH] [--popups PATH] --ini FILE\n"
           "Writes the site's address and service paths and the company details into the\n"
           "registry folder named by TARNIX_REGISTRY_DIR (or the user's own when unset).\n";
}

std::optional<std::string> parseArguments(std::span<const std::string_view> args,
                                          InstallSettings& settings) {
    struct Option {
        std::string_view name;
        std::string* value;
    };
    const std::array<Option, 8> options = {{{"--site", &settings.site},
                                            {"--company", &settings.company},
                                            {"--address", &settings.address},
                                            {"--tooltip", &settings.tooltip},
                                            {"--login", &settings.loginPath},
                                            {"--update", &settings.updatePath},
                                            {"--popups", &settings.newRequestPath},
                                            {"--ini", &settings.iniPath}}};
    for (size_t i = 0; i < args.size(); i += 2) {
        if (args[i] == "--help" || args[i] == "-h") {
            settings.help = true;
            return std::nullopt;
        }
        const auto option = std::find_if(options.begin(), options.end(),
                                         [&](const Option& o) { return o.name == args[i]; });
        if (option == options.end()) {
            return "unknown option " + std::string(args[i]);
        }
        if (i + 1 >= args.size()) {
            return "missing value after " + std::string(args[i]);
        }
        *option->value = std::string(args[i + 1]);
    }
    if (settings.site.empty() || settings.company.empty() || settings.iniPath.empty()) {
        return "--site, --company and --ini are required";
    }
    settings.address =
        platform::Replace(platform::Replace(settings.address, "\r\n", "\n"), "\r", "\n");
    for (const Option& option : options) {
        if (!fitsCodePage(*option.value)) {
            return std::string(option.name) +
                   " holds characters that the registry's code page (Windows-1252) cannot hold";
        }
    }
    for (const Option& path : {options[4], options[5], options[6]}) {
        if (!path.value->starts_with('/') || hasBlankOrControl(*path.value)) {
            return std::string(path.name) +
                   " must begin with \"/\" and hold no blank: " + *path.value;
        }
    }
    return siteProblem(settings.site);
}

std::optional<std::string> settingsKeyPath(const std::string& iniPath, std::string& error) {
    if (const auto read = platform::readRegularFile(iniPath, platform::kSettingsFileLimit); !read) {
        error = "cannot read " + iniPath + ": " + read.failure().reason;
        return std::nullopt;
    }
    std::string keyPath;
    win::GetPrivateProfileStringA("StartDetails", "REGADDRESS", "", keyPath, 750, iniPath);
    if (keyPath.empty()) {
        error = iniPath + " names no [StartDetails] REGADDRESS";
        return std::nullopt;
    }
    return keyPath;
}

bool writeSettings(const InstallSettings& settings, const std::string& keyPath) {
    const std::string links = keyPath + "\\DAPLinks";
    const std::string company = keyPath + "\\CompanyDetails";
    const std::array<std::array<std::string, 3>, 7> values = {{
        {links, "X6Domain", settings.site},
        {links, "X6LoginURL", settings.loginPath},
        {links, "X6UpDateURL", settings.updatePath},
        {links, "X6NewRequestURL", settings.newRequestPath},
        {company, "SystemTrayTT", settings.tooltip.empty() ? settings.company : settings.tooltip},
        {company, "Name", settings.company},
        {company, "Address", platform::Replace(settings.address, "\n", kStoredLineBreak)},
    }};
    // Root-key number 1, HKEY_CURRENT_USER, passed fresh to every call.
    clsRegistry registry;
    {
        platform::RegistryBatch batch;
        for (const auto& [path, name, data] : values) {
            registry.SaveSettingString(1, path, name, data);
        }
        if (batch.commit() != win::kRegOk) {
            return false;
        }
    }
    // The settings store reports nothing, so each value is read back to tell whether it was stored.
    for (const auto& [path, name, data] : values) {
        if (registry.GetSettingString(1, path, name) != data) {
            return false;
        }
    }
    return true;
}

}  // namespace install
