// Project files opened and saved through the File menu and the program's file dialog: damaged files,
// names with blanks and accented letters, and saves that cannot be written.
#include "tests/badinput/BadInputFixture.h"

#include "calc/Numeric.h"
#include "gui/project/frmDialog.h"
#include "persist/Ini.h"

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace kelvra;
using namespace kelvra::badinput;

namespace
{

const std::string kOldVersion = "Oude versie van het bestand, toch proberen te laden?";
const std::string kReplaced =
    "Some values in this file could not be read and were replaced by their defaults: ";

class ProjectTest : public BadInputTest
{
protected:
    void SetUp() override
    {
        BadInputTest::SetUp();
        projects = fs::path(dir.path().toStdString()) / "mijn projecten ü";
        fs::create_directories(projects);
    }
    frmDialog& dialog() { return *win->findChild<frmDialog*>(); }
    // File, Open, a click on the file in the list, OK: as the user opens a project.
    void openThroughDialog(const QString& fileName)
    {
        ASSERT_TRUE(dialog().setFolder(QString::fromStdString(projects.string())));
        win->fileOpen();
        QListWidget* list = dialog().File1();
        const auto items = list->findItems(fileName, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << fileName.toStdString();
        list->scrollToItem(items.front());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(items.front()).center());
        QTest::mouseClick(dialog().cmdOC(0), Qt::LeftButton);
    }
    void saveAs(const QString& name)
    {
        win->fileSaveAs();
        // QTest types only ASCII keys; other letters arrive as a paste would bring them.
        dialog().txtFilename()->insert(name);
        QTest::mouseClick(dialog().cmdOC(0), Qt::LeftButton);
    }
    std::string stored(const fs::path& file, const char* section, const char* key) const
    {
        return ReadLanguageValue(file.string(), section, key, "<none>");
    }
    void expectUsableInputs()
    {
        for (int i = 0; i < 13; ++i)
            EXPECT_TRUE(static_cast<bool>(toFixed(box(i)->text().toStdString(), ',')))
                << "txtSize(" << i << ")";
        for (const char* list : {"cmbSize", "cmbCorrection", "cmbPortWhere", "cmbPortType"})
            EXPECT_GE(qobject_cast<QComboBox*>(win->control(list))->currentIndex(), 0) << list;
    }

    fs::path projects;
};

struct ProjectCase {
    const char* name;
    std::string content;
    bool oldVersion;      // the old-version question comes first
    std::string replaced; // the keys the notice names, empty for no notice
    std::string h2;       // txtSize(0) after the opening
};

std::vector<ProjectCase> projectCases()
{
    const std::string good = "[MAIN]\r\nfid=v0110\r\n[DATA]\r\n";
    return {
        {"empty", "", true, "", "40"},
        {"binary", binaryBytes(64 * 1024), true, "", "40"},
        {"10 MB without line ends", "[MAIN]fid=v0110" + std::string(10u << 20, 'x'), true, "", "40"},
        {"no line ends but CR", "[MAIN]\rfid=v0110\r[DATA]\rh2=45\r", true, "", "40"},
        {"NUL bytes",
         good + std::string("h2=4\0"
                            "5\r\nl3=50\r\n",
                            15),
         false, "h2", "40"},
        {"invalid UTF-8", good + "h2=\xC3\x28\r\nl3=50\r\n", false, "h2", "40"},
        {"not numbers", good + "h2=veertig\r\nsub=abc\r\nca=\r\nl3=50\r\n", false, "sub, h2, ca", "40"},
        {"list positions outside their lists", good + "sub=9\r\npieces0=-1\r\ncorr=3\r\nptype=40000\r\n",
         false, "sub, pieces0, corr, ptype", "40"},
        {"old tag in other letter case", "[MAIN]\r\nfid=V0110\r\n[DATA]\r\nh2=45\r\n", true, "", "45"},
        {"good design", good + "h2=45\r\nl3=50\r\n[LAYOUT]\r\nfront=0x0x0\r\n", false, "", "45"},
    };
}

class ProjectFileTest : public ProjectTest, public ::testing::WithParamInterface<ProjectCase>
{
};

TEST_P(ProjectFileTest, OpensAndSavesAgain)
{
    const ProjectCase& c = GetParam();
    put(projects / "hostile.tbx", c.content);
    start();
    openThroughDialog("hostile.tbx");
    ASSERT_TRUE(win->isVisible());
    std::vector<std::string> expected;
    if (c.oldVersion)
        expected.push_back(kOldVersion); // answered with OK, so the reading goes on
    if (!c.replaced.empty())
        expected.push_back(kReplaced + c.replaced);
    EXPECT_EQ(messageTexts(), expected);
    EXPECT_EQ(win->caption().substr(win->caption().size() - 11), " :: hostile");
    EXPECT_EQ(box(0)->text().toStdString(), c.h2);
    expectUsableInputs();

    // Save writes the design back into the file opened, readable again.
    messages.messages.clear();
    box(2)->setText("33,3");
    win->fileSave();
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(stored(projects / "hostile.tbx", "MAIN", "fid"), "v0110");
    EXPECT_EQ(stored(projects / "hostile.tbx", "DATA", "b2"), "33,3");
    EXPECT_EQ(stored(projects / "hostile.tbx", "DATA", "h2"), c.h2);
    box(2)->setText("1");
    openThroughDialog("hostile.tbx");
    EXPECT_EQ(box(2)->text(), "33,3");
}

INSTANTIATE_TEST_SUITE_P(Hostile, ProjectFileTest, ::testing::ValuesIn(projectCases()), CaseName());

TEST_F(ProjectTest, CancelOnTheOldVersionQuestionKeepsTheInputs)
{
    put(projects / "oud.tbx", "[DATA]\r\nh2=45\r\n");
    start();
    box(0)->setText("41");
    messages.answers.push_back(MessageAnswer::Cancel);
    openThroughDialog("oud.tbx");
    EXPECT_EQ(messageTexts(), std::vector<std::string>{kOldVersion});
    EXPECT_EQ(box(0)->text(), "41");
}

// A project name with blanks and letters outside ASCII is saved, listed and opened again.
TEST_F(ProjectTest, NamesWithBlanksAndAccentedLetters)
{
    start();
    ASSERT_TRUE(dialog().setFolder(QString::fromStdString(projects.string())));
    box(0)->setText("44");
    saveAs("Kofferbak Škoda été");
    EXPECT_TRUE(messages.messages.empty());
    const fs::path file = projects / "Kofferbak Škoda été.tbx";
    ASSERT_TRUE(fs::exists(file));
    EXPECT_EQ(stored(file, "DATA", "h2"), "44");
    win->fileNew();
    EXPECT_EQ(box(0)->text(), "40");
    openThroughDialog("Kofferbak Škoda été.tbx");
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(box(0)->text(), "44");
    EXPECT_TRUE(win->caption().ends_with(" :: Kofferbak Škoda été")) << win->caption();
}

// A save that cannot be written says so, and the design stays in the window to be saved elsewhere.
struct SaveFailure {
    const char* name;
    void (*arrange)(const fs::path& projects); // after the dialog has moved to the folder
    bool needsNonRoot;
};

class SaveFailureTest : public ProjectTest, public ::testing::WithParamInterface<SaveFailure>
{
};

TEST_P(SaveFailureTest, FailsWithAMessageAndKeepsTheInputs)
{
    const SaveFailure& c = GetParam();
    if (c.needsNonRoot && runningAsRoot())
        GTEST_SKIP() << "permissions do not stop root; the other cases make the write fail for root";
    start();
    ASSERT_TRUE(dialog().setFolder(QString::fromStdString(projects.string())));
    c.arrange(projects);
    box(0)->setText("52");
    box(5)->setText("12,5");
    saveAs("huis");
    ASSERT_EQ(messages.messages.size(), 1u) << "no message for a failed save";
    const Message& m = messages.messages.front();
    EXPECT_NE(m.text.find("huis.tbx"), std::string::npos) << m.text;
    EXPECT_EQ(m.icon, MessageIcon::Exclamation);
    EXPECT_EQ(box(0)->text(), "52");
    EXPECT_EQ(box(5)->text(), "12,5");
    EXPECT_FALSE(fs::is_regular_file(projects / "huis.tbx"));
    // Save again, once the obstacle is gone, writes what was typed.
    std::error_code ec;
    fs::permissions(projects, fs::perms::owner_all, fs::perm_options::add, ec);
    if (fs::is_directory(projects / "huis.tbx"))
        fs::remove_all(projects / "huis.tbx");
    if (fs::is_regular_file(projects)) {
        fs::remove(projects);
        fs::create_directories(projects);
    }
    messages.messages.clear();
    win->fileSave();
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(stored(projects / "huis.tbx", "DATA", "h2"), "52");
}

INSTANTIATE_TEST_SUITE_P(
    Hostile, SaveFailureTest,
    ::testing::Values(SaveFailure{"FileNameTakenByAFolder",
                                  [](const fs::path& p) { fs::create_directories(p / "huis.tbx"); }, false},
                      SaveFailure{"FolderReplacedByAFile",
                                  [](const fs::path& p) {
                                      fs::remove_all(p);
                                      put(p, "not a folder");
                                  },
                                  false},
                      SaveFailure{"ReadOnlyFolder",
                                  [](const fs::path& p) {
                                      fs::permissions(p, fs::perms::owner_read | fs::perms::owner_exec);
                                  },
                                  true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProjectTest, ReadOnlyProjectFileIsReadAndItsSaveFailsWithAMessage)
{
    put(projects / "vast.tbx", "[MAIN]\r\nfid=v0110\r\n[DATA]\r\nh2=45\r\n");
    fs::permissions(projects / "vast.tbx", fs::perms::owner_read);
    start();
    openThroughDialog("vast.tbx");
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(box(0)->text(), "45");
    if (runningAsRoot())
        return; // root writes any file; the save failures above cover root
    box(0)->setText("46");
    win->fileSave();
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(box(0)->text(), "46");
    EXPECT_EQ(stored(projects / "vast.tbx", "DATA", "h2"), "45");
}

} // namespace
