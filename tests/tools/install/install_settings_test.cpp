#include "install/install_settings.h"

#include <gtest/gtest.h>

#include "storage/clsRegistry.h"
#include "support/registry_test.h"

namespace {

using install::InstallSettings;

TEST(InstallArguments, AreCheckedBeforeAnythingIsStored) {
    struct Case {
        std::vector<std::string_view> args;
        std::string error;  // the start of the error text; empty: accepted
    } cases[] = {
        {{"--site", "https://h:1", "--company", "C", "--ini", "x.ini"}, ""},
        {{"--site", "http://h", "--company", "C"}, "--site, --company and --ini are required"},
        {{"--site", "http://h", "--company", "C", "--ini"}, "missing value after --ini"},
        {{"--colour", "red"}, "unknown option --colour"},
        {{"--site", "h.example", "--company", "C", "--ini", "x"}, "--site must be"},
        {{"--site", "http://h/", "--company", "C", "--ini", "x"}, "--site must be"},
        {{"--site", "http://", "--company", "C", "--ini", "x"}, "--site must be"},
        {{"--site", "http://h", "--company",
          "\xC5\x81\xC3\xB3"
          "d\xC5\xBA",
          "--ini", "x"},
         "--company holds characters that the registry's code page"},
        {{"--site", "http://h", "--company", "C", "--ini", "x", "--login", "login.php"},
         "--login must begin with \"/\""},
    };
    for (const auto& c : cases) {
        InstallSettings settings;
        EXPECT_EQ(install::parseArguments(c.args, settings).value_or("").substr(0, c.error.size()),
                  c.error)
            << c.args[0];
    }
    InstallSettings settings;
    const std::vector<std::string_view> help = {"--site", "http://h", "--help"};
    EXPECT_FALSE(install::parseArguments(help, settings));
    EXPECT_TRUE(settings.help);
}

class InstallSettingsTest : public testsupport::RegistryTest {};

TEST_F(InstallSettingsTest, WritesTheLinksAndCompanyDetailsUnderTheIniSettingsKey) {
    testsupport::TempDir program;
    const std::string ini = program.file("PexarDeskTop.ini");
    testsupport::writeFile(ini, "[StartDetails]\r\nREGADDRESS=Software\\Tarnix\\Demo\r\n");
    InstallSettings settings;
    const std::vector<std::string_view> args = {
        "--site",    "http://127.0.0.1:9",  "--company", "Acme Ltd",
        "--address", "1 Road\r\nTown\rEnd", "--ini",     ini};
    ASSERT_FALSE(install::parseArguments(args, settings));
    std::string error;
    const auto key = install::settingsKeyPath(ini, error);
    ASSERT_EQ(key, "Software\\Tarnix\\Demo") << error;
    EXPECT_TRUE(install::writeSettings(settings, *key));

    clsRegistry registry;
    auto read = [&](const std::string& sub, const std::string& name) {
        return registry.GetSettingString(1, *key + sub, name);
    };
    EXPECT_EQ(read("\\DAPLinks", "X6Domain"), "http://127.0.0.1:9");
    EXPECT_EQ(read("\\DAPLinks", "X6LoginURL"), "/login.php");
    EXPECT_EQ(read("\\DAPLinks", "X6UpDateURL"), "/update.php");
    EXPECT_EQ(read("\\DAPLinks", "X6NewRequestURL"), "/popup/");
    EXPECT_EQ(read("\\CompanyDetails", "SystemTrayTT"), "Acme Ltd");
    EXPECT_EQ(read("\\CompanyDetails", "Name"), "Acme Ltd");
    EXPECT_EQ(read("\\CompanyDetails", "Address"), "1 Road¿§æ§¿Town¿§æ§¿End");
}

TEST_F(InstallSettingsTest, AnUnwritableRegistryFolderIsReportedAsAFailure) {
    testsupport::TempDir dir;
    testsupport::writeFile(dir.path() / "plain-file", "");
    platform::setRegistryFolder(dir.path() / "plain-file" / "registry");
    InstallSettings settings;
    settings.site = "http://127.0.0.1:9";
    settings.company = "Acme Ltd";
    EXPECT_FALSE(install::writeSettings(settings, "Software\\Tarnix\\Demo"));
}

TEST_F(InstallSettingsTest, AnIniThatCannotBeReadOrNamesNoKeyIsSaidSo) {
    testsupport::TempDir program;
    const std::string ini = program.file("PexarDeskTop.ini");
    testsupport::writeFile(ini, "[Language]\r\nLang=1\r\n");
    std::string error;
    EXPECT_FALSE(install::settingsKeyPath(ini, error));
    EXPECT_EQ(error, ini + " names no [StartDetails] REGADDRESS");
    EXPECT_FALSE(install::settingsKeyPath(program.file("missing.ini"), error));
    EXPECT_EQ(error, "cannot read " + program.file("missing.ini") + ": No such file or directory");
}

}  // namespace
