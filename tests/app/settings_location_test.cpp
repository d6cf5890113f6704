// The real start and exit of the main window from a program folder that cannot be written: the
// inputs typed in one run are there at the next, kept in the XDG configuration folder.
#include "gui/common/MessageService.h"
#include "gui/main/frmMain.h"

#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace kelvra;

TEST(SettingsLocation, UnwritableProgramFolderKeepsTheInputsInTheConfigFolder)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const std::filesystem::path base = root.path().toStdString();
    // A folder below a plain file can be neither made nor written, even by root.
    std::ofstream(base / "afile") << "x";
    const std::string program = (base / "afile" / "bin").string();
    setenv("XDG_CONFIG_HOME", (base / "cfg").c_str(), 1);
    RecordingMessageService messages;
    setMessageService(&messages);
    {
        frmMain win(AppPaths{program, "kelvra"}, ',');
        auto* h2 = qobject_cast<QLineEdit*>(win.control("txtSize", 0));
        ASSERT_NE(h2, nullptr);
        h2->clear();
        QTest::keyClicks(h2, "57");
        win.close();
    }
    const std::filesystem::path moved = base / "cfg" / "kelvra" / "kelvra.ini";
    ASSERT_TRUE(std::filesystem::exists(moved));
    frmMain again(AppPaths{program, "kelvra"}, ',');
    EXPECT_EQ(again.app().inputs.txtSize[0], "57");
    EXPECT_EQ(again.app().useCount, 2);
    setMessageService(nullptr);
}
