#include "storage/cIni.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/runtime/errors.h"
#include "platform/runtime/text.h"
#include "support/headless_test.h"
#include "support/run_time_error.h"

namespace {

using testsupport::readFile;
using testsupport::TempDir;
using testsupport::writeFile;

// Stands in for a list box.
struct ItemCollector {
    std::vector<std::string> items;
    void AddItem(std::string item) { items.push_back(std::move(item)); }
};

class IniTest : public testsupport::HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        ini.IniPath(path());
    }
    std::string path() const { return dir.file("PexarDeskTop.ini"); }
    void write(std::string_view content) { writeFile(path(), content); }

    std::vector<std::string> messages() const { return traced("msgbox"); }
    static std::string message(int style, std::string_view title, std::string_view text) {
        return "style=" + std::to_string(style) + " title=" + platform::quoted(title) +
               " text=" + platform::quoted(text) + " answer=1";
    }
    static std::string sectionNotFound(std::string_view section, std::string_view tag) {
        return message(64, "Section Not Found.",
                       "Section, " + std::string(section) + ", Not Found. " + std::string(tag) +
                           "\r\nVerify spelling and capitilization is correct.  Case-sensative.");
    }
    std::string fileNotFound() const {
        return message(16, "File Not Found", path() + " not found.");
    }

    TempDir dir;
    cIni ini;
};

TEST_F(IniTest, GetAndSaveIniSetting) {
    // Missing file, section or key reads empty without a message.
    std::string key = "Lang";
    EXPECT_EQ(ini.GetIniSetting("Language", key), "");
    write("[Language]\r\nOther=1\r\n");
    EXPECT_EQ(ini.GetIniSetting("Language", key), "");
    EXPECT_EQ(ini.GetIniSetting("StartDetails", key), "");
    // Reading lower-cases the caller's key; saving writes it upper-cased.
    write("[StartDetails]\r\nREGADDRESS=Software\\X\r\n[Language]\r\nLang=1\r\n");
    key = "Lang";
    EXPECT_EQ(ini.GetIniSetting("Language", key), "1");
    EXPECT_EQ(key, "lang");
    ini.SaveIniSetting("Language", "Lang", "5");
    EXPECT_EQ(readFile(path()),
              "[StartDetails]\r\nREGADDRESS=Software\\X\r\n[Language]\r\nLANG=5\r\n");
    std::filesystem::remove(path());
    ini.SaveIniSetting("Language", "Lang", "2");
    EXPECT_EQ(readFile(path()), "[Language]\r\nLANG=2\r\n");
    // A long value is cut to 749 characters.
    write("[A]\r\nk=" + std::string(800, 'v') + "\r\n");
    key = "k";
    EXPECT_EQ(ini.GetIniSetting("A", key), std::string(749, 'v'));
    EXPECT_TRUE(messages().empty());
}

TEST_F(IniTest, SectionExistsNeedsTheExactHeader) {
    write("[Language]\r\n [StartDetails]\r\nk=1\r\n");
    EXPECT_TRUE(ini.SectionExists("Language"));
    EXPECT_FALSE(ini.SectionExists("language"));
    EXPECT_FALSE(ini.SectionExists("StartDetails"));
    // The profile functions find both.
    std::string key = "k";
    EXPECT_EQ(ini.GetIniSetting("startdetails", key), "1");
    EXPECT_TRUE(messages().empty());

    ini.IniPath(dir.file("missing.ini"));
    EXPECT_FALSE(ini.SectionExists("Language"));
    EXPECT_EQ(messages(), std::vector<std::string>{message(
                              16, "File Not Found", dir.file("missing.ini") + " not found.")});
}

TEST_F(IniTest, TotalSectionsCountsEverySectionLineOfItsOwnFile) {
    writeFile(dir.file("other.ini"), "k=1\r\n[]\r\n[A]\r\n [B]\r\n[C] \r\nx=[y]\r\n[D]");
    ini.IniPath(dir.file("missing.ini"));
    EXPECT_EQ(ini.TotalSections(dir.file("other.ini")), 3);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(ini.TotalSections(dir.file("none.ini")), 0);
    EXPECT_EQ(messages(), std::vector<std::string>{
                              message(16, "File Not Found", dir.file("none.ini") + " not found.")});
}

struct ListingCase {
    const char* name;
    const char* content;
    const char* section;
    std::vector<std::string> keys;
};

class IniListing : public IniTest, public ::testing::WithParamInterface<ListingCase> {};

TEST_P(IniListing, ListsTheSectionsKeyLinesInLowerCase) {
    write(GetParam().content);
    ItemCollector list;
    list.AddItem("kept");
    const auto count = ini.InsertSKVtoListBox(GetParam().section, list);
    std::vector<std::string> expected{"kept"};
    expected.insert(expected.end(), GetParam().keys.begin(), GetParam().keys.end());
    EXPECT_EQ(list.items, expected);
    EXPECT_EQ(count, static_cast<std::int16_t>(GetParam().keys.size()));

    IniKeyArray array;
    EXPECT_EQ(ini.InsertSKVtoArray(GetParam().section, array), count);
    ASSERT_EQ(array.UBound2(), count);
    for (int k = 1; k <= count; ++k) {
        EXPECT_EQ(array(1, k), GetParam().keys[static_cast<size_t>(k - 1)]);
        EXPECT_EQ(array(0, k), "");
    }
    EXPECT_TRUE(messages().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniListing,
    ::testing::Values(
        ListingCase{"BlankLineSkippedNextSectionEnds",
                    "[A]\r\nOne=1\r\n\r\nTwo=2\r\n[B]\r\nx=3\r\n",
                    "A",
                    {"one", "two"}},
        ListingCase{"BlankLastLine", "[A]\r\nOne=1\r\nTwo=2\r\n\r\n", "A", {"one", "two"}},
        ListingCase{"LastKeyLineWithoutBreak", "[A]\r\nOne=1\r\nTwo=2", "A", {"one", "two"}},
        ListingCase{"KeyKeepsItsSpaces", "[A]\r\n Key =v\r\n", "A", {" key "}},
        ListingCase{"CommentsSkippedAnyLineWithEqualsListed",
                    "[A]\r\n; note\r\nplain\r\n[x] = 1\r\n=e\r\n",
                    "A",
                    {"[x] ", ""}},
        ListingCase{"BracketPairEndsTheListing", "[A]\r\nk=1\r\n[]\r\nj=2\r\n", "A", {"k"}},
        ListingCase{"HeaderCaseSensitive", "[a]\r\nk=1\r\n[A]\r\nj=2\r\n", "A", {"j"}},
        ListingCase{"EmptySection", "[A]\r\n[B]\r\nk=1\r\n", "A", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(IniTest, InsertSKVtoArrayReadsEachValueThroughTheProfileFunctions) {
    // The keys are those of the exact header; their values, as GetIniSetting finds them, those of
    // the first section of that name without regard to case.
    write(
        "[a]\r\nname=first\r\n[A]\r\nName = Pexar\r\nEmpty=\r\nname=second\r\n[b]\r\nempty=x\r\n");
    IniKeyArray array;
    ASSERT_EQ(ini.InsertSKVtoArray("A", array), 3);
    EXPECT_EQ(array(1, 1), "name ");
    EXPECT_EQ(array(2, 1), "first");
    EXPECT_EQ(array(2, 2), "");
    EXPECT_EQ(array(1, 3), "name");
    EXPECT_EQ(array(2, 3), "first");
    EXPECT_THROW(array(3, 1), platform::RuntimeError);
    EXPECT_THROW(array(0, 4), platform::RuntimeError);
}

TEST_F(IniTest, ListingsReportAMissingSectionAndFile) {
    write("[A]\r\nk=1\r\n");
    IniKeyArray array;
    array.ReDim(2);
    array(1, 2) = "old";
    EXPECT_EQ(ini.InsertSKVtoArray("a", array), 0);
    EXPECT_EQ(array.UBound2(), 0);
    ItemCollector list;
    EXPECT_EQ(ini.InsertSKVtoListBox("B", list), 0);
    EXPECT_TRUE(list.items.empty());
    EXPECT_EQ(messages(), (std::vector<std::string>{sectionNotFound("a", "~(NumKeys)"),
                                                    sectionNotFound("B", "~(NumKeys)")}));

    clearTrace();
    std::filesystem::remove(path());
    EXPECT_EQ(ini.InsertSKVtoListBox("A", list), 0);
    EXPECT_EQ(messages(), std::vector<std::string>{fileNotFound()});
}

TEST_F(IniTest, KeyCountBeyond16BitsRaisesOverflow) {
    std::string content = "[A]\r\n";
    for (int i = 0; i < 32768; ++i) {
        content += 'k' + std::to_string(i) + "=1\r\n";
    }
    write(content);
    ItemCollector list;
    EXPECT_EQ(testsupport::errorNumberOf([&] { ini.InsertSKVtoListBox("A", list); }),
              platform::kOverflow);
    EXPECT_EQ(list.items.size(), 32767u);

    write(content.substr(0, content.rfind("k32767")));
    list.items.clear();
    EXPECT_EQ(ini.InsertSKVtoListBox("A", list), 32767);
}

struct DeletionCase {
    const char* name;
    std::function<std::int16_t(cIni&)> call;
    const char* tag;
    const char* after;  // of "[A]\r\nk=1\r\nj=2\r\n[B]\r\nk=3\r\n"
};

class IniDeletion : public IniTest, public ::testing::WithParamInterface<DeletionCase> {};

TEST_P(IniDeletion, WorksOnlyInAnExistingSection) {
    const char* before = "[A]\r\nk=1\r\nj=2\r\n[B]\r\nk=3\r\n";
    write(before);
    EXPECT_EQ(GetParam().call(ini), 1);
    EXPECT_EQ(readFile(path()), GetParam().after);
    EXPECT_TRUE(messages().empty());

    write("[a]\r\nk=1\r\n");
    EXPECT_EQ(GetParam().call(ini), 0);
    EXPECT_EQ(readFile(path()), "[a]\r\nk=1\r\n");
    EXPECT_EQ(messages(), std::vector<std::string>{sectionNotFound("A", GetParam().tag)});

    clearTrace();
    std::filesystem::remove(path());
    EXPECT_EQ(GetParam().call(ini), 0);
    EXPECT_FALSE(std::filesystem::exists(path()));
    EXPECT_EQ(messages(), std::vector<std::string>{fileNotFound()});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniDeletion,
    ::testing::Values(
        DeletionCase{"DeleteSection", [](cIni& ini) { return ini.DeleteSection("A"); },
                     "~(DeleteSection)", "[B]\r\nk=3\r\n"},
        DeletionCase{"DeleteKey", [](cIni& ini) { return ini.DeleteKey("A", "K"); }, "~(DeleteKey)",
                     "[A]\r\nj=2\r\n[B]\r\nk=3\r\n"},
        DeletionCase{"DeleteKeyOfAnAbsentKey", [](cIni& ini) { return ini.DeleteKey("A", "x"); },
                     "~(DeleteKey)", "[A]\r\nk=1\r\nj=2\r\n[B]\r\nk=3\r\n"},
        DeletionCase{"DeleteKeyValue", [](cIni& ini) { return ini.DeleteKeyValue("A", "k"); },
                     "~(DeleteKeyValue)", "[A]\r\nk=\r\nj=2\r\n[B]\r\nk=3\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(IniTest, DeletionsInAReadOnlyFileAnswer0AndChangeNothing) {
    write("[A]\r\nk=1\r\n");
    std::filesystem::permissions(path(), std::filesystem::perms(0444));
    EXPECT_EQ(ini.DeleteSection("A"), 0);
    EXPECT_EQ(ini.DeleteKey("A", "k"), 0);
    EXPECT_EQ(ini.DeleteKeyValue("A", "k"), 0);
    EXPECT_EQ(readFile(path()), "[A]\r\nk=1\r\n");
}

TEST_F(IniTest, DeleteFileOnlyForAnIniExtension) {
    write("[A]\r\n");
    ini.IniPath(dir.file("PexarDeskTop.INI"));
    writeFile(dir.file("PexarDeskTop.INI"), "[A]\r\n");
    ini.DeleteFile();
    EXPECT_TRUE(std::filesystem::exists(dir.file("PexarDeskTop.INI")));
    EXPECT_EQ(
        messages(),
        std::vector<std::string>{message(
            48, "Error", "The file in the IniPath property is not an ini file or doesn't exist!")});

    clearTrace();
    ini.IniPath(path());
    ini.DeleteFile();
    EXPECT_FALSE(std::filesystem::exists(path()));
    EXPECT_TRUE(messages().empty());
    ini.DeleteFile();
    EXPECT_EQ(messages(), std::vector<std::string>{message(
                              48, "Error", "The file in the IniPath property was not found!")});
    EXPECT_EQ(ini.IniPath(), path());

    // A folder of that name is no file: not deleted, and that failure is not shown.
    clearTrace();
    std::filesystem::create_directory(path());
    ini.DeleteFile();
    EXPECT_TRUE(std::filesystem::is_directory(path()));
    EXPECT_TRUE(messages().empty());
}

}  // namespace
