// Where the settings file lives: beside a writable program folder, else in the XDG folder.
#include "persist/Settings.h"
#include "persist/SettingsPath.h"
#include "tests/support/SeparatorText.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace kelvra;

TEST(SettingsPlace, ChooseSettingsFolder)
{
    struct Case {
        bool writable;
        const char *xdg, *home, *folder;
    };
    const Case cases[] = {{true, "/x/cfg", "/home/an", "/opt/kelvra"},
                          {false, "/x/cfg", "/home/an", "/x/cfg/kelvra"},
                          {false, "/x/cfg/", "/home/an", "/x/cfg/kelvra"},
                          {false, "", "/home/an", "/home/an/.config/kelvra"},
                          {false, "relative/cfg", "/home/an", "/home/an/.config/kelvra"},
                          {false, "", "/home/an/", "/home/an/.config/kelvra"},
                          {false, "", "", "/opt/kelvra"},
                          {true, "", "", "/opt/kelvra"}};
    for (const Case& c : cases)
        EXPECT_EQ(ChooseSettingsFolder("/opt/kelvra", c.writable, c.xdg, c.home), c.folder)
            << c.writable << " '" << c.xdg << "' '" << c.home << "'";
}

TEST(SettingsPlace, UnwritableProgramFolderMovesTheFileAndItsValuesSurvive)
{
    const kelvra::test::TempFolder root;
    setenv("XDG_CONFIG_HOME", (root.dir() / "cfg").c_str(), 1);
    std::filesystem::create_directories(root.dir() / "bin");
    const AppPaths beside = ResolveSettingsPaths({(root.dir() / "bin").string(), "kelvra"});
    EXPECT_EQ(beside.settingsFile(), (root.dir() / "bin" / "kelvra.ini").string());
    EXPECT_TRUE(std::filesystem::is_empty(root.dir() / "bin")); // the probe leaves nothing behind
    // Even root cannot create a folder inside a plain file.
    root.put("afile", "x");
    const AppPaths program{(root.dir() / "afile" / "bin").string(), "kelvra"};
    EXPECT_FALSE(CanWriteBesideProgram(program));
    EXPECT_EQ(CountStart(IniStore(ResolveSettingsPaths(program))), 1);
    const IniStore again(ResolveSettingsPaths(program)); // the next start reads what the first wrote
    EXPECT_EQ(again.paths().settingsFile(), (root.dir() / "cfg" / "kelvra" / "kelvra.ini").string());
    EXPECT_EQ(CountStart(again), 2);
}
