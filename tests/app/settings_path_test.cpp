// Where the settings file lives: beside a writable program folder, else in the XDG folder.
#include "persist/Settings.h"
#include "persist/SettingsPath.h"
#include "tests/support/SeparatorText.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace kelvra;

namespace
{

struct PlaceCase {
    bool writable;
    const char* xdg;
    const char* home;
    const char* folder;
};

class ChooseSettingsFolderCase : public ::testing::TestWithParam<PlaceCase>
{
};

} // namespace

TEST_P(ChooseSettingsFolderCase, PicksTheFolder)
{
    const PlaceCase& c = GetParam();
    EXPECT_EQ(ChooseSettingsFolder("/opt/kelvra", c.writable, c.xdg, c.home), c.folder);
}

INSTANTIATE_TEST_SUITE_P(
    Places, ChooseSettingsFolderCase,
    ::testing::Values(PlaceCase{true, "/x/cfg", "/home/an", "/opt/kelvra"},
                      PlaceCase{false, "/x/cfg", "/home/an", "/x/cfg/kelvra"},
                      PlaceCase{false, "/x/cfg/", "/home/an", "/x/cfg/kelvra"},
                      PlaceCase{false, "", "/home/an", "/home/an/.config/kelvra"},
                      PlaceCase{false, "relative/cfg", "/home/an", "/home/an/.config/kelvra"},
                      PlaceCase{false, "", "/home/an/", "/home/an/.config/kelvra"},
                      PlaceCase{false, "", "", "/opt/kelvra"}, PlaceCase{true, "", "", "/opt/kelvra"}),
    [](const auto& info) {
        return kelvra::test::caseName(info.index, std::string(info.param.writable ? "writable" : "readonly") +
                                                      "_" + info.param.xdg + "_" + info.param.home);
    });

namespace
{

class SettingsPlace : public ::testing::Test
{
protected:
    void SetUp() override
    {
        root =
            std::filesystem::temp_directory_path() /
            ("kelvra-place-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(root / "cfg");
        setenv("XDG_CONFIG_HOME", (root / "cfg").c_str(), 1);
    }
    void TearDown() override { std::filesystem::remove_all(root); }
    std::filesystem::path root;
};

} // namespace

TEST_F(SettingsPlace, WritableProgramFolderKeepsTheFileBesideIt)
{
    std::filesystem::create_directories(root / "bin");
    const AppPaths p = ResolveSettingsPaths({(root / "bin").string(), "kelvra"});
    EXPECT_EQ(p.settingsFile(), (root / "bin" / "kelvra.ini").string());
    EXPECT_TRUE(std::filesystem::is_empty(root / "bin")); // the probe leaves nothing behind
}

TEST_F(SettingsPlace, UnwritableProgramFolderMovesTheFileAndItsValuesSurvive)
{
    // Even root cannot create a folder inside a plain file.
    std::ofstream(root / "afile") << "x";
    const AppPaths program{(root / "afile" / "bin").string(), "kelvra"};
    EXPECT_FALSE(CanWriteBesideProgram(program));
    {
        const IniStore ini(ResolveSettingsPaths(program));
        EXPECT_EQ(ini.paths().settingsFile(), (root / "cfg" / "kelvra" / "kelvra.ini").string());
        EXPECT_EQ(CountStart(ini), 1);
    }
    // The next start reads what the first one wrote.
    const IniStore again(ResolveSettingsPaths(program));
    EXPECT_EQ(CountStart(again), 2);
}
