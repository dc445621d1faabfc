// The build lays the desktop settings file and the generated files into the program folder.
#include <gtest/gtest.h>

#include <filesystem>

#include "assets/program_files.h"
#include "support/headless_test.h"

namespace {

const std::filesystem::path kProgramFolder = TARNIX_PROGRAM_DIR;
const std::filesystem::path kSourceIni = TARNIX_SOURCE_INI;

TEST(ProgramFolder, HoldsEveryGeneratedFileAsTheGeneratorMakesIt) {
    for (const auto& file : assetgen::programFiles()) {
        const auto path = kProgramFolder / file.name;
        ASSERT_TRUE(std::filesystem::is_regular_file(path)) << path;
        EXPECT_EQ(testsupport::readFile(path), file.bytes) << path;
    }
}

TEST(ProgramFolder, ShippedSettingsFileHasCrLfLinesTheKeyPathAndEnglish) {
    EXPECT_EQ(testsupport::readFile(kSourceIni),
              "[StartDetails]\r\n"
              "REGADDRESS=Software\\Tarnix\\TarnixIM\r\n"
              "[Language]\r\n"
              "Lang=1\r\n");
}

}  // namespace
