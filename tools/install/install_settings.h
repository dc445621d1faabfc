#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

// The values that whoever installs the program provides: the site's address and service paths, and
// the company details the copy is set up for.
namespace install {

struct InstallSettings {
    std::string site;  // scheme and host, e.g. "http://127.0.0.1:8080", no "/" at the end
    std::string loginPath = "/login.php";
    std::string updatePath = "/update.php";
    std::string newRequestPath = "/popup/";
    std::string company;
    std::string address;  // lines separated by "\n" (a CR LF or a lone CR is read as one)
    std::string tooltip;  // empty: the company name
    std::string iniPath;  // the desktop settings file naming the settings key
    bool help = false;    // --help: show the usage and store nothing
};

// Reads "--name value" pairs and checks them; returns an error text for a bad command line: a
// missing value, an unknown option, a missing --site, --company or --ini, a site that is not
// "http://" or "https://" and a host with nothing after it, a path that does not begin with "/",
// or text that the registry's code page (Windows-1252) cannot hold.
std::optional<std::string> parseArguments(std::span<const std::string_view> args,
                                          InstallSettings& settings);

std::string usage();

// The settings key path named by the desktop settings file ([StartDetails] REGADDRESS); nothing,
// with error set, when the file cannot be read or names no key.
std::optional<std::string> settingsKeyPath(const std::string& iniPath, std::string& error);

// Writes the values under HKEY_CURRENT_USER\<settings key>\DAPLinks and \CompanyDetails as one
// change: a process killed meanwhile leaves the registry as it was. A line break in the address is
// stored as the five characters the options window reads as one. False when a value did not read
// back as written (an unwritable registry folder, for one).
bool writeSettings(const InstallSettings& settings, const std::string& keyPath);

}  // namespace install
