#include "install/install_settings.h"

#include "platform/files/profile.h"
#include "platform/runtime/text.h"
#include "storage/cls_registry.h"

namespace install {

namespace {
// How a line break of the company address is stored.
constexpr std::string_view kStoredLineBreak = "¿§æ§¿";
}  // namespace

std::string usage() {
    return "usage: tarnix-install-settings --site URL --company NAME [--address TEXT] "
           "[--tooltip TEXT] [--login PATH] [--update PATH] [--popups PATH] --ini FILE\n"
           "Writes the site's address and service paths and the company details into the\n"
           "registry folder named by TARNIX_REGISTRY_DIR (or the user's own when unset).\n";
}

std::optional<std::string> parseArguments(std::span<const std::string_view> args,
                                          InstallSettings& settings) {
    for (size_t i = 0; i < args.size(); i += 2) {
        if (i + 1 >= args.size()) {
            return "missing value after " + std::string(args[i]);
        }
        const std::string_view name = args[i];
        const std::string value(args[i + 1]);
        if (name == "--site") {
            settings.site = value;
        } else if (name == "--company") {
            settings.company = value;
        } else if (name == "--address") {
            settings.address = value;
        } else if (name == "--tooltip") {
            settings.tooltip = value;
        } else if (name == "--login") {
            settings.loginPath = value;
        } else if (name == "--update") {
            settings.updatePath = value;
        } else if (name == "--popups") {
            settings.newRequestPath = value;
        } else if (name == "--ini") {
            settings.iniPath = value;
        } else {
            return "unknown option " + std::string(name);
        }
    }
    if (settings.site.empty() || settings.company.empty()) {
        return "--site and --company are required";
    }
    if (settings.iniPath.empty()) {
        return "--ini is required";
    }
    return std::nullopt;
}

std::string settingsKeyPath(const std::string& iniPath) {
    std::string value;
    win::GetPrivateProfileStringA("StartDetails", "REGADDRESS", "", value, 750, iniPath);
    return value;
}

bool writeSettings(const InstallSettings& settings, const std::string& keyPath) {
    clsRegistry registry;
    bool stored = true;
    // Root-key number 1, HKEY_CURRENT_USER, passed fresh to every call. The settings store reports
    // nothing, so each value is read back to tell whether it reached the registry.
    auto save = [&registry, &stored](const std::string& path, const std::string& name,
                                     const std::string& data) {
        registry.SaveSettingString(1, path, name, data);
        stored = stored && registry.GetSettingString(1, path, name) == data;
    };
    const std::string links = keyPath + "\\DAPLinks";
    save(links, "X6Domain", settings.site);
    save(links, "X6LoginURL", settings.loginPath);
    save(links, "X6UpDateURL", settings.updatePath);
    save(links, "X6NewRequestURL", settings.newRequestPath);

    const std::string company = keyPath + "\\CompanyDetails";
    save(company, "SystemTrayTT", settings.tooltip.empty() ? settings.company : settings.tooltip);
    save(company, "Name", settings.company);
    save(company, "Address", platform::Replace(settings.address, "\n", kStoredLineBreak));
    return stored;
}

}  // namespace install
