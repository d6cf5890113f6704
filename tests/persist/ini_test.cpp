// INI files as the settings, project and language files use them.
#include "persist/Ini.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <unistd.h>

using namespace kelvra;
namespace fs = std::filesystem;

namespace
{

class IniTest : public ::testing::Test
{
protected:
    IniStore store() const { return IniStore({dir.path(), "kelvra"}); }
    std::string settings() const { return dir.read("kelvra.ini"); }
    test::TempFolder dir;
};

} // namespace

TEST_F(IniTest, WritesKeepKeysSectionsAndOtherLinesInTheirPlaces)
{
    const IniStore ini = store();
    EXPECT_EQ(ini.ReadIni("Main", "USE", "1"), "1");
    EXPECT_EQ(ini.WriteIni("Main", "USE", "2"), IniWriteStatus::Ok);
    EXPECT_EQ(settings(), "[Main]\r\nUSE=2\r\n");
    EXPECT_EQ(ini.ReadIni("main", "use", "1"), "2");
    ini.WriteIni("LU", "h2", "40");
    ini.WriteIni("Main", "left", "100");
    ini.WriteIni("Main", "USE", "3");
    EXPECT_EQ(settings(), "[Main]\r\nUSE=3\r\nleft=100\r\n[LU]\r\nh2=40\r\n");
    ini.WriteIni("Main", "USE", ""); // an empty value removes the key
    EXPECT_EQ(settings(), "[Main]\r\nleft=100\r\n[LU]\r\nh2=40\r\n");
    ini.WriteIni("S", "k", std::string(3000, 'x'));
    EXPECT_EQ(ini.ReadIni("S", "k", "").size(), 2047u) << "long values are cut at the buffer";
    EXPECT_EQ(ini.resolve("house.tbx", "/p"), "/p/house.tbx");
    EXPECT_EQ(ini.resolve("house", "/p"), "/p/house.ini");
    EXPECT_EQ(ini.resolve("", ""), dir.file("kelvra.ini"));
    // An empty value reads empty, not as the default; lines not written stay byte for byte.
    dir.put("kelvra.ini", "[Main]\r\n; kept\r\nUSE = 5\r\nother=1\r\n[LU]\r\nh2=\r\n");
    EXPECT_EQ(store().ReadIni("LU", "h2", "40"), "");
    store().WriteIni("Main", "other", "2");
    EXPECT_EQ(settings(), "[Main]\r\n; kept\r\nUSE = 5\r\nother=2\r\n[LU]\r\nh2=\r\n");
}

TEST_F(IniTest, WindowsFormsAreRead)
{
    const std::string path = dir.put(
        "w.ini", "\xEF\xBB\xBF; comment\n[frmMain]\nlblA = Hallo \r\ncmdShow(2)=Toon\n[.]\nMessageBox(0)=x");
    EXPECT_EQ(ReadLanguageValue(path, "FRMMAIN", "lbla", "d"), "Hallo");
    EXPECT_EQ(ReadLanguageValue(path, ".", "MessageBox(0)", "d"), "x");
    EXPECT_EQ(ReadLanguageValue(path, "frmMain", std::nullopt, ""), std::string("lblA\0cmdShow(2)\0", 16));
    EXPECT_EQ(ReadLanguageValue(path, "none", "k", "d"), "d");
    EXPECT_EQ(ReadLanguageValue(dir.file("missing.ini"), "a", "k", "d"), "d");
}

// A missing folder, a folder in the file's place and (for others than root) a read-only file: the write
// fails, reads give the defaults, and nothing is replaced.
TEST_F(IniTest, WritesThatCannotBeDoneFailQuietly)
{
    const IniStore nowhere({dir.file("nope"), "kelvra"});
    EXPECT_EQ(nowhere.WriteIni("Main", "USE", "2"), IniWriteStatus::Failed);
    EXPECT_EQ(nowhere.ReadIni("Main", "USE", "1"), "1");

    fs::create_directories(dir.file("kelvra.ini"));
    EXPECT_EQ(store().ReadIni("Main", "USE", "1"), "1");
    EXPECT_EQ(store().WriteIni("Main", "USE", "2"), IniWriteStatus::Failed);
    EXPECT_TRUE(fs::is_directory(dir.file("kelvra.ini")));
    fs::remove(dir.file("kelvra.ini"));

    if (geteuid() == 0)
        return; // root may write any file
    dir.put("kelvra.ini", "[Main]\r\nUSE=5\r\n");
    fs::permissions(dir.file("kelvra.ini"), fs::perms::owner_read);
    EXPECT_EQ(store().WriteIni("Main", "USE", "6"), IniWriteStatus::Failed);
    EXPECT_EQ(settings(), "[Main]\r\nUSE=5\r\n");
    fs::permissions(dir.file("kelvra.ini"), fs::perms::owner_all);
}

// A rewrite keeps the byte-order mark as it found it, so what other keys read never changes: with two
// marks, the second one stays second and the section behind it stays hidden.
TEST_F(IniTest, RewritingKeepsTheByteOrderMark)
{
    const std::string bom = "\xEF\xBB\xBF";
    struct Case {
        std::string before, after;
        const char* hiddenRead; // what ReadIni("Fuzz", "key") gives before the write
    };
    // clang-format off
    const Case cases[] = {
        {bom + bom + "[Fuzz]\nkey=x\n", bom + bom + "[Fuzz]\r\nkey=x\r\n[Fuzz]\r\nkey=value\r\n", "d"},
        {bom + "[Fuzz]\nkey=x\n", bom + "[Fuzz]\r\nkey=value\r\n", "x"},
        {"[Fuzz]\nkey=x\n", "[Fuzz]\r\nkey=value\r\n", "x"}};
    // clang-format on
    const IniStore ini = store();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.before);
        dir.put("f.ini", c.before);
        EXPECT_EQ(ini.ReadIni("Fuzz", "key", "d", "f", dir.path()), c.hiddenRead);
        ASSERT_EQ(ini.WriteIni("Fuzz", "key", "value", "f", dir.path()), IniWriteStatus::Ok);
        EXPECT_EQ(dir.read("f.ini"), c.after);
        ASSERT_EQ(ini.WriteIni("Other", "k", "1", "f", dir.path()), IniWriteStatus::Ok);
        EXPECT_EQ(ini.ReadIni("Fuzz", "key", "d", "f", dir.path()), "value");
    }
}
