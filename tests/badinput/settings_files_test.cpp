// The settings file beside the program, damaged in every way a disk or an editor can damage it, and
// a program folder that is missing or cannot be written.
#include "tests/badinput/BadInputFixture.h"

#include "calc/Numeric.h"

#include <QComboBox>

using namespace kelvra;
using namespace kelvra::badinput;

namespace
{

struct SettingsCase {
    const char* name;
    std::string content;
    std::string h2; // what txtSize(0) shows at start
    std::string l3; // what txtSize(1) shows: keys after a damaged one are still read
};

std::vector<SettingsCase> settingsCases()
{
    const std::string huge(10u << 20, 'x');
    return {
        {"empty", "", "40", "40"},
        {"binary", binaryBytes(64 * 1024), "40", "40"},
        {"10 MB without line ends", "[LU]h2=45" + huge, "40", "40"},
        {"10 MB value", "[LU]\r\nh2=" + huge + "\r\nl3=50\r\n", "40", "50"},
        {"no line ends but CR", "[LU]\rh2=45\rl3=50\r", "40", "40"},
        {"NUL bytes",
         std::string("[LU]\r\nh2=4\0"
                     "5\r\nl3=50\r\n",
                     21),
         "40", "50"},
        {"invalid UTF-8", "[LU]\r\nh2=\xFF\xFE\xC3\r\nl3=50\r\n", "40", "50"},
        {"not numbers", "[LU]\r\nh2=abc\r\nsub=zwei\r\nca=9O\r\nl3=50\r\n", "40", "50"},
        {"numbers out of range",
         "[Main]\r\nUSE=99999999\r\nleft=1e39\r\ntop=-1e39\r\n[LU]\r\nh2=1e30\r\nca=99999\r\nthick0=-"
         "70000\r\n"
         "sub=40000\r\npieces0=-5\r\npieces2=7\r\ncorr=99\r\nptype=-2\r\nl3=50\r\n",
         "40", "50"},
        {"section line without end", "[LU\r\nh2=45\r\n", "40", "40"},
        {"keys and sections twice", "[LU]\r\nh2=45\r\nh2=46\r\n[LU]\r\nl3=50\r\n", "45", "50"},
        {"good file behind a byte-order mark", "\xEF\xBB\xBF[LU]\r\nh2=45\r\nl3=50\r\n", "45", "50"},
    };
}

class SettingsFileTest : public BadInputTest, public ::testing::WithParamInterface<SettingsCase>
{
};

TEST_P(SettingsFileTest, StartsWithUsableInputsAndKeepsWhatIsTyped)
{
    const SettingsCase& c = GetParam();
    put(settingsFile(), c.content);
    start();
    ASSERT_TRUE(win->isVisible());
    // The only message is the one for the missing language files; the damage falls back quietly.
    EXPECT_EQ(startTexts(), std::vector<std::string>{kNoLanguageNotice});
    EXPECT_EQ(box(0)->text().toStdString(), c.h2);
    EXPECT_EQ(box(1)->text().toStdString(), c.l3);
    for (int i = 0; i < 13; ++i)
        EXPECT_TRUE(static_cast<bool>(toFixed(box(i)->text().toStdString(), ','))) << "txtSize(" << i << ")";
    for (const char* list : {"cmbSize", "cmbCorrection", "cmbPortWhere", "cmbPortType"}) {
        auto* cmb = qobject_cast<QComboBox*>(win->control(list));
        EXPECT_GE(cmb->currentIndex(), 0) << list;
    }
    for (int i = 0; i < 3; ++i)
        EXPECT_GE(qobject_cast<QComboBox*>(win->control("cmbPieces", i))->currentIndex(), 0);

    // The design still calculates.
    win->buttonHandler(2);
    EXPECT_TRUE(win->app().simulationOn);
    EXPECT_TRUE(messages.messages.empty()) << messageTexts().front();

    // What the user types survives the exit and the next start.
    box(2)->setText("47,5");
    quit();
    start();
    EXPECT_EQ(box(2)->text().toStdString(), "47,5");
    EXPECT_EQ(box(1)->text().toStdString(), c.l3);
}

INSTANTIATE_TEST_SUITE_P(Hostile, SettingsFileTest, ::testing::ValuesIn(settingsCases()), CaseName());

TEST_F(BadInputTest, SettingsFileThatIsAFolderIsLeftAlone)
{
    fs::create_directories(settingsFile());
    start();
    EXPECT_EQ(startTexts(), std::vector<std::string>{kNoLanguageNotice});
    EXPECT_EQ(box(0)->text(), "40");
    quit();
    EXPECT_TRUE(fs::is_directory(settingsFile()));
}

TEST_F(BadInputTest, MissingProgramFolder)
{
    programFolder /= "not there";
    start();
    ASSERT_TRUE(win->isVisible());
    EXPECT_EQ(startTexts(), std::vector<std::string>{kNoLanguageNotice});
    EXPECT_EQ(box(0)->text(), "40");
    win->openHistory();
    EXPECT_EQ(messageTexts(), std::vector<std::string>{"No history file found (kelvra_history.txt)"});
    box(0)->setText("45");
    quit();
    // Nothing is created in its place, the program ends normally, and what was typed is kept in the
    // user's configuration folder.
    EXPECT_FALSE(fs::exists(programFolder));
    EXPECT_NE(slurp(configHome / "kelvra" / "kelvra.ini").find("h2=45"), std::string::npos);
}

// A settings file that cannot be replaced keeps its old contents: the exit writes fail, they never
// leave a half-written or empty file behind.
TEST_F(BadInputTest, SettingsWriteThatFailsKeepsTheOldFile)
{
    const std::string old = "[Main]\r\nUSE=7\r\n[LU]\r\nh2=45\r\nl3=50\r\n";
    put(settingsFile(), old);
    // Every write goes through a new file beside the old one; a folder in that place stops it for
    // root as well. Without root, a read-only program folder is tried too.
    fs::create_directories(programFolder / "kelvra.ini.tmp~");
    start();
    EXPECT_EQ(box(0)->text(), "45");
    box(0)->setText("60");
    box(1)->clear();
    quit();
    EXPECT_EQ(slurp(settingsFile()), old);

    if (!runningAsRoot()) {
        fs::remove(programFolder / "kelvra.ini.tmp~");
        fs::permissions(programFolder, fs::perms::owner_read | fs::perms::owner_exec);
        start();
        box(0)->setText("60");
        quit();
        EXPECT_EQ(slurp(settingsFile()), old);
    }
    start();
    EXPECT_EQ(box(0)->text(), "45");
    EXPECT_EQ(box(1)->text(), "50");
}

} // namespace
