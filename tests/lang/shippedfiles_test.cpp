// The two language files shipped beside the program: Dutch first, both usable, Dutch restating the
// built-in texts and English translating every table entry and every caption Dutch names.
#include "lang/ApplyLanguage.h"
#include "lang/LanguageFiles.h"
#include "tests/lang/LangTestSupport.h"

#include <gtest/gtest.h>

#include <set>

using namespace kelvra;
using namespace kelvra::test;

namespace
{

// The shipped files, copied into a program folder of the test's own.
class ShippedFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* name : {"Dutch_lng.ini", "English_lng.ini"})
            std::filesystem::copy_file(std::filesystem::path(KELVRA_LANGUAGE_DIR) / name, dir.file(name));
    }
    std::string path(const char* name) const { return dir.file(name); }
    TempFolder dir;
};

TextTables tablesOf(const std::string& path, const std::string& file, std::vector<Message>& messages)
{
    TextTables t = ResetTextTables();
    for (std::string_view name : kTableNames) {
        const std::vector<Message> m = LoadLanguageList(path, file, name, t.table(name), ',');
        messages.insert(messages.end(), m.begin(), m.end());
    }
    return t;
}

} // namespace

TEST_F(ShippedFiles, DutchComesFirstSoAFirstStartStaysDutch)
{
    const LanguageSearch s = FindLanguageFiles(dir.path());
    EXPECT_TRUE(s.messages.empty());
    ASSERT_EQ(s.languages.size(), 2u);
    EXPECT_EQ(s.languages[0], (LanguageRow{"Nederlands", "Dutch_lng.ini"}));
    EXPECT_EQ(s.languages[1], (LanguageRow{"English", "English_lng.ini"}));
}

TEST_F(ShippedFiles, DutchTablesAreTheBuiltInTexts)
{
    std::vector<Message> messages;
    EXPECT_EQ(tablesOf(path("Dutch_lng.ini"), "Dutch_lng.ini", messages), ResetTextTables());
    EXPECT_TRUE(messages.empty());
    // Every entry is restated, not merely left alone.
    EXPECT_EQ(SectionKeyNames(path("Dutch_lng.ini"), ".").size(), 17u);
}

TEST_F(ShippedFiles, EnglishTranslatesEveryTableEntry)
{
    std::vector<Message> messages;
    const TextTables english = tablesOf(path("English_lng.ini"), "English_lng.ini", messages);
    EXPECT_TRUE(messages.empty());
    const TextTables dutch = ResetTextTables();
    for (std::string_view name : kTableNames) {
        const auto e = english.table(name);
        const auto d = dutch.table(name);
        for (std::size_t i = 0; i < e.size(); ++i) {
            EXPECT_NE(e[i], d[i]) << name << "(" << i << ")";
            EXPECT_FALSE(e[i].empty()) << name << "(" << i << ")";
        }
    }
    EXPECT_EQ(english.portType[0], "Round");
    EXPECT_EQ(english.correctionFact[2], "Damping wool");
    EXPECT_EQ(english.options[1], "Save as...");
}

TEST_F(ShippedFiles, EnglishNamesEveryControlThatDutchNames)
{
    const std::vector<std::string> dutch = SectionKeyNames(path("Dutch_lng.ini"), "frmMain");
    const std::vector<std::string> english = SectionKeyNames(path("English_lng.ini"), "frmMain");
    ASSERT_FALSE(dutch.empty());
    const std::set<std::string> englishKeys(english.begin(), english.end());
    EXPECT_EQ(englishKeys.size(), english.size()) << "a key is given twice";
    for (const std::string& key : dutch)
        EXPECT_TRUE(englishKeys.count(key)) << key;
    for (const std::string& key : english)
        EXPECT_FALSE(ReadLanguageValue(path("English_lng.ini"), "frmMain", key, "").empty()) << key;
}

TEST_F(ShippedFiles, KeyListsFitTheReadBuffer)
{
    // A key list longer than the buffer would silently lose its last keys.
    for (const char* file : {"Dutch_lng.ini", "English_lng.ini"})
        for (const char* section : {"frmMain", "."})
            EXPECT_LT(ReadLanguageValue(path(file), section, std::nullopt, "").size(), kIniBufferSize - 64)
                << file << " [" << section << "]";
}
