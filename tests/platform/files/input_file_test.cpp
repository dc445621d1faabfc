#include "platform/files/input_file.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/files/regular_file.h"
#include "platform/runtime/errors.h"
#include "support/headless_test.h"
#include "support/run_time_error.h"

namespace {

using namespace std::string_literals;
using testsupport::TempDir;
using testsupport::writeFile;

std::vector<std::string> readLines(const std::string& path) {
    platform::InputFile file(path);
    std::vector<std::string> lines;
    while (!file.Eof()) {
        lines.push_back(file.LineInput());
    }
    return lines;
}

struct LinesCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
};

class InputFileLines : public ::testing::TestWithParam<LinesCase> {};

TEST_P(InputFileLines, SplitsAtEveryKindOfLineBreak) {
    TempDir dir;
    writeFile(dir.path() / "f.txt", GetParam().bytes);
    EXPECT_EQ(readLines(dir.file("f.txt")), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InputFileLines,
    ::testing::Values(
        LinesCase{"CarriageReturnLineFeed", "a\r\nb\r\n", {"a", "b"}},
        LinesCase{"CarriageReturnOnly", "a\rb\r", {"a", "b"}},
        LinesCase{"LineFeedOnly", "a\nb\n", {"a", "b"}},
        LinesCase{"NoFinalLineBreak", "a\r\nlast", {"a", "last"}},
        LinesCase{"BlankLastLine", "a\r\n\r\n", {"a", ""}}, LinesCase{"EmptyFile", "", {}},
        LinesCase{"OnlyALineBreak", "\r\n", {""}},
        LinesCase{"CarriageReturnBeforeABreak", "a\r\r\nb", {"a", "", "b"}},
        LinesCase{"LineFeedThenCarriageReturn", "a\n\rb", {"a", "", "b"}},
        LinesCase{"NulBytesStay", "x\0y\r\n\0"s, {"x\0y"s, "\0"s}},
        LinesCase{"Windows1252ToUtf8", "caf\xE9\r\n\x80", {"caf\xC3\xA9", "\xE2\x82\xAC"}},
        LinesCase{
            "MegabyteLine", std::string(1 << 20, 'x') + "\rb", {std::string(1 << 20, 'x'), "b"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(InputFile, OpenAndReadErrors) {
    TempDir dir;
    writeFile(dir.path() / "f.txt", "one");
    const auto opening = [](const std::string& path) {
        return testsupport::errorNumberOf([&] { platform::InputFile file(path); });
    };
    EXPECT_EQ(opening(dir.file("missing.txt")), 53);
    EXPECT_EQ(opening(dir.file("no/such.txt")), 76);
    EXPECT_EQ(opening(dir.path().string()), 75);
    // A FIFO is refused at once rather than waited on for a writer.
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);
    EXPECT_EQ(opening(dir.file("fifo")), 75);
    // Larger than any settings file: refused like the profile functions refuse it.
    writeFile(dir.path() / "big.ini", "[A]\r\n");
    std::filesystem::resize_file(dir.path() / "big.ini", platform::kSettingsFileLimit + 1);
    EXPECT_EQ(opening(dir.file("big.ini")), 75);
    EXPECT_EQ(opening(""), 53);
    EXPECT_EQ(testsupport::errorNumberOf([&] {
                  platform::InputFile file(dir.path().string() + "\\f.txt");
                  file.LineInput();
                  file.LineInput();
              }),
              62);
}

}  // namespace
