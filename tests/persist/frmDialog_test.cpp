// The file dialog and the File menu's New, Open, Save and "Save as..." against real project files in a
// temporary folder, driven with clicks and keys; every number case under both decimal separators.
#include "gui/project/frmDialog.h"

#include "calc/Recalculate.h"
#include "gui/common/Twips.h"
#include "tests/support/FakeHost.h"
#include "tests/support/FirstRunFile.h"
#include "tests/support/SeparatorText.h"
#include "tests/support/TempFolder.h"

#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStorageInfo>
#include <QTest>
#include <gtest/gtest.h>

using namespace kelvra;
namespace fs = std::filesystem;

namespace
{

const std::string kTitle = "Kelvra [0.1 Build53]";

class DialogTest : public ::testing::TestWithParam<char>
{
protected:
    void SetUp() override
    {
        m_oldCurrent = QDir::currentPath();
        QDir::setCurrent(QString::fromStdString(dir.path()));
        setMessageService(&messages);
        host = std::make_unique<test::FakeHost>(AppPaths{program.path(), "kelvra"}, GetParam());
        app().currentProjectFile = "left over.tbx";
        files = std::make_unique<FileCommands>(*host, nullptr);
        files->loadDialog();
    }
    void TearDown() override
    {
        files.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        setMessageService(nullptr);
        QDir::setCurrent(m_oldCurrent);
    }

    std::string num(const std::string& text) const { return test::under(text, GetParam()); }
    QString qpath(const std::string& name = {}) const
    {
        return QString::fromStdString(name.empty() ? dir.path() : dir.file(name));
    }
    frmDialog& dlg() { return files->dialog(); }
    AppState& app() { return host->app(); }
    void clickOk() { QTest::mouseClick(dlg().cmdOC(0), Qt::LeftButton); }
    void clickCancel() { QTest::mouseClick(dlg().cmdOC(1), Qt::LeftButton); }
    void open(const QString& name)
    {
        files->fileOpen();
        const QList<QListWidgetItem*> found = dlg().File1()->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        QTest::mouseClick(dlg().File1()->viewport(), Qt::LeftButton, {},
                          dlg().File1()->visualItemRect(found[0]).center());
        clickOk();
    }
    void saveAs(const std::string& typed)
    {
        files->fileSaveAs();
        QTest::keyClicks(dlg().txtFilename(), QString::fromStdString(typed));
        clickOk();
    }
    // The values set in the controls, in order, as one text.
    std::string changes() const
    {
        std::string out;
        for (const std::string& c : host->changes)
            out += (out.empty() ? "" : " ") + c;
        return out;
    }

    test::TempFolder dir;
    test::TempFolder program;
    RecordingMessageService messages;
    std::unique_ptr<test::FakeHost> host;
    std::unique_ptr<FileCommands> files;

private:
    QString m_oldCurrent;
};

INSTANTIATE_TEST_SUITE_P(BothSeparators, DialogTest, ::testing::Values(',', '.'), test::SeparatorName());

// A double click as the window system delivers it: a click, then the second press as a double click.
void doubleClick(QListWidget* list, const QString& endOfName)
{
    const QList<QListWidgetItem*> found = list->findItems(endOfName, Qt::MatchEndsWith);
    ASSERT_EQ(found.size(), 1) << endOfName.toStdString();
    const QPoint at = list->visualItemRect(found[0]).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

} // namespace

TEST(ProjectExtension, EveryLowerCaseExtensionIsRemoved)
{
    // clang-format off
    const std::pair<const char*, const char*> cases[] = {
        {"house.tbx", "house"}, {"HOUSE.TBX", "HOUSE.TBX"}, {"house.tbx.tbx", "house"}, {"my.tbxhouse.tbx", "myhouse"},
        {"House.Tbx", "House.Tbx"}, {"house", "house"}, {".tbx", ""}, {"a.tb.tbxx", "a.tbx"}, {"", ""}};
    // clang-format on
    for (const auto& [name, expected] : cases)
        EXPECT_EQ(withoutProjectExtension(name), expected) << name;
}

TEST_P(DialogTest, LoadsHiddenInTheCurrentFolderWithItsControlsAtTheirPlaces)
{
    EXPECT_TRUE(app().currentProjectFile.empty());
    EXPECT_FALSE(dlg().isVisible());
    EXPECT_EQ(dlg().windowTitle(), "Dialog Caption");
    EXPECT_EQ(dlg().folder(), QDir::cleanPath(qpath()));
    EXPECT_EQ(dlg().cmdOC(0)->text(), "OK");
    EXPECT_EQ(dlg().cmdOC(1)->text(), "Cancel");
    const std::pair<const char*, QRect> places[] = {
        {"Drive1", twipRect(0, 0, 2415, 315)},        {"Dir1", twipRect(0, 360, 2415, 4815)},
        {"File1", twipRect(2520, 0, 2055, 4515)},     {"txtFilename", twipRect(2520, 4560, 2055, 285)},
        {"cmdOC(1)", twipRect(2520, 4920, 975, 375)}, {"cmdOC(0)", twipRect(3600, 4920, 975, 375)}};
    for (const auto& [name, rect] : places) {
        auto* w = dlg().findChild<QWidget*>(name);
        ASSERT_NE(w, nullptr) << name;
        EXPECT_EQ(w->geometry(), rect) << name;
    }
    EXPECT_EQ(dlg().size(), QSize(twipsToPixels(4680), twipsToPixels(5370)));
    EXPECT_EQ(dlg().minimumSize(), dlg().maximumSize()); // fixed-size border
}

TEST_P(DialogTest, FoldersAndProjectFilesAreListedAndChosen)
{
    EXPECT_EQ(dlg().Drive1()->currentData().toString(), QStorageInfo(qpath()).rootPath());

    for (const char* name :
         {"house.tbx", "HOUSE.TBX", "garage.Tbx", "notes.txt", "house.tbx.bak", "sub/inside.tbx"})
        dir.put(name, test::kFirstRunFile);
    fs::create_directory(dir.file("folder.tbx"));
    FileWhat code = FileWhat::Open;
    dlg().fWhat(code); // shown, as the user sees it
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg()));
    EXPECT_EQ(dlg().File1()->fileNames(), (QStringList{"garage.Tbx", "house.tbx", "HOUSE.TBX"}));
    dlg().Dir1()->refresh(); // the folder was made after the list was read
    doubleClick(dlg().Dir1(), "sub");
    EXPECT_EQ(dlg().folder(), qpath("sub"));
    EXPECT_EQ(dlg().File1()->fileNames(), QStringList{"inside.tbx"});
    doubleClick(dlg().Dir1(), QString::fromStdString(dir.dir().filename().string())); // up again
    EXPECT_EQ(dlg().folder(), qpath());
}

TEST_P(DialogTest, FirstSaveOfARunBecomesSaveAsAndWritesTheDesignByteForByte)
{
    FileWhat code = FileWhat::Save;
    dlg().fWhat(code);
    EXPECT_EQ(code, FileWhat::SaveAs); // the caller's variable changes too
    EXPECT_EQ(dlg().windowTitle(), "Opslaan als...");
    EXPECT_FALSE(dlg().isModal());
    QTest::keyClicks(dlg().txtFilename(), "keyed");
    QTest::keyClick(dlg().txtFilename(), Qt::Key_Return); // Enter saves
    EXPECT_FALSE(dlg().isVisible());
    EXPECT_EQ(app().currentProjectFile, "keyed.tbx");
    EXPECT_EQ(dir.read("keyed.tbx"), test::kFirstRunFile);
    EXPECT_EQ(host->caption(), kTitle + " :: keyed"); // the title follows the save
    EXPECT_TRUE(messages.messages.empty());

    app().inputs.l3 = num("55,5");
    app().layoutStrings[0] = num("12,5x30x0");
    code = FileWhat::Save; // a save under the known name, without showing the dialog
    dlg().fWhat(code);
    EXPECT_EQ(code, FileWhat::Save);
    EXPECT_FALSE(dlg().isVisible());
    EXPECT_EQ(dlg().windowTitle(), "akke akke tuut tuut");
    std::string expected = test::kFirstRunFile;
    expected.replace(expected.find("l3=40"), 5, "l3=" + num("55,5"));
    EXPECT_EQ(dir.read("keyed.tbx"), expected + "[LAYOUT]\r\nfront=" + num("12,5x30x0") + "\r\n");

    saveAs("house.tbx"); // typing the extension doubles it
    EXPECT_EQ(app().currentProjectFile, "house.tbx.tbx");
    EXPECT_TRUE(fs::exists(dir.file("house.tbx.tbx")));
}

TEST_P(DialogTest, CancelAndAnEmptyNameChangeNothing)
{
    saveAs("house");
    app().inputs.h2 = "77";
    files->fileSaveAs();
    QTest::keyClicks(dlg().txtFilename(), "other");
    clickCancel();
    files->fileSaveAs();
    clickOk(); // nothing typed
    EXPECT_FALSE(dlg().isVisible());
    EXPECT_EQ(app().currentProjectFile, "house.tbx");
    EXPECT_EQ(dir.read("house.tbx"), test::kFirstRunFile);
    EXPECT_EQ(QDir(qpath()).entryList(QDir::Files), QStringList{"house.tbx"});
}

TEST_P(DialogTest, OpenSetsEveryValueInReadingOrderAndTheWooferAndNamesTheProject)
{
    dir.put("house.tbx",
            "[MAIN]\r\nfid=v0110\r\n[DATA]\r\nvother=" + num("2,5") +
                "\r\nsub=3\r\npieces0=1\r\npieces1=2\r\npieces2=3\r\ncorr=2\r\npwhere=4\r\nptype=1\r\nh2=" +
                num("45,25") + "\r\nl3=50\r\nb2=60\r\nca=" + num("87,5") +
                "\r\ncb=80\r\nlp=10\r\ndp=11\r\nbp=12\r\nhp=13\r\nthick0=19\r\nthick1=20\r\n"
                "thick2=21\r\nsubvol=" +
                num("1,5") + "\r\n[WOOFER]\r\nname=Boot 12\r\nfs=30\r\n");
    files->fileOpen();
    EXPECT_EQ(dlg().windowTitle(), "Openen");
    EXPECT_TRUE(dlg().openMode());
    EXPECT_FALSE(dlg().txtFilename()->isEnabled());
    clickCancel();
    open("house.tbx");
    EXPECT_EQ(dlg().txtFilename()->text(), "house");
    EXPECT_EQ(app().currentProjectFile, "house.tbx");
    EXPECT_EQ(host->caption(), kTitle + " :: house");
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(changes(),
              "sub#3 pieces0#1 pieces1#2 pieces2#3 corr#2 pwhere#4 ptype#1 h2=" + num("45,25") +
                  " l3=50 b2=60 ca=88 cb=80 lp=10 dp=11 bp=12 hp=13 thick0=19 thick1=20 thick2=21 subvol=" +
                  num("1,5") + " vother=" + num("2,5"));
    EXPECT_EQ(*app().sound.find("name"), "Boot 12");
    EXPECT_EQ(*app().sound.find("fs"), "30");

    // Keys the file lacks take their defaults, not what the controls held.
    dir.put("bare.tbx", "[MAIN]\r\nfid=v0110\r\n");
    open("bare.tbx");
    EXPECT_EQ(app().inputs, firstRunInputs());
    // Open with the last name reopens without a click.
    app().inputs.h2 = "12";
    FileWhat code = FileWhat::Open;
    dlg().fWhat(code);
    EXPECT_EQ(dlg().txtFilename()->text(), "bare");
    clickOk();
    EXPECT_EQ(app().inputs.h2, "40");
}

TEST_P(DialogTest, OldVersionAsksFirstAndDamagedValuesAreNamed)
{
    dir.put("old.tbx", "[MAIN]\r\nfid=V0110\r\n[DATA]\r\nh2=99\r\n[LAYOUT]\r\nfront=1x1x0\r\n");
    app().inputs.h2 = "41";
    app().layoutStrings[0] = "5x5x0";
    files->markSaved(); // as if opened so: the only question is the old version's
    messages.answers.push_back(MessageAnswer::Cancel);
    open("old.tbx");
    EXPECT_EQ(messages.messages,
              (std::vector<Message>{{"Oude versie van het bestand, toch proberen te laden?", "Open error",
                                     MessageIcon::Exclamation, MessageButtons::OkCancel}}));
    EXPECT_TRUE(host->changes.empty());
    EXPECT_EQ(app().inputs.h2, "41");
    EXPECT_EQ(app().layoutStrings[0], "5x5x0");
    EXPECT_EQ(host->caption(), kTitle + " :: old"); // already names the file
    EXPECT_EQ(app().currentProjectFile, "old.tbx");

    app().tables.messageBox[0] = "Old file, load anyway?"; // the question in the chosen language
    messages.messages.clear();
    open("old.tbx");
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "Old file, load anyway?");
    EXPECT_EQ(app().inputs.h2, "99");
    EXPECT_EQ(app().layoutStrings[0], "1x1x0");

    // Values that do not convert are replaced by their defaults and named once.
    messages.messages.clear();
    dir.put("damaged.tbx", "[MAIN]\r\nfid=v0110\r\n[DATA]\r\nh2=high\r\nl3=55\r\nsub=17\r\n");
    open("damaged.tbx");
    EXPECT_EQ(app().inputs.h2, "40");
    EXPECT_EQ(app().inputs.l3, "55");
    EXPECT_EQ(app().inputs.sub, 2);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(
        messages.messages[0],
        (Message{"Some values in this file could not be read and were replaced by their defaults: sub, h2",
                 host->caption(), MessageIcon::Information, MessageButtons::Ok}));
}

TEST_P(DialogTest, NewForgetsTheProjectSoTheNextSaveAsksForANameAndLeavesTheOpenedFileAlone)
{
    const std::string house =
        "[MAIN]\r\nfid=v0110\r\n[DATA]\r\nh2=70\r\ncorr=1\r\n[LAYOUT]\r\nfront=1x2x0\r\n";
    dir.put("house.tbx", house);
    open("house.tbx");
    ASSERT_EQ(app().inputs.h2, "70");
    host->changes.clear();
    files->run(FileCommand::New);
    EXPECT_TRUE(messages.messages.empty()); // nothing had changed since the open
    EXPECT_EQ(app().inputs, firstRunInputs());
    EXPECT_EQ(app().currentProjectFile, "");
    EXPECT_EQ(app().layoutStrings, LayoutStrings{});
    EXPECT_EQ(host->caption(), kTitle);
    EXPECT_EQ(changes(),
              "sub#2 pieces0#0 pieces1#0 pieces2#0 corr#0 ptype#0 pwhere#0 h2=40 l3=40 b2=40 ca=90 "
              "cb=90 lp=0 dp=0 bp=0 hp=0 thick0=18 thick1=18 thick2=18 subvol=0 vother=0");
    files->run(FileCommand::Save);
    EXPECT_TRUE(dlg().isVisible());
    EXPECT_EQ(dlg().windowTitle(), "Opslaan als...");
    QTest::keyClicks(dlg().txtFilename(), "fresh");
    clickOk();
    EXPECT_EQ(dir.read("house.tbx"), house);
    EXPECT_EQ(dir.read("fresh.tbx"), test::kFirstRunFile);
    EXPECT_EQ(host->caption(), kTitle + " :: fresh");
}

// What happens to a changed design when New, Open or closing asks "Save changes to ...?".
struct SaveQuestionCase {
    const char* name;
    FileCommand command; // New or Open; Save stands for closing the main window
    bool named;          // the design came from a file
    MessageAnswer answer;
    bool goesOn;      // the command went ahead (after the save, if any)
    bool fileHasEdit; // the file on disk holds the changed height afterwards
};

class SaveQuestionTest : public DialogTest
{
};

TEST_P(SaveQuestionTest, EveryAnswerOfEveryCommand)
{
    // clang-format off
    const SaveQuestionCase cases[] = {
        {"NewSave", FileCommand::New, true, MessageAnswer::Save, true, true},
        {"NewDontSave", FileCommand::New, true, MessageAnswer::DontSave, true, false},
        {"NewCancel", FileCommand::New, true, MessageAnswer::Cancel, false, false},
        {"NewUnnamedSave", FileCommand::New, false, MessageAnswer::Save, true, true},
        {"OpenSave", FileCommand::Open, true, MessageAnswer::Save, true, true},
        {"OpenDontSave", FileCommand::Open, true, MessageAnswer::DontSave, true, false},
        {"OpenCancel", FileCommand::Open, true, MessageAnswer::Cancel, false, false},
        {"OpenUnnamedSave", FileCommand::Open, false, MessageAnswer::Save, true, true},
        {"CloseSave", FileCommand::Save, true, MessageAnswer::Save, true, true},
        {"CloseDontSave", FileCommand::Save, true, MessageAnswer::DontSave, true, false},
        {"CloseCancel", FileCommand::Save, true, MessageAnswer::Cancel, false, false},
        {"CloseUnnamedSave", FileCommand::Save, false, MessageAnswer::Save, true, true},
        {"CloseUnnamedCancelledSaveAs", FileCommand::Save, false, MessageAnswer::Save, false, false},
    };
    // clang-format on
    for (const SaveQuestionCase& c : cases) {
        SCOPED_TRACE(c.name);
        files->run(FileCommand::New);
        saveAs("box");
        const std::string saved = dir.read("box.tbx");
        if (!c.named) { // the same design, typed after New instead of opened
            files->run(FileCommand::New);
            app().inputs = firstRunInputs();
        }
        app().inputs.h2 = num("55,5");
        messages.messages.clear();
        messages.answers = {c.answer};
        bool closed = false;
        const bool cancelSaveAs = std::string(c.name).ends_with("CancelledSaveAs");
        if (c.command == FileCommand::Save)
            closed = files->closeAllowed([&closed] { closed = true; });
        else
            files->run(c.command);
        ASSERT_EQ(messages.messages.size(), 1u);
        EXPECT_EQ(messages.messages[0],
                  (Message{c.named ? "Save changes to box.tbx?" : "Save changes to Untitled?", programTitle(),
                           MessageIcon::Exclamation, MessageButtons::SaveDontSaveCancel}));
        if (!c.named && c.answer == MessageAnswer::Save) {
            ASSERT_TRUE(dlg().isVisible());
            EXPECT_EQ(dlg().windowTitle(), "Opslaan als...");
            if (cancelSaveAs) {
                clickCancel();
            } else {
                QTest::keyClicks(dlg().txtFilename(), "box");
                clickOk();
            }
            QCoreApplication::processEvents();
        }
        const bool wentOn = c.command == FileCommand::Save  ? closed
                            : c.command == FileCommand::New ? app().inputs.h2 == "40"
                                                            : dlg().isVisible() && dlg().openMode();
        EXPECT_EQ(wentOn, c.goesOn);
        EXPECT_EQ(dir.read("box.tbx").find("h2=" + num("55,5")) != std::string::npos, c.fileHasEdit);
        if (!c.fileHasEdit) {
            EXPECT_EQ(dir.read("box.tbx"), saved);
        }
        if (dlg().isVisible())
            clickCancel();
    }
}
INSTANTIATE_TEST_SUITE_P(BothSeparators, SaveQuestionTest, ::testing::Values(',', '.'),
                         test::SeparatorName());

TEST_P(DialogTest, OpenRecalculatesOnceAfterReadingAndOnlyInSimulationMode)
{
    dir.put("house.tbx", "[MAIN]\r\nfid=v0110\r\n[DATA]\r\nh2=70\r\nsub=4\r\n");
    for (bool simulation : {false, true}) {
        host->recalculations.clear();
        app().simulationOn = simulation;
        open("house.tbx");
        EXPECT_EQ(host->recalculations, simulation ? std::vector<bool>{true} : std::vector<bool>{});
        EXPECT_EQ(app().simulationOn, simulation);
    }
    host->recalculations.clear();
    for (FileCommand command : {FileCommand::SaveAs, FileCommand::Save}) {
        files->run(command);
        clickCancel();
    }
    EXPECT_TRUE(host->recalculations.empty());
}

TEST_P(DialogTest, MissingFoldersAreRefusedAndTheHiddenDialogKeepsItsOwnUntilItsCloseBoxUnloadsIt)
{
    const QString before = dlg().folder();
    dir.put("plain-file", "");
    for (const QString& bad : {qpath("does-not-exist"), QString(), qpath("plain-file")})
        EXPECT_FALSE(dlg().setFolder(bad)) << bad.toStdString();
    EXPECT_EQ(dlg().folder(), before);
    fs::create_directory(dir.file("kept"));
    files->fileSaveAs();
    ASSERT_TRUE(dlg().setFolder(qpath("kept")));
    QTest::keyClicks(dlg().txtFilename(), "name");
    clickOk();
    files->fileOpen();
    EXPECT_EQ(dlg().folder(), qpath("kept"));
    EXPECT_EQ(dlg().File1()->fileNames(), QStringList{"name.tbx"});
    EXPECT_EQ(dlg().txtFilename()->text(), "name");
    ASSERT_TRUE(dlg().setFolder(qpath())); // Save writes into the folder the dialog shows now
    clickCancel();
    files->fileSave();
    EXPECT_EQ(dir.read("name.tbx"), test::kFirstRunFile);

    files->fileOpen();
    ASSERT_TRUE(dlg().setFolder(qpath("kept")));
    dlg().close();
    EXPECT_FALSE(files->dialogLoaded());
    EXPECT_EQ(app().currentProjectFile, "name.tbx"); // emptied by the next load, not by the close
    files->fileSave();
    EXPECT_TRUE(app().currentProjectFile.empty());
    EXPECT_EQ(dlg().windowTitle(), "Opslaan als...");
    EXPECT_EQ(dlg().folder(), qpath()) << "a fresh load starts in the current folder";
}
