// INI files as the settings, project and language files use them.
#include "persist/Ini.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

using namespace kelvra;
namespace fs = std::filesystem;

namespace
{

class IniTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() /
              ("kelvra-ini-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    IniStore store() const { return IniStore({dir.string(), "kelvra"}); }
    std::string slurp(const fs::path& p) const
    {
        std::ifstream in(p, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    void put(const fs::path& p, const std::string& bytes) const
    {
        std::ofstream(p, std::ios::binary) << bytes;
    }

    fs::path dir;
};

} // namespace

TEST_F(IniTest, FirstWriteCreatesTheSettingsFile)
{
    const IniStore ini = store();
    EXPECT_EQ(ini.ReadIni("Main", "USE", "1"), "1");
    EXPECT_EQ(ini.WriteIni("Main", "USE", "2"), IniWriteStatus::Ok);
    EXPECT_EQ(slurp(dir / "kelvra.ini"), "[Main]\r\nUSE=2\r\n");
    EXPECT_EQ(ini.ReadIni("main", "use", "1"), "2");
}

TEST_F(IniTest, KeysAndSectionsKeepTheirPlaces)
{
    const IniStore ini = store();
    ini.WriteIni("Main", "USE", "2");
    ini.WriteIni("LU", "h2", "40");
    ini.WriteIni("Main", "left", "100");
    ini.WriteIni("Main", "USE", "3");
    EXPECT_EQ(slurp(dir / "kelvra.ini"), "[Main]\r\nUSE=3\r\nleft=100\r\n[LU]\r\nh2=40\r\n");
    ini.WriteIni("Main", "USE", "");
    EXPECT_EQ(slurp(dir / "kelvra.ini"), "[Main]\r\nleft=100\r\n[LU]\r\nh2=40\r\n");
    EXPECT_EQ(ini.ReadIni("Main", "USE", "1"), "1");
}

TEST_F(IniTest, EmptyValueReadsEmptyNotTheDefault)
{
    put(dir / "kelvra.ini", "[LU]\r\nh2=\r\n");
    EXPECT_EQ(store().ReadIni("LU", "h2", "40"), "");
}

TEST_F(IniTest, FileResolution)
{
    const IniStore ini = store();
    EXPECT_EQ(ini.resolve("house.tbx", "/p"), "/p/house.tbx");
    EXPECT_EQ(ini.resolve("house", "/p"), "/p/house.ini");
    EXPECT_EQ(ini.resolve("", ""), (dir / "kelvra.ini").string());
    ini.WriteIni("MAIN", "fid", "v0110", "house.tbx", dir.string());
    EXPECT_TRUE(fs::exists(dir / "house.tbx"));
}

TEST_F(IniTest, LongValuesAreCut)
{
    const IniStore ini = store();
    ini.WriteIni("S", "k", std::string(3000, 'x'));
    EXPECT_EQ(ini.ReadIni("S", "k", "").size(), 2047u);
}

TEST_F(IniTest, WindowsFormsAreRead)
{
    put(dir / "w.ini",
        "\xEF\xBB\xBF; comment\n[frmMain]\nlblA = Hallo \r\ncmdShow(2)=Toon\n[.]\nMessageBox(0)=x");
    const std::string path = (dir / "w.ini").string();
    EXPECT_EQ(ReadLanguageValue(path, "FRMMAIN", "lbla", "d"), "Hallo");
    EXPECT_EQ(ReadLanguageValue(path, ".", "MessageBox(0)", "d"), "x");
    EXPECT_EQ(ReadLanguageValue(path, "frmMain", std::nullopt, ""), std::string("lblA\0cmdShow(2)\0", 16));
    EXPECT_EQ(ReadLanguageValue(path, "none", "k", "d"), "d");
    EXPECT_EQ(ReadLanguageValue((dir / "missing.ini").string(), "a", "k", "d"), "d");
}

TEST_F(IniTest, UntouchedLinesStayByteForByte)
{
    put(dir / "kelvra.ini", "[Main]\r\n; kept\r\nUSE = 5\r\nother=1\r\n");
    store().WriteIni("Main", "other", "2");
    EXPECT_EQ(slurp(dir / "kelvra.ini"), "[Main]\r\n; kept\r\nUSE = 5\r\nother=2\r\n");
}

TEST_F(IniTest, WriteIntoAMissingFolderFailsQuietly)
{
    const IniStore ini({(dir / "nope").string(), "kelvra"});
    EXPECT_EQ(ini.WriteIni("Main", "USE", "2"), IniWriteStatus::Failed);
    EXPECT_EQ(ini.ReadIni("Main", "USE", "1"), "1");
}

TEST_F(IniTest, ADirectoryIsNeverReadOrReplaced)
{
    fs::create_directories(dir / "kelvra.ini");
    const IniStore ini = store();
    EXPECT_EQ(ini.ReadIni("Main", "USE", "1"), "1");
    EXPECT_EQ(ini.WriteIni("Main", "USE", "2"), IniWriteStatus::Failed);
    EXPECT_TRUE(fs::is_directory(dir / "kelvra.ini"));
}

// A rewrite keeps the byte-order mark as it found it, so what other keys read never changes: with two
// marks, the second one stays second and the section behind it stays hidden.
TEST_F(IniTest, RewritingKeepsTheByteOrderMark)
{
    const std::string bom = "\xEF\xBB\xBF";
    struct Case {
        const char* name;
        std::string before;
        std::string after;
        std::string hiddenRead; // what ReadIni("Fuzz", "key") gives before the write
    };
    const Case cases[] = {
        {"two marks hide the first section", bom + bom + "[Fuzz]\nkey=x\n",
         bom + bom + "[Fuzz]\r\nkey=x\r\n[Fuzz]\r\nkey=value\r\n", "d"},
        {"one mark is kept", bom + "[Fuzz]\nkey=x\n", bom + "[Fuzz]\r\nkey=value\r\n", "x"},
        {"no mark gets none", "[Fuzz]\nkey=x\n", "[Fuzz]\r\nkey=value\r\n", "x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        put(dir / "f.ini", c.before);
        const IniStore ini = store();
        EXPECT_EQ(ini.ReadIni("Fuzz", "key", "d", "f", dir.string()), c.hiddenRead);
        ASSERT_EQ(ini.WriteIni("Fuzz", "key", "value", "f", dir.string()), IniWriteStatus::Ok);
        EXPECT_EQ(ini.ReadIni("Fuzz", "key", "d", "f", dir.string()), "value");
        EXPECT_EQ(slurp(dir / "f.ini"), c.after);
        // A second write changes its own line only.
        ASSERT_EQ(ini.WriteIni("Other", "k", "1", "f", dir.string()), IniWriteStatus::Ok);
        EXPECT_EQ(ini.ReadIni("Fuzz", "key", "d", "f", dir.string()), "value");
    }
}

// The new file is renamed over the old one, which a writable folder allows even for a read-only file;
// the write must still leave a file the user may not write alone.
TEST_F(IniTest, ReadOnlyFileIsNotReplaced)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root may write any file; the folder-shaped obstacles above cover root";
    put(dir / "kelvra.ini", "[Main]\r\nUSE=5\r\n");
    fs::permissions(dir / "kelvra.ini", fs::perms::owner_read);
    EXPECT_EQ(store().WriteIni("Main", "USE", "6"), IniWriteStatus::Failed);
    EXPECT_EQ(slurp(dir / "kelvra.ini"), "[Main]\r\nUSE=5\r\n");
    fs::permissions(dir / "kelvra.ini", fs::perms::owner_all);
}
