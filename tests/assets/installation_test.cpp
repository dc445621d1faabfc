// "cmake --install" of the build into a fresh prefix: the program folder, the launcher naming the
// installed program and the icon theme's pictures of the tray icon.
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <glib.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "assets/program_files.h"
#include "support/child_process.h"
#include "support/headless_test.h"

namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;
using testsupport::ChildProcess;
using testsupport::milliseconds;
using testsupport::readFile;

struct Unref {
    void operator()(GdkPixbuf* picture) const { g_object_unref(picture); }
};
using Picture = std::unique_ptr<GdkPixbuf, Unref>;

Picture load(const fs::path& file) {
    GError* error = nullptr;
    Picture picture(gdk_pixbuf_new_from_file(file.c_str(), &error));
    EXPECT_TRUE(picture) << file << ": " << (error ? error->message : "");
    g_clear_error(&error);
    return picture;
}

uint32_t pixel(const GdkPixbuf* picture, int x, int y) {
    const int channels = gdk_pixbuf_get_n_channels(picture);
    const guchar* at =
        gdk_pixbuf_read_pixels(picture) + y * gdk_pixbuf_get_rowstride(picture) + x * channels;
    return static_cast<uint32_t>(at[0] << 24 | at[1] << 16 | at[2] << 8 |
                                 (channels == 4 ? at[3] : 0xFF));
}

// The command line of a desktop entry's Exec as the desktop runs it: the string value read, "%%"
// made "%" (the entries use no other field code), then split at its quoting.
Names execArguments(const fs::path& entry) {
    GKeyFile* file = g_key_file_new();
    GError* error = nullptr;
    Names arguments;
    gchar* exec = nullptr;
    if (g_key_file_load_from_file(file, entry.c_str(), G_KEY_FILE_NONE, &error) &&
        (exec = g_key_file_get_string(file, "Desktop Entry", "Exec", &error)) != nullptr) {
        std::string expanded;
        for (const gchar* c = exec; *c != '\0'; ++c) {
            expanded += *c;
            if (*c == '%' && c[1] == '%') {
                ++c;
            }
        }
        gchar** argv = nullptr;
        if (g_shell_parse_argv(expanded.c_str(), nullptr, &argv, &error)) {
            arguments.assign(argv, argv + g_strv_length(argv));
        }
        g_strfreev(argv);
    }
    EXPECT_EQ(error, nullptr) << entry << ": " << error->message;
    g_clear_error(&error);
    g_free(exec);
    g_key_file_free(file);
    return arguments;
}

// The Exec line of a desktop entry, as written.
std::string execLine(const fs::path& entry) {
    const std::string text = readFile(entry);
    const size_t start = text.find("\nExec=");
    return start == std::string::npos
               ? ""
               : text.substr(start + 1, text.find('\n', start + 1) - start - 1);
}

class Installation : public ::testing::Test {
  protected:
    // Quotes, a backquote, a dollar, blanks and a percent: all need the Exec key's quoting.
    void SetUp() override { install("my \"tools\" `$HOME` 100%"); }

    // Installs into a prefix of that name, which every other call then names.
    void install(const std::string& name) {
        prefix_ = root_.path() / name;
        // Every rule is in the default component; naming it keeps the list of installed files
        // apart (install_manifest_Unspecified.txt), so the build's record of a real install stays.
        ChildProcess install(TARNIX_CMAKE, {"--install", TARNIX_BINARY_DIR, "--prefix",
                                            prefix_.string(), "--component", "Unspecified"});
        ASSERT_EQ(install.exitCode(milliseconds(60'000)), 0) << install.errorText();
    }
    const fs::path& prefix() const { return prefix_; }
    fs::path programFolder() const { return prefix() / "lib" / "tarnix"; }
    fs::path launcher() const { return prefix() / "share" / "applications" / "tarnix.desktop"; }

    testsupport::TempDir root_;
    fs::path prefix_;
};

TEST_F(Installation, TheProgramFolderHoldsTheProgramAndWhatItReadsBesideIt) {
    EXPECT_EQ(testsupport::filesIn(programFolder()),
              (Names{"PexarDeskTop.ini", "idata.x6c", "ldata.x6c", "sounds", "tarnix",
                     "tarnix-install-settings"}));
    EXPECT_EQ(testsupport::filesIn(programFolder() / "sounds"),
              (Names{"doorbell08.wav", "knock.wav", "notify.wav"}));
    for (const auto& file : assetgen::programFiles()) {
        EXPECT_EQ(readFile(programFolder() / file.name), file.bytes) << file.name;
    }
    EXPECT_EQ(readFile(programFolder() / "PexarDeskTop.ini"), readFile(TARNIX_SOURCE_INI));
    for (const char* program : {"tarnix", "tarnix-install-settings"}) {
        EXPECT_EQ(::access((programFolder() / program).c_str(), X_OK), 0) << program;
    }
}

TEST_F(Installation, TheLauncherAndTheAutostartEntryRunTheInstalledProgram) {
    const Names program{(programFolder() / "tarnix").string()};
    EXPECT_EQ(execArguments(launcher()), program);
    const std::string text = readFile(launcher());
    for (const char* line : {"\nIcon=tarnix\n", "\nCategories=Network;InstantMessaging;\n",
                             "\nType=Application\n", "\nTerminal=false\n"}) {
        EXPECT_NE(text.find(line), std::string::npos) << line;
    }

    // Its first run stores the autostart entry: it must name the same program.
    const fs::path script = root_.path() / "script";
    testsupport::writeFile(script, "2000 end-session\n");
    ChildProcess run(
        program[0], {},
        {"TARNIX_BACKEND=headless", "TARNIX_CLOCK=virtual", "TARNIX_SCRIPT=" + script.string(),
         "TARNIX_REGISTRY_DIR=" + (root_.path() / "registry").string(),
         "XDG_CONFIG_HOME=" + (root_.path() / "config").string(), "TARNIX_AUTOSTART_DIR="});
    ASSERT_EQ(run.exitCode(milliseconds(30'000)), 0) << run.errorText();
    const fs::path autostart = root_.path() / "config" / "autostart" / "tarnix.exe.desktop";
    EXPECT_EQ(execArguments(autostart), program);
    // Both quote a path that needs it the one way.
    EXPECT_EQ(execLine(launcher()), execLine(autostart));
}

TEST_F(Installation, TheIconThemeHasTheTrayIconInWholeBlocksOfPixels) {
    const fs::path theme = prefix() / "share" / "icons" / "hicolor";
    EXPECT_EQ(testsupport::filesIn(theme), (Names{"16x16", "32x32", "48x48", "64x64"}));
    const Picture icon = load(programFolder() / "idata.x6c");
    ASSERT_TRUE(icon);
    ASSERT_EQ(gdk_pixbuf_get_width(icon.get()), 16);
    for (const int size : {16, 32, 48, 64}) {
        const std::string name = std::to_string(size) + "x" + std::to_string(size);
        const Picture picture = load(theme / name / "apps" / "tarnix.png");
        ASSERT_TRUE(picture) << name;
        ASSERT_EQ(gdk_pixbuf_get_width(picture.get()), size);
        ASSERT_EQ(gdk_pixbuf_get_height(picture.get()), size);
        EXPECT_TRUE(gdk_pixbuf_get_has_alpha(picture.get())) << name;
        int differ = 0;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const int scale = size / 16;
                differ += pixel(picture.get(), x, y) != pixel(icon.get(), x / scale, y / scale);
            }
        }
        EXPECT_EQ(differ, 0) << name;
    }
}

// The launcher's script on its own, as the install runs it.
TEST(LauncherScript, QuotesTheProgramAndRefusesWhatALineCannotHold) {
    testsupport::TempDir root;
    struct Case {
        std::string prefix;  // below root
        std::string exec;    // after "Exec=\"" and root; empty: refused
    };
    for (const Case& c : {
             Case{"plain", "/plain/lib/tarnix/tarnix\""},
             Case{"a b", "/a b/lib/tarnix/tarnix\""},
             Case{"a\"b", "/a\\\\\"b/lib/tarnix/tarnix\""},
             Case{"a`b", "/a\\\\`b/lib/tarnix/tarnix\""},
             Case{"a$b", "/a\\\\$b/lib/tarnix/tarnix\""},
             Case{"a\\b", ""},
             Case{"100%", "/100%%/lib/tarnix/tarnix\""},
             Case{"a\nb", ""},
             Case{"a\tb", ""},
             Case{"a=b", ""},
         }) {
        const fs::path prefix = root.path() / c.prefix;
        std::string definePrefix = "-DCMAKE_INSTALL_PREFIX=";
        definePrefix += prefix.string();
        ChildProcess script(TARNIX_CMAKE,
                            {definePrefix, "-Dtarnix_launcher_program=lib/tarnix/tarnix", "-P",
                             TARNIX_LAUNCHER_SCRIPT});
        const fs::path launcher = prefix / "share" / "applications" / "tarnix.desktop";
        if (c.exec.empty()) {
            EXPECT_NE(script.exitCode(milliseconds(30'000)), 0) << c.prefix;
            EXPECT_NE(script.errorText().find("the install prefix "), std::string::npos)
                << script.errorText();
            EXPECT_FALSE(fs::exists(launcher)) << c.prefix;
            continue;
        }
        ASSERT_EQ(script.exitCode(milliseconds(30'000)), 0) << script.errorText();
        std::string expected = "Exec=\"";
        expected += root.path().string();
        expected += c.exec;
        EXPECT_EQ(execLine(launcher), expected) << c.prefix;
    }
}

}  // namespace
