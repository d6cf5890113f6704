// The file dialog and the File menu's New, Open, Save and "Save as..." against real project files in
// a temporary folder, driven with clicks and keys; every number case under both decimal separators.
#include "gui/project/frmDialog.h"

#include "gui/common/MessageService.h"
#include "gui/common/Twips.h"
#include "info/Version.h"
#include "tests/support/SeparatorText.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

using namespace kelvra;
namespace fs = std::filesystem;

namespace
{

// Stands in for the main window: it keeps the inputs as the controls would and records each change.
class FakeHost : public MainWindowHost
{
public:
    FakeHost(AppPaths paths, char separator) : m_app(std::move(paths), separator) {}

    AppState& app() override { return m_app; }
    QWidget* window() override { return &m_window; }
    void setModelText(const ModelKey& key, const std::string& text) override
    {
        textOf(m_app.inputs, key) = text;
        changes.push_back(std::string(key.name) + "=" + text);
    }
    void setModelListPosition(const ModelKey& key, int position) override
    {
        listPosition(m_app.inputs, key) = position;
        changes.push_back(std::string(key.name) + "#" + std::to_string(position));
    }
    void runRecalculate() override { recalculations.push_back(m_app.simulationOn); }
    void setSimulationFlag(bool on) override { m_app.simulationOn = on; }
    void setCaption(const std::string& caption) override { m_caption = caption; }
    std::string caption() const override { return m_caption; }
    QWidget* control(std::string_view, std::optional<int>) override { return nullptr; }
    void refillTextLists() override {}

    std::vector<std::string> changes;
    std::vector<bool> recalculations; // the simulation flag at each recalculation

private:
    AppState m_app;
    QWidget m_window;
    std::string m_caption = "Kelvra [0.1 Build53]";
};

const std::string kTitle = "Kelvra [0.1 Build53]";

class DialogTest : public ::testing::TestWithParam<char>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_program.isValid());
        ASSERT_TRUE(m_projects.isValid());
        m_oldCurrent = QDir::currentPath();
        QDir::setCurrent(m_projects.path());
        setMessageService(&m_messages);
        m_host = std::make_unique<FakeHost>(AppPaths{m_program.path().toStdString(), "kelvra"}, sep());
        m_host->app().currentProjectFile = "left over.tbx";
        m_files = std::make_unique<FileCommands>(*m_host, nullptr);
        m_files->loadDialog();
    }
    void TearDown() override
    {
        m_files.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        setMessageService(nullptr);
        QDir::setCurrent(m_oldCurrent);
    }

    char sep() const { return GetParam(); }
    // A number text written with "," in the test, in the separator of this run.
    std::string num(const std::string& text) const { return test::under(text, sep()); }
    std::string projects() const { return m_projects.path().toStdString(); }
    std::string path(const std::string& name) const { return projects() + "/" + name; }
    void writeFile(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(path(name), std::ios::binary) << bytes;
    }
    std::string readFile(const std::string& name) const
    {
        std::ifstream in(path(name), std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }
    frmDialog& dlg() { return m_files->dialog(); }
    AppState& app() { return m_host->app(); }
    void clickOk() { QTest::mouseClick(dlg().cmdOC(0), Qt::LeftButton); }
    void clickCancel() { QTest::mouseClick(dlg().cmdOC(1), Qt::LeftButton); }
    void clickFile(const QString& name)
    {
        const QList<QListWidgetItem*> found = dlg().File1()->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        const QRect rect = dlg().File1()->visualItemRect(found[0]);
        QTest::mouseClick(dlg().File1()->viewport(), Qt::LeftButton, {}, rect.center());
    }
    void saveAs(const std::string& typed)
    {
        m_files->fileSaveAs();
        QTest::keyClicks(dlg().txtFilename(), QString::fromStdString(typed));
        clickOk();
    }
    // A project file as the program writes it for the first-run design.
    static std::string firstRunFile()
    {
        return "[MAIN]\r\nfid=v0110\r\n[DATA]\r\nsub=2\r\npieces0=0\r\npieces1=0\r\npieces2=0\r\ncorr=0\r\n"
               "pwhere=0\r\nptype=0\r\nh2=40\r\nl3=40\r\nb2=40\r\nca=90\r\ncb=90\r\nlp=0\r\ndp=0\r\nbp=0\r\n"
               "hp=0\r\nthick0=18\r\nthick1=18\r\nthick2=18\r\nsubvol=0\r\nvother=0\r\n";
    }

    QTemporaryDir m_program;
    QTemporaryDir m_projects;
    QString m_oldCurrent;
    RecordingMessageService m_messages;
    std::unique_ptr<FakeHost> m_host;
    std::unique_ptr<FileCommands> m_files;
};

INSTANTIATE_TEST_SUITE_P(BothSeparators, DialogTest, ::testing::Values(',', '.'),
                         [](const ::testing::TestParamInfo<char>& info) {
                             return info.param == ',' ? std::string("Comma") : std::string("Point");
                         });

TEST(ProjectExtension, EveryLowerCaseExtensionIsRemoved)
{
    struct Case {
        const char* name;
        const char* expected;
    };
    const Case cases[] = {
        {"house.tbx", "house"},
        {"HOUSE.TBX", "HOUSE.TBX"},
        {"house.tbx.tbx", "house"},
        {"my.tbxhouse.tbx", "myhouse"},
        {"House.Tbx", "House.Tbx"},
        {"house", "house"},
        {".tbx", ""},
        {"a.tb.tbxx", "a.tbx"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(withoutProjectExtension(c.name), c.expected) << c.name;
}

TEST_P(DialogTest, LoadsHiddenInTheCurrentFolderAndEmptiesTheProjectName)
{
    EXPECT_TRUE(app().currentProjectFile.empty());
    EXPECT_FALSE(dlg().isVisible());
    EXPECT_EQ(dlg().windowTitle(), "Dialog Caption");
    EXPECT_EQ(dlg().folder(), QDir::cleanPath(m_projects.path()));
    EXPECT_EQ(dlg().Dir1()->path(), dlg().folder());
    EXPECT_EQ(dlg().File1()->pattern(), "*.tbx");
    EXPECT_TRUE(dlg().txtFilename()->text().isEmpty());
    EXPECT_EQ(dlg().cmdOC(0)->text(), "OK");
    EXPECT_EQ(dlg().cmdOC(1)->text(), "Cancel");
    EXPECT_EQ(dlg().control("cmdOC", 1), dlg().cmdOC(1));
    EXPECT_EQ(dlg().control("txtFilename"), dlg().txtFilename());
    EXPECT_EQ(dlg().control("File1"), dlg().File1());
    EXPECT_EQ(dlg().control("Nothing"), nullptr);
    EXPECT_EQ(dlg().cmdOC(2), nullptr);
}

TEST_P(DialogTest, ControlsStandAtTheirTwipPositions)
{
    struct Case {
        const char* name;
        QRect expected;
    };
    const Case cases[] = {
        {"Drive1", twipRect(0, 0, 2415, 315)},        {"Dir1", twipRect(0, 360, 2415, 4815)},
        {"File1", twipRect(2520, 0, 2055, 4515)},     {"txtFilename", twipRect(2520, 4560, 2055, 285)},
        {"cmdOC(1)", twipRect(2520, 4920, 975, 375)}, {"cmdOC(0)", twipRect(3600, 4920, 975, 375)},
    };
    for (const Case& c : cases) {
        auto* w = dlg().findChild<QWidget*>(c.name);
        ASSERT_NE(w, nullptr) << c.name;
        EXPECT_EQ(w->geometry(), c.expected) << c.name;
    }
    EXPECT_EQ(dlg().size(), QSize(twipsToPixels(4680), twipsToPixels(5370)));
    EXPECT_EQ(dlg().minimumSize(), dlg().maximumSize()); // fixed-size border
}

TEST_P(DialogTest, DriveListShowsTheMountedVolumesWithTheCurrentOneChosen)
{
    QComboBox* drives = dlg().Drive1();
    ASSERT_GT(drives->count(), 0);
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady()) {
            EXPECT_GE(drives->findData(volume.rootPath()), 0) << volume.rootPath().toStdString();
        }
    }
    EXPECT_EQ(drives->currentData().toString(), QStorageInfo(m_projects.path()).rootPath());
}

TEST_P(DialogTest, ChoosingADriveMovesTheFolderListToItsRoot)
{
    QComboBox* drives = dlg().Drive1();
    const int root = drives->findData("/");
    ASSERT_GE(root, 0);
    if (drives->currentIndex() == root) {
        ASSERT_TRUE(dlg().setFolder(QString::fromStdString(projects())));
        drives->setCurrentIndex(-1);
    }
    drives->setCurrentIndex(root);
    EXPECT_EQ(dlg().Dir1()->path(), "/");
    EXPECT_EQ(dlg().folder(), "/");
}

// A double click as the window system delivers it: a click, then the second press as a double click.
void doubleClick(QListWidget* list, QListWidgetItem* item)
{
    const QPoint at = list->visualItemRect(item).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

TEST_P(DialogTest, DoubleClickInTheFolderListMovesTheFileList)
{
    fs::create_directory(path("sub"));
    writeFile("sub/inside.tbx", firstRunFile());
    writeFile("outside.tbx", firstRunFile());
    int code = 0;
    dlg().fWhat(code); // shown, as the user sees it
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg()));
    FolderList* dirs = dlg().Dir1();
    dirs->refresh(); // the folder was made after the list was read
    const QList<QListWidgetItem*> found = dirs->findItems("sub", Qt::MatchEndsWith);
    ASSERT_EQ(found.size(), 1);
    doubleClick(dirs, found[0]);
    EXPECT_EQ(dlg().folder().toStdString(), path("sub"));
    EXPECT_EQ(dlg().File1()->fileNames(), QStringList{"inside.tbx"});

    // Up again through the entry of the parent folder.
    const QList<QListWidgetItem*> parent =
        dirs->findItems(m_projects.path().section('/', -1), Qt::MatchEndsWith);
    ASSERT_EQ(parent.size(), 1);
    doubleClick(dirs, parent[0]);
    EXPECT_EQ(dlg().folder().toStdString(), projects());
    EXPECT_EQ(dlg().File1()->fileNames(), QStringList{"outside.tbx"});
}

TEST_P(DialogTest, FileListHoldsOnlyProjectFilesWhateverTheirLetterCase)
{
    writeFile("house.tbx", "");
    writeFile("HOUSE.TBX", "");
    writeFile("garage.Tbx", "");
    writeFile("notes.txt", "");
    writeFile("house.tbx.bak", "");
    fs::create_directory(path("folder.tbx"));
    int code = 0;
    dlg().fWhat(code);
    EXPECT_EQ(dlg().File1()->fileNames(), (QStringList{"garage.Tbx", "house.tbx", "HOUSE.TBX"}));
}

TEST_P(DialogTest, FirstSaveOfARunBecomesSaveAs)
{
    ASSERT_TRUE(app().currentProjectFile.empty());
    int code = 1;
    dlg().fWhat(code);
    EXPECT_EQ(code, 2); // the caller's variable changes too
    EXPECT_TRUE(dlg().isVisible());
    EXPECT_EQ(dlg().windowTitle(), "Opslaan als...");
    EXPECT_TRUE(dlg().txtFilename()->isEnabled());
    EXPECT_TRUE(dlg().txtFilename()->text().isEmpty());
    EXPECT_FALSE(dlg().openMode());
    EXPECT_FALSE(dlg().isModal());
}

TEST_P(DialogTest, SaveAsWritesTheFirstRunDesignByteForByte)
{
    saveAs("house");
    EXPECT_FALSE(dlg().isVisible());
    EXPECT_EQ(app().currentProjectFile, "house.tbx");
    EXPECT_EQ(readFile("house.tbx"), firstRunFile());
    EXPECT_EQ(m_host->caption(), kTitle); // writing leaves the caption alone
    EXPECT_TRUE(m_messages.messages.empty());
}

TEST_P(DialogTest, SaveAsWritesTheTextsAsTypedAndThePlacements)
{
    app().inputs.txtSize[0] = num("21,3");
    app().inputs.txtSize[5] = ""; // an empty box leaves its key out
    app().inputs.sub = -1;
    app().layoutStrings[0] = num("12,5x30x0");
    app().layoutStrings[6] = num("1x2,25x1");
    saveAs("box");
    std::string expected = firstRunFile();
    expected.replace(expected.find("sub=2"), 5, "sub=-1");
    expected.replace(expected.find("h2=40"), 5, "h2=" + num("21,3"));
    expected.erase(expected.find("lp=0\r\n"), 6);
    expected += "[LAYOUT]\r\nfront=" + num("12,5x30x0") + "\r\nport=" + num("1x2,25x1") + "\r\n";
    EXPECT_EQ(readFile("box.tbx"), expected);
}

TEST_P(DialogTest, EnterInTheNameBoxSaves)
{
    m_files->fileSaveAs();
    QTest::keyClicks(dlg().txtFilename(), "keyed");
    QTest::keyClick(dlg().txtFilename(), Qt::Key_Return);
    EXPECT_FALSE(dlg().isVisible());
    EXPECT_EQ(readFile("keyed.tbx"), firstRunFile());
}

TEST_P(DialogTest, TypingTheExtensionDoublesIt)
{
    saveAs("house.tbx");
    EXPECT_EQ(app().currentProjectFile, "house.tbx.tbx");
    EXPECT_TRUE(fs::exists(path("house.tbx.tbx")));
    EXPECT_FALSE(fs::exists(path("house.tbx")));
}

TEST_P(DialogTest, SaveWithAKnownNameWritesAtOnceWithoutShowingTheDialog)
{
    saveAs("house");
    app().inputs.txtSize[1] = num("55,5");
    int code = 1;
    dlg().fWhat(code);
    EXPECT_EQ(code, 1);
    EXPECT_FALSE(dlg().isVisible());
    EXPECT_EQ(dlg().windowTitle(), "akke akke tuut tuut");
    EXPECT_EQ(dlg().txtFilename()->text(), "house");
    EXPECT_NE(readFile("house.tbx").find("l3=" + num("55,5") + "\r\n"), std::string::npos);
}

TEST_P(DialogTest, SavingOverAnExistingFileKeepsItsOtherKeys)
{
    writeFile("old.tbx", "[MAIN]\r\nfid=v0110\r\nowner=me\r\n[DATA]\r\nh2=99\r\nextra=1\r\n");
    saveAs("old");
    const std::string bytes = readFile("old.tbx");
    EXPECT_EQ(bytes.rfind("[MAIN]\r\nfid=v0110\r\nowner=me\r\n[DATA]\r\nh2=40\r\nextra=1\r\nsub=2\r\n", 0),
              0u)
        << bytes;
}

TEST_P(DialogTest, CancelAndAnEmptyNameChangeNothing)
{
    saveAs("house");
    const std::string before = readFile("house.tbx");
    app().inputs.txtSize[0] = "77";

    m_files->fileSaveAs();
    QTest::keyClicks(dlg().txtFilename(), "other");
    clickCancel();
    EXPECT_FALSE(dlg().isVisible());
    EXPECT_FALSE(fs::exists(path("other.tbx")));

    m_files->fileSaveAs();
    clickOk(); // nothing typed
    EXPECT_FALSE(dlg().isVisible());

    EXPECT_EQ(app().currentProjectFile, "house.tbx");
    EXPECT_EQ(readFile("house.tbx"), before);
    EXPECT_EQ(QDir(m_projects.path()).entryList(QDir::Files), QStringList{"house.tbx"});
}

TEST_P(DialogTest, OpenReadsEveryValueInReadingOrderAndNamesTheProject)
{
    writeFile("house.tbx", "[MAIN]\r\nfid=v0110\r\n[DATA]\r\nvother=" + num("2,5") +
                               "\r\nsub=3\r\npieces0=1\r\npieces1=2\r\npieces2=3\r\ncorr=2\r\npwhere=4\r\n"
                               "ptype=1\r\nh2=" +
                               num("45,25") +
                               "\r\nl3=50\r\nb2=60\r\nca=70\r\ncb=80\r\nlp=10\r\ndp=11\r\nbp=12\r\nhp=13\r\n"
                               "thick0=19\r\nthick1=20\r\nthick2=21\r\nsubvol=" +
                               num("1,5") + "\r\n");
    m_files->fileOpen();
    EXPECT_TRUE(dlg().isVisible());
    EXPECT_EQ(dlg().windowTitle(), "Openen");
    EXPECT_TRUE(dlg().openMode());
    EXPECT_FALSE(dlg().txtFilename()->isEnabled());
    clickFile("house.tbx");
    EXPECT_EQ(dlg().txtFilename()->text(), "house");
    clickOk();

    EXPECT_FALSE(dlg().isVisible());
    EXPECT_EQ(app().currentProjectFile, "house.tbx");
    EXPECT_EQ(m_host->caption(), kTitle + " :: house");
    EXPECT_TRUE(m_messages.messages.empty());
    const std::vector<std::string> expected = {"sub#3",
                                               "pieces0#1",
                                               "pieces1#2",
                                               "pieces2#3",
                                               "corr#2",
                                               "pwhere#4",
                                               "ptype#1",
                                               "h2=" + num("45,25"),
                                               "l3=50",
                                               "b2=60",
                                               "ca=70",
                                               "cb=80",
                                               "lp=10",
                                               "dp=11",
                                               "bp=12",
                                               "hp=13",
                                               "thick0=19",
                                               "thick1=20",
                                               "thick2=21",
                                               "subvol=" + num("1,5"),
                                               "vother=" + num("2,5")};
    EXPECT_EQ(m_host->changes, expected);
}

TEST_P(DialogTest, OpenConvertsLikeTheControlsNeed)
{
    writeFile("conv.tbx", "[MAIN]\r\nfid=v0110\r\n[DATA]\r\nca=" + num("87,5") + "\r\ncb=" + num("86,5") +
                              "\r\nsubvol=" + num("1,5") + "\r\ncorr=2\r\n");
    dlg().txtFilename()->setText("conv");
    int code = 0;
    dlg().fWhat(code);
    clickOk();
    EXPECT_EQ(app().inputs.txtSize[3], "88");
    EXPECT_EQ(app().inputs.txtSize[4], "86");
    EXPECT_EQ(app().inputs.txtSize[12], num("1,5"));
    EXPECT_EQ(app().inputs.corr, 2);
    // Keys the file lacks take the defaults, not what the controls held.
    EXPECT_EQ(app().inputs.txtSize[0], "40");
    EXPECT_EQ(app().inputs.pieces[0], 0);
}

TEST_P(DialogTest, MissingKeysGiveTheirDefaultsNotTheCurrentValues)
{
    writeFile("bare.tbx", "[MAIN]\r\nfid=v0110\r\n");
    app().inputs.corr = 2;
    app().inputs.txtSize[5] = "7";
    app().inputs.sub = 4;
    dlg().txtFilename()->setText("bare");
    int code = 0;
    dlg().fWhat(code);
    clickOk();
    EXPECT_EQ(app().inputs, firstRunInputs());
}

TEST_P(DialogTest, SavedWithEmptyPortLengthOpensAsZero)
{
    app().inputs.txtSize[5] = "";
    saveAs("noport");
    EXPECT_EQ(readFile("noport.tbx").find("lp="), std::string::npos);
    app().inputs.txtSize[5] = "12";
    m_files->fileOpen();
    clickFile("noport.tbx");
    clickOk();
    EXPECT_EQ(app().inputs.txtSize[5], "0");
}

TEST_P(DialogTest, UpperCaseNameKeepsItsNameAndAddressesADoubledExtension)
{
    writeFile("HOUSE.TBX", firstRunFile());
    m_messages.answers.push_back(MessageAnswer::Cancel);
    app().inputs.txtSize[0] = "33";
    m_files->fileOpen();
    clickFile("HOUSE.TBX");
    EXPECT_EQ(dlg().txtFilename()->text(), "HOUSE.TBX");
    clickOk();
    // HOUSE.TBX.tbx does not exist, so it reads as an empty file of the first format.
    EXPECT_EQ(app().currentProjectFile, "HOUSE.TBX.tbx");
    ASSERT_EQ(m_messages.messages.size(), 1u);
    EXPECT_EQ(m_messages.messages[0].title, "Open error");
    EXPECT_EQ(app().inputs.txtSize[0], "33");
    EXPECT_EQ(m_host->caption(), kTitle + " :: HOUSE.TBX");
}

TEST_P(DialogTest, OldVersionAsksFirstAndCancelLoadsNothing)
{
    writeFile("old.tbx", "[MAIN]\r\nfid=V0110\r\n[DATA]\r\nh2=99\r\n[LAYOUT]\r\nfront=1x1x0\r\n");
    app().inputs.txtSize[0] = "41";
    app().layoutStrings[0] = "5x5x0";
    m_messages.answers.push_back(MessageAnswer::Cancel);
    m_files->fileOpen();
    clickFile("old.tbx");
    clickOk();

    ASSERT_EQ(m_messages.messages.size(), 1u);
    const Message& question = m_messages.messages[0];
    EXPECT_EQ(question.text, "Oude versie van het bestand, toch proberen te laden?");
    EXPECT_EQ(question.title, "Open error");
    EXPECT_EQ(question.icon, MessageIcon::Exclamation);
    EXPECT_EQ(question.buttons, MessageButtons::OkCancel);
    EXPECT_TRUE(m_host->changes.empty());
    EXPECT_EQ(app().inputs.txtSize[0], "41");
    EXPECT_EQ(app().layoutStrings[0], "5x5x0");
    EXPECT_EQ(m_host->caption(), kTitle + " :: old"); // already names the file
    EXPECT_EQ(app().currentProjectFile, "old.tbx");
}

TEST_P(DialogTest, OldVersionAnsweredOkLoads)
{
    writeFile("old.tbx", "[DATA]\r\nh2=99\r\n[LAYOUT]\r\nfront=1x1x0\r\n");
    m_files->fileOpen();
    clickFile("old.tbx");
    clickOk();
    ASSERT_EQ(m_messages.messages.size(), 1u);
    EXPECT_EQ(app().inputs.txtSize[0], "99");
    EXPECT_EQ(app().layoutStrings[0], "1x1x0");
}

TEST_P(DialogTest, DamagedValuesAreReplacedAndNamedOnce)
{
    writeFile("damaged.tbx", "[MAIN]\r\nfid=v0110\r\n[DATA]\r\nh2=high\r\nl3=55\r\nsub=17\r\n");
    m_files->fileOpen();
    clickFile("damaged.tbx");
    clickOk();
    EXPECT_EQ(app().inputs.txtSize[0], "40");
    EXPECT_EQ(app().inputs.txtSize[1], "55");
    EXPECT_EQ(app().inputs.sub, 2);
    ASSERT_EQ(m_messages.messages.size(), 1u);
    EXPECT_EQ(m_messages.messages[0].text,
              "Some values in this file could not be read and were replaced by their defaults: sub, h2");
    EXPECT_EQ(m_messages.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(m_messages.messages[0].title, m_host->caption());
}

TEST_P(DialogTest, TheOldVersionQuestionUsesTheTranslatedText)
{
    app().tables.messageBox[0] = "Old file, load anyway?";
    writeFile("old.tbx", "[MAIN]\r\nfid=v0100\r\n");
    m_files->fileOpen();
    clickFile("old.tbx");
    clickOk();
    ASSERT_EQ(m_messages.messages.size(), 1u);
    EXPECT_EQ(m_messages.messages[0].text, "Old file, load anyway?");
}

TEST_P(DialogTest, OpenWithoutLayoutKeepsThePlacements)
{
    writeFile("a.tbx", firstRunFile());
    app().layoutStrings = {"1x1x0", "2x2x0", "3x3x1", "", "", "", "", "8x8x0"};
    const LayoutStrings before = app().layoutStrings;
    m_files->fileOpen();
    clickFile("a.tbx");
    clickOk();
    EXPECT_EQ(app().layoutStrings, before);
}

TEST_P(DialogTest, OpenWithLayoutReplacesThePlacementsKeyByKey)
{
    writeFile("a.tbx", firstRunFile() + "[LAYOUT]\r\nrear=" + num("4,5x6x1") + "\r\npwhere=9x9x0\r\n");
    app().layoutStrings = {"1x1x0", "2x2x0", "3x3x1", "", "", "", "", ""};
    m_files->fileOpen();
    clickFile("a.tbx");
    clickOk();
    const LayoutStrings expected = {"1x1x0", num("4,5x6x1"), "3x3x1", "", "", "", "", "9x9x0"};
    EXPECT_EQ(app().layoutStrings, expected);

    // The spare text is carried from the file read into the file written.
    saveAs("b");
    EXPECT_NE(readFile("b.tbx").find("[LAYOUT]\r\nfront=1x1x0\r\nrear=" + num("4,5x6x1") +
                                     "\r\ntop=3x3x1\r\npwhere=9x9x0\r\n"),
              std::string::npos);
}

TEST_P(DialogTest, SaveAfterOpenWritesTheOpenedFileAgain)
{
    writeFile("house.tbx", firstRunFile());
    m_files->fileOpen();
    clickFile("house.tbx");
    clickOk();
    app().inputs.txtSize[2] = "44";
    m_files->fileSave();
    EXPECT_FALSE(dlg().isVisible());
    EXPECT_NE(readFile("house.tbx").find("b2=44\r\n"), std::string::npos);
}

TEST_P(DialogTest, NewKeepsTheProjectNameAndASaveWritesTheFirstRunValuesIntoIt)
{
    writeFile("house.tbx", "[MAIN]\r\nfid=v0110\r\n[DATA]\r\nh2=70\r\ncorr=1\r\n[LAYOUT]\r\nfront=1x2x0\r\n");
    m_files->fileOpen();
    clickFile("house.tbx");
    clickOk();
    m_host->setCaption("caption after open");
    ASSERT_EQ(app().inputs.txtSize[0], "70");

    m_host->changes.clear();
    m_files->run(0);
    EXPECT_EQ(app().inputs, firstRunInputs());
    EXPECT_EQ(app().currentProjectFile, "house.tbx");
    EXPECT_EQ(app().layoutStrings[0], "1x2x0");
    EXPECT_EQ(m_host->caption(), "caption after open");
    const std::vector<std::string> order = {
        "sub#2", "pieces0#0", "pieces1#0", "pieces2#0", "corr#0",    "ptype#0",  "pwhere#0",
        "h2=40", "l3=40",     "b2=40",     "ca=90",     "cb=90",     "lp=0",     "dp=0",
        "bp=0",  "hp=0",      "thick0=18", "thick1=18", "thick2=18", "subvol=0", "vother=0"};
    EXPECT_EQ(m_host->changes, order);

    m_files->run(2);
    // Keys the file had are changed where they stand; the others follow at the end of the section.
    EXPECT_EQ(readFile("house.tbx"),
              "[MAIN]\r\nfid=v0110\r\n[DATA]\r\nh2=40\r\ncorr=0\r\nsub=2\r\npieces0=0\r\npieces1=0\r\n"
              "pieces2=0\r\npwhere=0\r\nptype=0\r\nl3=40\r\nb2=40\r\nca=90\r\ncb=90\r\nlp=0\r\ndp=0\r\n"
              "bp=0\r\nhp=0\r\nthick0=18\r\nthick1=18\r\nthick2=18\r\nsubvol=0\r\nvother=0\r\n"
              "[LAYOUT]\r\nfront=1x2x0\r\n");
}

TEST_P(DialogTest, OpenWithTheLastNameReopensWithoutAClick)
{
    saveAs("house");
    app().inputs.txtSize[0] = "12";
    int code = 0;
    dlg().fWhat(code);
    EXPECT_EQ(dlg().txtFilename()->text(), "house");
    clickOk();
    EXPECT_EQ(app().inputs.txtSize[0], "40");
}

TEST_P(DialogTest, OpenRecalculatesOnceInSimulationModeAndRestoresTheFlag)
{
    for (bool simulation : {false, true}) {
        m_host->recalculations.clear();
        app().simulationOn = simulation;
        m_files->run(1);
        EXPECT_EQ(m_host->recalculations, std::vector<bool>{true});
        EXPECT_EQ(app().simulationOn, simulation);
        // It ran while the dialog was still open, before any file was read.
        EXPECT_TRUE(dlg().isVisible());
        EXPECT_TRUE(m_host->changes.empty());
        clickCancel();
    }
}

TEST_P(DialogTest, SaveAndSaveAsDoNotRecalculate)
{
    m_files->run(3);
    clickCancel();
    m_files->run(2);
    clickCancel();
    EXPECT_TRUE(m_host->recalculations.empty());
}

TEST_P(DialogTest, SaveWritesIntoTheFolderTheDialogShowsNow)
{
    fs::create_directory(path("other"));
    saveAs("house");
    m_files->fileOpen();
    ASSERT_TRUE(dlg().setFolder(QString::fromStdString(path("other"))));
    clickCancel();
    m_files->fileSave();
    EXPECT_TRUE(fs::exists(path("other/house.tbx")));
    EXPECT_EQ(readFile("other/house.tbx"), firstRunFile());
}

TEST_P(DialogTest, HiddenDialogKeepsItsFolderListAndName)
{
    fs::create_directory(path("kept"));
    m_files->fileSaveAs();
    ASSERT_TRUE(dlg().setFolder(QString::fromStdString(path("kept"))));
    QTest::keyClicks(dlg().txtFilename(), "name");
    clickOk();
    m_files->fileOpen();
    EXPECT_EQ(dlg().folder().toStdString(), path("kept"));
    EXPECT_EQ(dlg().File1()->fileNames(), QStringList{"name.tbx"});
    EXPECT_EQ(dlg().txtFilename()->text(), "name");
}

TEST_P(DialogTest, CloseBoxUnloadsAndTheNextLoadEmptiesTheProjectName)
{
    saveAs("house");
    ASSERT_EQ(app().currentProjectFile, "house.tbx");
    fs::create_directory(path("elsewhere"));
    m_files->fileOpen();
    ASSERT_TRUE(dlg().setFolder(QString::fromStdString(path("elsewhere"))));
    dlg().close();
    EXPECT_FALSE(m_files->dialogLoaded());
    EXPECT_EQ(app().currentProjectFile, "house.tbx"); // emptied by the next load, not by the close

    m_files->fileSave();
    EXPECT_TRUE(app().currentProjectFile.empty());
    EXPECT_EQ(dlg().windowTitle(), "Opslaan als...");
    EXPECT_TRUE(dlg().txtFilename()->isEnabled());
    EXPECT_EQ(dlg().folder().toStdString(), projects()); // a fresh load starts in the current folder
}

TEST_P(DialogTest, AMissingFolderIsRefusedAndTheOldOneStays)
{
    const QString before = dlg().folder();
    EXPECT_FALSE(dlg().setFolder(QString::fromStdString(path("does-not-exist"))));
    EXPECT_FALSE(dlg().setFolder(""));
    writeFile("plain-file", "");
    EXPECT_FALSE(dlg().setFolder(QString::fromStdString(path("plain-file"))));
    EXPECT_EQ(dlg().folder(), before);
}

TEST_P(DialogTest, FolderRemovedWhileHiddenNeverCrashesNorLosesTheInputs)
{
    fs::create_directory(path("gone"));
    writeFile("gone/house.tbx", firstRunFile());
    ASSERT_TRUE(dlg().setFolder(QString::fromStdString(path("gone"))));
    fs::remove_all(path("gone"));
    app().inputs.txtSize[0] = "55";

    m_files->fileOpen();
    EXPECT_TRUE(dlg().File1()->fileNames().isEmpty());
    dlg().txtFilename()->setText("house");
    m_messages.answers.push_back(MessageAnswer::Cancel);
    clickOk();
    EXPECT_EQ(m_messages.messages.size(), 1u); // reads as an empty file: the old-version question
    EXPECT_EQ(app().inputs.txtSize[0], "55");

    saveAs("lost"); // the write fails without a word
    EXPECT_FALSE(fs::exists(path("gone")));
    EXPECT_EQ(app().inputs.txtSize[0], "55");
    EXPECT_EQ(app().currentProjectFile, "lost.tbx");
}

TEST_P(DialogTest, UnreadableFolderListsNothing)
{
    fs::create_directory(path("locked"));
    writeFile("locked/secret.tbx", firstRunFile());
    fs::permissions(path("locked"), fs::perms::owner_exec);
    const bool readable = QDir(QString::fromStdString(path("locked"))).isReadable();
    ASSERT_TRUE(dlg().setFolder(QString::fromStdString(path("locked"))));
    int code = 0;
    dlg().fWhat(code);
    const QStringList listed = dlg().File1()->fileNames();
    fs::permissions(path("locked"), fs::perms::owner_all);
    if (readable)
        GTEST_SKIP() << "these rights read every folder";
    EXPECT_TRUE(listed.isEmpty());
    EXPECT_TRUE(dlg().isVisible());
}

TEST_P(DialogTest, AProjectThatIsAFolderIsNotListedAndOpensAsEmpty)
{
    fs::create_directory(path("folder.tbx"));
    app().inputs.txtSize[0] = "66";
    saveAs("folder"); // writing onto a folder fails, and says so
    EXPECT_TRUE(fs::is_directory(path("folder.tbx")));
    ASSERT_EQ(m_messages.messages.size(), 1u);
    EXPECT_EQ(m_messages.messages[0].title, "Save error");
    m_messages.messages.clear();

    m_files->fileOpen();
    EXPECT_TRUE(dlg().File1()->fileNames().isEmpty());
    m_messages.answers.push_back(MessageAnswer::Cancel);
    clickOk(); // the name box still says "folder"
    ASSERT_EQ(m_messages.messages.size(), 1u);
    EXPECT_EQ(app().inputs.txtSize[0], "66");
}

TEST_P(DialogTest, BinaryJunkNeverCrashesAndTheOtherKeysAreRead)
{
    std::string junk = "\x00\xff\xfe[DATA\x01\r\n=\x00=\r\n\x7f\x80garbage";
    junk.append(std::string("\0\0\0", 3));
    junk += "\r\n[DATA]\r\nh2=\xff\xfe\r\nl3=51\r\nsub=zz\r\npieces0=99999\r\n";
    for (int i = 0; i < 512; ++i)
        junk += static_cast<char>((i * 37) & 0xff);
    writeFile("junk.tbx", junk);
    m_files->fileOpen();
    clickFile("junk.tbx");
    clickOk(); // no fid: the old-version question, answered OK
    ASSERT_EQ(m_messages.messages.size(), 2u);
    EXPECT_EQ(
        m_messages.messages[1].text,
        "Some values in this file could not be read and were replaced by their defaults: sub, pieces0, h2");
    EXPECT_EQ(app().inputs.txtSize[1], "51");
    EXPECT_EQ(m_host->changes.size(), 21u); // every key was still read
}

} // namespace
