#include "platform/files/profile.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "platform/files/regular_file.h"
#include "platform/runtime/ansi.h"
#include "support/headless_test.h"
#include "support/writer_processes.h"

namespace {

using namespace std::string_literals;
using testsupport::filesIn;
using testsupport::readFile;
using testsupport::TempDir;
using testsupport::writeFile;

std::string read(const std::string& file, std::string_view section, std::string_view key,
                 std::uint32_t size = 750, std::uint32_t* count = nullptr) {
    std::string buffer = "stale";
    const auto copied =
        win::GetPrivateProfileStringA(section, key, "<default>", buffer, size, file);
    if (count) {
        *count = copied;
    }
    return buffer;
}

struct ReadCase {
    const char* name;
    std::string content;
    const char* section;
    const char* key;
    const char* expected;
};

class ProfileRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ProfileRead, FindsTheValueOrGivesTheDefault) {
    TempDir dir;
    writeFile(dir.path() / "t.ini", GetParam().content);
    std::uint32_t count = 0;
    const std::string value =
        read(dir.file("t.ini"), GetParam().section, GetParam().key, 750, &count);
    EXPECT_EQ(value, GetParam().expected);
    EXPECT_EQ(count, platform::toAnsi(GetParam().expected).size());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileRead,
    ::testing::Values(
        ReadCase{"CaseIgnored", "[Language]\r\nLANG=3\r\n", "language", "Lang", "3"},
        ReadCase{"BlanksAroundNamesAndValue", "  [ Language ]\r\n\tLang  =  3 \r\n", "Language",
                 "LANG", "3"},
        ReadCase{"MissingSection", "[Other]\r\nLang=3\r\n", "Language", "Lang", "<default>"},
        ReadCase{"MissingKey", "[Language]\r\nOther=3\r\n", "Language", "Lang", "<default>"},
        ReadCase{"KeyOfTheNextSection", "[A]\r\nx=1\r\n[B]\r\nk=2\r\n", "A", "k", "<default>"},
        ReadCase{"KeyBeforeAnySection", "k=1\r\n[A]\r\nx=1\r\n", "A", "k", "<default>"},
        ReadCase{"NoFinalLineBreak", "[A]\r\nk=last", "A", "k", "last"},
        ReadCase{"FirstOfTwoSections", "[A]\r\nk=1\r\n[a]\r\nk=2\r\n", "A", "k", "1"},
        ReadCase{"FirstOfTwoKeys", "[A]\r\nk=1\r\nK=2\r\n", "A", "k", "1"},
        ReadCase{"EqualsInsideTheValue", "[A]\r\nk=a=b\r\n", "A", "k", "a=b"},
        ReadCase{"LineWithoutEqualsIsNoEntry", "[A]\r\nk\r\nk=2\r\n", "A", "k", "2"},
        ReadCase{"ValueEndsAtNul", "[A]\r\nk=ab\0cd\r\n"s, "A", "k", "ab"},
        ReadCase{"NulInAnotherLine", "[A]\r\n\0\0=\0\r\nk=v\r\n"s, "A", "k", "v"},
        ReadCase{"Windows1252NamesAndValue", "[\xC4RGER]\r\nK\xC9Y=caf\xE9\r\n", "\xC3\xA4rger",
                 "k\xC3\xA9y", "caf\xC3\xA9"},
        ReadCase{"EmptyValue", "[A]\r\nk=\r\n", "A", "k", ""},
        ReadCase{"DoubleQuotesAround", "[A]\r\nk = \"Software\\X\" \r\n", "A", "k", "Software\\X"},
        ReadCase{"SingleQuotesAroundBlanks", "[A]\r\nk=' a '\r\n", "A", "k", " a "},
        ReadCase{"OnlyOnePairOfQuotes", "[A]\r\nk=\"\"\"\r\n", "A", "k", "\""},
        ReadCase{"UnmatchedQuotesStay", "[A]\r\nk=\"a'\r\n", "A", "k", "\"a'"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProfileReadFile, ValueIsCutToOneLessThanTheBufferAndAMissingFileGivesTheDefault) {
    TempDir dir;
    EXPECT_EQ(read(dir.file("missing.ini"), "A", "k"), "<default>");
    EXPECT_EQ(read(dir.path().string(), "A", "k"), "<default>");
    writeFile(dir.path() / "t.ini", "[A]\r\nk=" + std::string(800, 'v') + "\r\nu=\xE9\xE9\xE9");
    std::uint32_t count = 0;
    EXPECT_EQ(read(dir.file("t.ini"), "A", "k", 750, &count), std::string(749, 'v'));
    EXPECT_EQ(count, 749u);
    // Counted in characters of the code page, not in UTF-8 bytes.
    EXPECT_EQ(read(dir.file("t.ini"), "A", "u", 3, &count), "\xC3\xA9\xC3\xA9");
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(read(dir.file("t.ini"), "A", "missing", 4, &count), "<de");
    EXPECT_EQ(read(dir.file("t.ini"), "A", "k", 1, &count), "");
    EXPECT_EQ(read(dir.file("t.ini"), "A", "k", 0, &count), "");
    EXPECT_EQ(count, 0u);
}

struct WriteCase {
    const char* name;
    std::string before;
    const char* section;
    std::optional<std::string_view> key;
    std::optional<std::string_view> value;
    std::string after;
};

class ProfileWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(ProfileWrite, ChangesOnlyTheLinesConcerned) {
    TempDir dir;
    writeFile(dir.path() / "t.ini", GetParam().before);
    EXPECT_TRUE(win::WritePrivateProfileStringA(GetParam().section, GetParam().key,
                                                GetParam().value, dir.file("t.ini")));
    EXPECT_EQ(readFile(dir.path() / "t.ini"), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileWrite,
    ::testing::Values(
        WriteCase{"ReplacesValueWithCallersKeySpelling", "[Language]\r\nLang=1\r\n", "LANGUAGE",
                  "LANG", "2", "[Language]\r\nLANG=2\r\n"},
        WriteCase{"ReplacesOnlyTheEntryLine", "; c\r\n [ A ] \r\nk = 1\r\nz=0\r\n", "a", "K", "9",
                  "; c\r\n [ A ] \r\nK=9\r\nz=0\r\n"},
        WriteCase{"AddsKeyBeforeTheBlankLines", "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n", "A", "z", "3",
                  "[A]\r\nx=1\r\nz=3\r\n\r\n[B]\r\ny=2\r\n"},
        WriteCase{"AddsKeyToAnEmptyLastSection", "[A]\r\nx=1\r\n[B]", "B", "k", "v",
                  "[A]\r\nx=1\r\n[B]\r\nk=v\r\n"},
        WriteCase{"AppendsSectionAfterALastLineWithoutBreak", "; c\r\n[A]\r\nx=1", "B", "k", "v",
                  "; c\r\n[A]\r\nx=1\r\n[B]\r\nk=v\r\n"},
        WriteCase{"CreatesSectionInAnEmptyFile", "", "A", "k", "v", "[A]\r\nk=v\r\n"},
        WriteCase{"NewLinesFollowLineFeedFiles", "[A]\nx=1\n", "A", "y", "2", "[A]\nx=1\ny=2\n"},
        WriteCase{"NewLinesFollowCarriageReturnFiles", "[A]\rx=1", "A", "y", "2",
                  "[A]\rx=1\ry=2\r"},
        WriteCase{"NullKeyRemovesTheSection", "top\r\n[A]\r\nx=1\r\n; n\r\n\r\n[B]\r\ny=2\r\n", "a",
                  std::nullopt, std::nullopt, "top\r\n[B]\r\ny=2\r\n"},
        WriteCase{"NullKeyRemovesEveryCopyOfTheSection", "[A]\r\nx=1\r\n[B]\r\n[a]\r\nx=2", "A",
                  std::nullopt, "ignored", "[B]\r\n"},
        WriteCase{"NullKeyForAMissingSection", "[A]\r\nx=1", "B", std::nullopt, std::nullopt,
                  "[A]\r\nx=1"},
        WriteCase{"NullValueRemovesTheKey", "[A]\r\nx=1\r\ny=2\r\n[B]\r\nx=3\r\n", "A", "X",
                  std::nullopt, "[A]\r\ny=2\r\n[B]\r\nx=3\r\n"},
        WriteCase{"NullValueForAMissingKey", "[A]\r\nx=1\r\n", "A", "y", std::nullopt,
                  "[A]\r\nx=1\r\n"},
        WriteCase{"EmptyValueKeepsTheKey", "[A]\r\nx=1\r\n", "A", "x", "", "[A]\r\nx=\r\n"},
        WriteCase{"NulBytesInOtherLinesKept", "[A]\r\nz=\0\0\r\n\0\r\n"s, "A", "x", "1",
                  "[A]\r\nz=\0\0\r\n\0\r\nx=1\r\n"s},
        WriteCase{"StoredInWindows1252", "", "A", "k", "caf\xC3\xA9 \xE2\x82\xAC \xE4\xB8\xAD",
                  "[A]\r\nk=caf\xE9 \x80 ?\r\n"},
        WriteCase{"QuotedWhenItWouldNotReadBack", "[A]\r\nk=1\r\n", "A", "k", "'x'",
                  "[A]\r\nk=\"'x'\"\r\n"},
        WriteCase{"BlanksKeptInQuotes", "", "A", "k", " x ", "[A]\r\nk=\" x \"\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProfileWriteFile, CreatesTheFileButRemovalsDoNot) {
    TempDir dir;
    EXPECT_TRUE(win::WritePrivateProfileStringA("A", "k", std::nullopt, dir.file("a.ini")));
    EXPECT_TRUE(
        win::WritePrivateProfileStringA("A", std::nullopt, std::nullopt, dir.file("a.ini")));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "a.ini"));

    EXPECT_TRUE(win::WritePrivateProfileStringA("Language", "LANG", "2", dir.file("b.ini")));
    EXPECT_EQ(read(dir.file("b.ini"), "language", "lang"), "2");
    // The writers' lock stays beside it; no temporary file does.
    EXPECT_EQ(filesIn(dir.path()), (std::vector<std::string>{"b.ini", "b.ini.lock"}));
}

TEST(ProfileWriteFile, WritersAtOnceOrKilledMidwayLoseNothing) {
    TempDir dir;
    const std::string file = dir.file("t.ini");
    testsupport::expectWritersLoseNothing(
        dir.path(), {"t.ini", "t.ini.lock"},
        [&](const std::string& key, const std::string& value) {
            return win::WritePrivateProfileStringA("S", key, value, file);
        },
        [&](const std::string& key) { return read(file, "S", key); });
}

TEST(ProfileWriteFile, AMegabyteLineIsReadAndKept) {
    TempDir dir;
    const std::string big(1 << 20, 'x');
    const std::string before = "[A]\r\nbig=" + big + "\r\n[B]\r\nk=1\r\n";
    writeFile(dir.path() / "t.ini", before);
    std::uint32_t count = 0;
    EXPECT_EQ(read(dir.file("t.ini"), "A", "big", 2u << 20, &count), big);
    EXPECT_EQ(count, big.size());
    EXPECT_EQ(read(dir.file("t.ini"), "B", "k"), "1");
    EXPECT_TRUE(win::WritePrivateProfileStringA("B", "k", "2", dir.file("t.ini")));
    EXPECT_EQ(readFile(dir.path() / "t.ini"), "[A]\r\nbig=" + big + "\r\n[B]\r\nk=2\r\n");
}

class ProfileWriteRefused : public testsupport::HeadlessTest {};

TEST_F(ProfileWriteRefused, TextThatWouldNotReadBackOrNoFolderForTheFileChangesNothing) {
    TempDir dir;
    const std::string before = "[A]\r\nk=1\r\n";
    writeFile(dir.path() / "t.ini", before);
    writeFile(dir.path() / "plain", "not a folder");
    const std::string file = dir.file("t.ini");
    EXPECT_FALSE(win::WritePrivateProfileStringA("A", "k", "1\r\n[Evil]", file));
    EXPECT_FALSE(win::WritePrivateProfileStringA("A", "k", "a\0b"s, file));
    EXPECT_FALSE(win::WritePrivateProfileStringA("A", "k=j", "1", file));
    EXPECT_FALSE(win::WritePrivateProfileStringA("A", " [k", "1", file));
    EXPECT_FALSE(win::WritePrivateProfileStringA("A]", "k", "1", file));
    EXPECT_FALSE(win::WritePrivateProfileStringA("A\nB", std::nullopt, std::nullopt, file));
    EXPECT_FALSE(win::WritePrivateProfileStringA("A", "k", "v", dir.file("plain") + "/t.ini"));
    EXPECT_EQ(readFile(file), before);
    EXPECT_EQ(filesIn(dir.path()), (std::vector<std::string>{"plain", "t.ini"}));
    const auto lines = traced("ini");
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[6], "write-failed file=\"" + dir.file("plain") +
                            "/t.ini\" error=\"cannot open the lock " + dir.file("plain") +
                            "/t.ini.lock: Not a directory\"");
}

TEST(ProfileWriteFile, KeepsPermissionsAndSymbolicLinks) {
    TempDir dir;
    writeFile(dir.path() / "real.ini", "[A]\r\nk=1\r\n");
    std::filesystem::permissions(dir.path() / "real.ini", std::filesystem::perms(0640));
    std::filesystem::create_symlink("real.ini", dir.path() / "link.ini");
    EXPECT_TRUE(win::WritePrivateProfileStringA("A", "k", "2", dir.file("link.ini")));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "link.ini"));
    EXPECT_EQ(readFile(dir.path() / "real.ini"), "[A]\r\nk=2\r\n");
    EXPECT_EQ(std::filesystem::status(dir.path() / "real.ini").permissions(),
              std::filesystem::perms(0640));

    // Without its owner's write bit the file is read-only, for root too: writes and removals fail.
    std::filesystem::permissions(dir.path() / "real.ini", std::filesystem::perms(0444));
    EXPECT_FALSE(win::WritePrivateProfileStringA("A", "k", "3", dir.file("link.ini")));
    EXPECT_FALSE(
        win::WritePrivateProfileStringA("A", std::nullopt, std::nullopt, dir.file("real.ini")));
    EXPECT_EQ(readFile(dir.path() / "real.ini"), "[A]\r\nk=2\r\n");
}

// Neither a FIFO (which would wait for a writer), a folder nor a file too big to be a settings
// file is read or replaced.
class ProfileOnNoSettingsFile : public testsupport::HeadlessTest,
                                public ::testing::WithParamInterface<const char*> {};

TEST_P(ProfileOnNoSettingsFile, GivesTheDefaultAndRefusesWrites) {
    const std::string kind = GetParam();
    TempDir dir;
    const auto path = dir.path() / "t.ini";
    if (kind == "fifo") {
        ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    } else if (kind == "folder") {
        std::filesystem::create_directory(path);
    } else {
        writeFile(path, "[A]\r\nk=1\r\n");
        std::filesystem::resize_file(path, platform::kSettingsFileLimit + 1);
    }
    auto inode = [&] {
        struct stat info {};
        ::stat(path.c_str(), &info);
        return info.st_ino;
    };
    const auto before = inode();
    EXPECT_EQ(read(path.string(), "A", "k"), "<default>");
    EXPECT_FALSE(win::WritePrivateProfileStringA("A", "k", "2", path.string()));
    EXPECT_FALSE(win::WritePrivateProfileStringA("A", std::nullopt, std::nullopt, path.string()));
    EXPECT_EQ(inode(), before);
    EXPECT_EQ(filesIn(dir.path()), std::vector<std::string>{"t.ini"});
    const auto lines = traced("ini");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find(kind == "oversized" ? "larger than" : "not an ordinary file"),
              std::string::npos)
        << lines[0];
}

INSTANTIATE_TEST_SUITE_P(Kinds, ProfileOnNoSettingsFile,
                         ::testing::Values("fifo", "folder", "oversized"));

}  // namespace
