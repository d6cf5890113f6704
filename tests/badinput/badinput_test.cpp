// The real program, in a program folder of the test's own, fed what no file or input box should hold:
// the files beside the program and the project files damaged, oddly named, or in folders that are missing
// or cannot be written, and every input box given text that is no number, too big, too long or not even
// Latin letters, with simulation mode on. The program goes on, says what went wrong and keeps what the user
// typed. The damaged contents themselves are read by the file cores' tests.
#include "calc/Numeric.h"
#include "gui/common/MessageService.h"
#include "gui/info/frmHistory.h"
#include "gui/main/frmMain.h"
#include "gui/project/frmDialog.h"
#include "persist/Ini.h"
#include "tests/support/TempFolder.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <unistd.h>

using namespace kelvra;
using namespace std::string_literals;

namespace
{

namespace fs = std::filesystem;

// Bytes that are no text at all, the same at every run.
std::string binaryBytes(std::size_t size)
{
    std::mt19937 random(1234);
    std::string out(size, '\0');
    for (char& c : out)
        c = static_cast<char>(random() & 0xFF);
    return out;
}

// Permissions do not stop root, so tests that need a write to fail use a way that stops anyone.
const bool runningAsRoot = geteuid() == 0;

class BadInputTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        programFolder = dir.dir() / "program";
        fs::create_directories(programFolder);
        // Where the settings go when the program folder cannot take them: never the real home.
        savedConfigHome = qgetenv("XDG_CONFIG_HOME");
        hadConfigHome = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString((dir.dir() / "config").string()));
        setMessageService(&messages);
    }
    void TearDown() override
    {
        win.reset();
        setMessageService(nullptr);
        if (hadConfigHome)
            qputenv("XDG_CONFIG_HOME", savedConfigHome);
        else
            qunsetenv("XDG_CONFIG_HOME");
        // Folders made read-only by a test must be removable again.
        std::error_code ec;
        for (const auto& e : fs::recursive_directory_iterator(dir.dir(), ec))
            fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }

    // Starts the program in the program folder; the messages of the start are kept apart.
    void start(char separator = ',')
    {
        messages.messages.clear();
        win = std::make_unique<frmMain>(AppPaths{programFolder.string(), "kelvra"}, separator);
        win->show();
        startMessages = messages.messages;
        messages.messages.clear();
    }
    // Closes the main window as the user does, which writes the settings back.
    void quit()
    {
        win->close();
        win.reset();
    }
    frmDialog& dialog() { return *win->findChild<frmDialog*>(); }
    std::string stored(const fs::path& file, const char* key) const
    {
        return ReadLanguageValue(file.string(), "DATA", key, "<none>");
    }
    fs::path settingsFile() const { return programFolder / "kelvra.ini"; }
    QLineEdit* box(int i) const { return qobject_cast<QLineEdit*>(win->control("txtSize", i)); }

    test::TempFolder dir;
    fs::path programFolder;
    QByteArray savedConfigHome;
    bool hadConfigHome = false;
    RecordingMessageService messages;
    std::vector<Message> startMessages;
    std::unique_ptr<frmMain> win;
};

struct Box {
    const char* key;
    int index;        // of txtSize; -1 for txtVother
    int portType = 1; // the port's diameter box is enabled only with a round port (0)
};

// clang-format off
const Box kBoxes[] = {{"h2", 0}, {"l3", 1}, {"b2", 2}, {"ca", 3}, {"cb", 4}, {"lp", 5}, {"dp", 6, 0}, {"bp", 7},
                      {"hp", 8}, {"thick0", 9}, {"thick1", 10}, {"thick2", 11}, {"subvol", 12}, {"vother", -1}};
// clang-format on

// What a user can get into a box by typing or pasting; one with a right-to-left mark before the digits.
// clang-format off
const std::string kHostileTexts[] = {"abc", "-", ",", "1,2,3", "1e999", "99999999999999999999", "-40", "0", "Ölwanne",
                                     "\xE2\x80\x8F" "12", std::string(3000, '9')};
// clang-format on

// The recalculation's error and its negative-volume warning, and the woofer check of the front panel.
// The design's own messages, or a fault in plain words naming its box; never an error number.
bool expectedMessage(const Message& m)
{
    return m.text == "Your sub is to big for the front plate" ||
           m.text.starts_with("Somethings wrong, you've got a negative volume") ||
           m.text.find("Look at the box \"") != std::string::npos ||
           m.text == "A measure is too large to calculate with.";
}

} // namespace

TEST_F(BadInputTest, SettingsFileThatIsAFolderIsLeftAlone)
{
    fs::create_directories(settingsFile());
    start();
    ASSERT_EQ(startMessages.size(), 1u);
    EXPECT_EQ(startMessages[0].text, "Couldn't find any language file. Using Standard.");
    EXPECT_EQ(box(0)->text(), "40");
    quit();
    EXPECT_TRUE(fs::is_directory(settingsFile()));
}

// A settings file that cannot be replaced keeps its old contents: the exit writes fail, they never
// leave a half-written or empty file behind.
TEST_F(BadInputTest, SettingsWriteThatFailsKeepsTheOldFile)
{
    const std::string old = "[Main]\r\nUSE=7\r\n[LU]\r\nh2=45\r\nl3=50\r\n";
    dir.put("program/kelvra.ini", old);
    // Every write goes through a new file beside the old one; a folder in that place stops it for root
    // as well. Without root, a read-only program folder is tried too.
    fs::create_directories(programFolder / "kelvra.ini.tmp~");
    for (int round = 0; round < (runningAsRoot ? 1 : 2); ++round) {
        start();
        EXPECT_EQ(box(0)->text(), "45");
        box(0)->setText("60");
        box(1)->clear();
        quit();
        EXPECT_EQ(test::TempFolder::slurp(settingsFile()), old);
        fs::remove(programFolder / "kelvra.ini.tmp~");
        fs::permissions(programFolder, fs::perms::owner_read | fs::perms::owner_exec);
    }
}

// A name with blanks and letters outside ASCII is saved, listed and opened again; a save that cannot be
// written says so and keeps the design in the window, to be saved once the obstacle is gone.
TEST_F(BadInputTest, OddNamesAndSavesThatCannotBeWritten)
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
    for (int obstacle = 0; obstacle < (runningAsRoot ? 2 : 3); ++obstacle) {
        SCOPED_TRACE(obstacle);
        if (obstacle == 0)
            fs::create_directories(projects / "huis.tbx");
        if (obstacle == 1) {
            fs::remove_all(projects);
            dir.put("mijn projecten ü", "not a folder");
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
TEST_F(BadInputTest, HistoryFileOfBinaryBytesOrHugeLinesIsShown)
{
    // clang-format off
    const std::pair<std::string, int> cases[] = {
        {binaryBytes(16 * 1024), 0}, {"een\0twee\r\ndrie"s, 0}, {std::string(1u << 20, 'h'), 1 << 20},
        {std::string(5000, 'a').append("\r\n").append(5000, 'b').append("\r\n"), 10002}};
    // clang-format on
    start();
    for (const auto& [content, shown] : cases) {
        dir.put("program/kelvra_history.txt", content);
        win->openHistory();
        auto* history = win->findChild<frmHistory*>();
        ASSERT_NE(history, nullptr);
        EXPECT_TRUE(messages.messages.empty());
        EXPECT_TRUE(shown > 0 ? history->historyText().size() == shown : !history->historyText().isEmpty());
        delete history;
    }
}

TEST_F(BadInputTest, EveryBoxTakesHostileTextAndKeepsItForTheNextStart)
{
    const auto target = [this](const Box& b) {
        return qobject_cast<QLineEdit*>(b.index < 0 ? win->control("txtVother")
                                                    : win->control("txtSize", b.index));
    };
    start();
    win->setModelListPosition(*findModelKey("pieces2"), 1); // the boxes of the port need a port
    for (const Box& b : kBoxes) {
        SCOPED_TRACE(b.key);
        win->setModelListPosition(*findModelKey("ptype"), b.portType);
        QLineEdit* box = target(b);
        ASSERT_TRUE(box && box->isEnabled());
        const QString firstText = box->text();
        for (const std::string& text : kHostileTexts) {
            SCOPED_TRACE(text.substr(0, 20));
            box->setText(firstText); // back to a number the design calculates with, then simulation on
            if (!win->app().simulationOn)
                win->buttonHandler(ShowButton::Simulation);
            messages.messages.clear();
            box->setFocus();
            box->selectAll();
            if (text.size() < 40 && std::all_of(text.begin(), text.end(), [](char ch) { return ch > 0; }))
                QTest::keyClicks(box, QString::fromStdString(text));
            else
                box->insert(QString::fromStdString(text)); // a paste
            ASSERT_TRUE(win->isVisible());
            EXPECT_EQ(box->text().toStdString(), text);
            for (const Message& m : messages.messages)
                EXPECT_TRUE(expectedMessage(m)) << m.text;
            // An error switches simulation mode off, and says so.
            if (!win->app().simulationOn) {
                EXPECT_FALSE(messages.messages.empty());
            }
        }
        box->setText(firstText);
    }
    // The last text stays with the design: written at exit as typed. The woofer volume is written as its
    // number, so a number comes back in its shortest form; a text that is no number stays as typed.
    for (const Box& b : kBoxes)
        target(b)->setText(b.index == 12 ? "012,50" : "12,5x");
    quit();
    start();
    for (const Box& b : kBoxes) {
        const std::string stored =
            IniStore({programFolder.string(), "kelvra"}).ReadIni("LU", b.key, "<none>");
        EXPECT_EQ(stored, b.index == 12 ? "12,5" : "12,5x") << b.key;
        // Text that is no number comes back as the key's default, a number the design can use.
        EXPECT_TRUE(static_cast<bool>(toFixed(target(b)->text().toStdString(), ','))) << b.key;
    }
    EXPECT_EQ(target(kBoxes[12])->text(), "12,5");
}
