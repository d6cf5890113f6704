// The files beside the program and the project files, damaged, oddly named, or in folders that are missing
// or cannot be written: the real program starts, says what went wrong and keeps what the user typed. The
// damaged contents themselves are read by the file cores' tests.
#include "tests/support/BadInputFixture.h"

#include "gui/info/frmHistory.h"
#include "gui/project/frmDialog.h"
#include "persist/Ini.h"

#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace kelvra;
using namespace kelvra::badinput;
using namespace std::string_literals;

namespace
{

class FileTest : public BadInputTest
{
protected:
    frmDialog& dialog() { return *win->findChild<frmDialog*>(); }
    std::string stored(const fs::path& file, const char* key) const
    {
        return ReadLanguageValue(file.string(), "DATA", key, "<none>");
    }
};

} // namespace

TEST_F(FileTest, SettingsFileThatIsAFolderIsLeftAlone)
{
    fs::create_directories(settingsFile());
    start();
    EXPECT_EQ(startTexts(), std::vector<std::string>{kNoLanguageNotice});
    EXPECT_EQ(box(0)->text(), "40");
    quit();
    EXPECT_TRUE(fs::is_directory(settingsFile()));
}

// A settings file that cannot be replaced keeps its old contents: the exit writes fail, they never
// leave a half-written or empty file behind.
TEST_F(FileTest, SettingsWriteThatFailsKeepsTheOldFile)
{
    const std::string old = "[Main]\r\nUSE=7\r\n[LU]\r\nh2=45\r\nl3=50\r\n";
    put(settingsFile(), old);
    // Every write goes through a new file beside the old one; a folder in that place stops it for root
    // as well. Without root, a read-only program folder is tried too.
    fs::create_directories(programFolder / "kelvra.ini.tmp~");
    for (int round = 0; round < (runningAsRoot() ? 1 : 2); ++round) {
        start();
        EXPECT_EQ(box(0)->text(), "45");
        box(0)->setText("60");
        box(1)->clear();
        quit();
        EXPECT_EQ(slurp(settingsFile()), old);
        fs::remove(programFolder / "kelvra.ini.tmp~");
        fs::permissions(programFolder, fs::perms::owner_read | fs::perms::owner_exec);
    }
}

// A name with blanks and letters outside ASCII is saved, listed and opened again; a save that cannot be
// written says so and keeps the design in the window, to be saved once the obstacle is gone.
TEST_F(FileTest, OddNamesAndSavesThatCannotBeWritten)
{
    const fs::path projects = dir.dir() / "mijn projecten ü";
    fs::create_directories(projects);
    start();
    ASSERT_TRUE(dialog().setFolder(QString::fromStdString(projects.string())));
    box(0)->setText("44");
    win->fileSaveAs();
    dialog().txtFilename()->insert("Kofferbak Škoda été"); // as a paste brings letters beyond ASCII
    QTest::mouseClick(dialog().cmdOC(0), Qt::LeftButton);
    EXPECT_EQ(stored(projects / "Kofferbak Škoda été.tbx", "h2"), "44");
    win->fileNew();
    EXPECT_EQ(box(0)->text(), "40");
    win->fileOpen(); // a click on the file in the list, then OK
    const auto items = dialog().File1()->findItems("Kofferbak Škoda été.tbx", Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1);
    QTest::mouseClick(dialog().File1()->viewport(), Qt::LeftButton, {},
                      dialog().File1()->visualItemRect(items.front()).center());
    QTest::mouseClick(dialog().cmdOC(0), Qt::LeftButton);
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(box(0)->text(), "44");
    EXPECT_TRUE(win->caption().ends_with(" :: Kofferbak Škoda été")) << win->caption();

    // The name taken by a folder, the folder replaced by a file, and for others than root a read-only folder.
    for (int obstacle = 0; obstacle < (runningAsRoot() ? 2 : 3); ++obstacle) {
        SCOPED_TRACE(obstacle);
        if (obstacle == 0)
            fs::create_directories(projects / "huis.tbx");
        if (obstacle == 1) {
            fs::remove_all(projects);
            put(projects, "not a folder");
        }
        if (obstacle == 2)
            fs::permissions(projects, fs::perms::owner_read | fs::perms::owner_exec);
        box(0)->setText("52");
        messages.messages.clear();
        win->fileSaveAs();
        dialog().txtFilename()->setText("huis");
        QTest::mouseClick(dialog().cmdOC(0), Qt::LeftButton);
        ASSERT_EQ(messages.messages.size(), 1u) << "no message for a failed save";
        EXPECT_NE(messages.messages[0].text.find("huis.tbx"), std::string::npos) << messages.messages[0].text;
        EXPECT_EQ(messages.messages[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(box(0)->text(), "52");
        std::error_code ec;
        fs::permissions(projects, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(projects / "huis.tbx", ec);
        if (fs::is_regular_file(projects)) {
            fs::remove(projects);
            fs::create_directories(projects);
        }
        messages.messages.clear();
        win->fileSave();
        EXPECT_TRUE(messages.messages.empty());
        EXPECT_EQ(stored(projects / "huis.tbx", "h2"), "52");
        fs::remove(projects / "huis.tbx");
    }
}

// The history window itself is tested with ordinary files; here it gets what no text file holds.
TEST_F(FileTest, HistoryFileOfBinaryBytesOrHugeLinesIsShown)
{
    // clang-format off
    const std::pair<std::string, int> cases[] = {
        {binaryBytes(16 * 1024), 0}, {"een\0twee\r\ndrie"s, 0}, {std::string(1u << 20, 'h'), 1 << 20},
        {std::string(5000, 'a') + "\r\n" + std::string(5000, 'b') + "\r\n", 10002}};
    // clang-format on
    start();
    for (const auto& [content, shown] : cases) {
        put(programFolder / "kelvra_history.txt", content);
        win->openHistory();
        auto* history = win->findChild<frmHistory*>();
        ASSERT_NE(history, nullptr);
        EXPECT_TRUE(messages.messages.empty());
        EXPECT_TRUE(shown > 0 ? history->historyText().size() == shown : !history->historyText().isEmpty());
        delete history;
    }
}
