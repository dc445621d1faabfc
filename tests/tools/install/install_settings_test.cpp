#include "install/install_settings.h"

#include <gtest/gtest.h>

#include "storage/cls_registry.h"
#include "support/registry_test.h"

namespace {

using install::InstallSettings;

std::optional<std::string> parse(std::vector<std::string_view> args, InstallSettings& settings) {
    return install::parseArguments(args, settings);
}

TEST(InstallArguments, RequireSiteCompanyAndIniAndRejectStrayWords) {
    struct Case {
        std::vector<std::string_view> args;
        bool ok;
    } cases[] = {
        {{"--site", "http://h", "--company", "C", "--ini", "x.ini"}, true},
        {{"--site", "http://h", "--company", "C"}, false},
        {{"--company", "C", "--ini", "x.ini"}, false},
        {{"--site", "http://h", "--company", "C", "--ini"}, false},
        {{"--site", "http://h", "--company", "C", "--ini", "x.ini", "--colour", "red"}, false},
    };
    for (const auto& c : cases) {
        InstallSettings settings;
        EXPECT_EQ(!parse(c.args, settings).has_value(), c.ok) << c.args.size();
    }
}

class InstallSettingsTest : public testsupport::RegistryTest {};

TEST_F(InstallSettingsTest, WritesTheLinksAndCompanyDetailsUnderTheIniSettingsKey) {
    testsupport::TempDir program;
    const std::string ini = program.file("PexarDeskTop.ini");
    testsupport::writeFile(ini, "[StartDetails]\r\nREGADDRESS=Software\\Tarnix\\Demo\r\n");
    InstallSettings settings;
    ASSERT_FALSE(parse({"--site", "http://127.0.0.1:9", "--company", "Acme Ltd", "--address",
                        "1 Road\nTown", "--ini", ini},
                       settings));
    const std::string key = install::settingsKeyPath(ini);
    ASSERT_EQ(key, "Software\\Tarnix\\Demo");
    EXPECT_TRUE(install::writeSettings(settings, key));

    clsRegistry registry;
    auto read = [&](const std::string& sub, const std::string& name) {
        return registry.GetSettingString(1, key + sub, name);
    };
    EXPECT_EQ(read("\\DAPLinks", "X6Domain"), "http://127.0.0.1:9");
    EXPECT_EQ(read("\\DAPLinks", "X6LoginURL"), "/login.php");
    EXPECT_EQ(read("\\DAPLinks", "X6UpDateURL"), "/update.php");
    EXPECT_EQ(read("\\DAPLinks", "X6NewRequestURL"), "/popup/");
    EXPECT_EQ(read("\\CompanyDetails", "SystemTrayTT"), "Acme Ltd");
    EXPECT_EQ(read("\\CompanyDetails", "Name"), "Acme Ltd");
    EXPECT_EQ(read("\\CompanyDetails", "Address"), "1 Road¿§æ§¿Town");
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

TEST_F(InstallSettingsTest, AnIniWithoutTheKeyPathNamesNone) {
    testsupport::TempDir program;
    const std::string ini = program.file("PexarDeskTop.ini");
    testsupport::writeFile(ini, "[Language]\r\nLang=1\r\n");
    EXPECT_EQ(install::settingsKeyPath(ini), "");
    EXPECT_EQ(install::settingsKeyPath(program.file("missing.ini")), "");
}

}  // namespace
