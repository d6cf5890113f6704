// The settings the main window keeps between runs, under both decimal separators.
#include "persist/Settings.h"

#include "tests/persist/persist_fixture.h"

using namespace kelvra;

namespace
{

class SettingsTest : public kelvra::testing::TempFolderTest
{
protected:
    IniStore store() const { return IniStore({dir.string(), "kelvra"}); }
    std::string settingsBytes() const { return slurp(dir / "kelvra.ini"); }

    // The start value of one key, after the stored text was written to section "LU".
    StoredValue startValue(std::string_view key, const std::string& stored) const
    {
        const IniStore ini = store();
        ini.WriteIni("LU", key, stored);
        for (const StoredValue& v : LoadStartInputs(ini, sep()))
            if (v.key->name == key)
                return v;
        ADD_FAILURE() << "no start value for " << key;
        return {};
    }
};

std::vector<std::string> names(const std::vector<StoredValue>& values)
{
    std::vector<std::string> out;
    for (const StoredValue& v : values)
        out.emplace_back(v.key->name);
    return out;
}

} // namespace

TEST_P(SettingsTest, FirstStartGivesTheFirstRunValuesInStartOrder)
{
    const std::vector<StoredValue> values = LoadStartInputs(store(), sep());
    EXPECT_EQ(names(values), (std::vector<std::string>{"sub", "pieces0", "pieces1", "pieces2", "h2", "l3",
                                                       "b2", "ca", "cb", "lp", "dp", "bp", "hp", "thick0",
                                                       "thick1", "thick2", "subvol", "vother"}));
    ModelInputs applied;
    applied.sub = -5;
    for (const StoredValue& v : values)
        ApplyStoredValue(applied, v);
    EXPECT_EQ(applied, firstRunInputs());
    EXPECT_FALSE(std::filesystem::exists(dir / "kelvra.ini")) << "reading must not create the file";
}

TEST_P(SettingsTest, StoredTextsComeBackConverted)
{
    struct Case {
        const char* key;
        std::string stored;
        std::string shown;
        bool replaced;
    };
    const Case cases[] = {
        {"ca", num("87,5"), "88", false},
        {"ca", num("86,5"), "86", false},
        {"thick0", num("18,5"), "18", false},
        {"thick1", num("19,5"), "20", false},
        {"subvol", num("1,25"), num("1,25"), false},
        {"h2", num("60,20"), num("60,2"), false},
        {"b2", num("1,23456"), num("1,2346"), false},
        {"vother", num("3,5"), num("3,5"), false},
        {"lp", "-2", "-2", false},
        // Texts that do not convert fall back to the key's default.
        {"h2", "abc", "40", true},
        {"ca", "40000", "90", true},
        {"thick2", "18mm", "18", true},
        {"subvol", sep() == ',' ? "1.5" : "1,5", "0", true},
    };
    for (const Case& c : cases) {
        const StoredValue v = startValue(c.key, c.stored);
        EXPECT_EQ(v.text, c.shown) << c.key << " stored as " << c.stored;
        EXPECT_EQ(v.replaced, c.replaced) << c.key << " stored as " << c.stored;
    }
}

TEST_P(SettingsTest, StoredListPositionsComeBackInsideTheirLists)
{
    struct Case {
        const char* key;
        std::string stored;
        int position;
    };
    const Case cases[] = {
        {"sub", "5", 5},     {"sub", "6", 2},       {"sub", "-1", 2},    {"sub", "x", 2},
        {"pieces0", "9", 9}, {"pieces1", "10", 10}, {"pieces2", "6", 0}, {"pieces2", num("2,5"), 2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(startValue(c.key, c.stored).position, c.position) << c.key << " stored as " << c.stored;
}

TEST_P(SettingsTest, ListSettingsOfTheLanguageLoading)
{
    const IniStore ini = store();
    EXPECT_EQ(LoadListSetting(ini, "corr", sep()), 0);
    ini.WriteIni("LU", "corr", "2");
    ini.WriteIni("LU", "pwhere", "4");
    ini.WriteIni("LU", "ptype", "2");
    EXPECT_EQ(LoadListSetting(ini, "corr", sep()), 2);
    EXPECT_EQ(LoadListSetting(ini, "pwhere", sep()), 4);
    EXPECT_EQ(LoadListSetting(ini, "ptype", sep()), 0) << "only two port types";
    EXPECT_EQ(LoadListSetting(ini, "h2", sep()), 0);
}

TEST_P(SettingsTest, ExitWritesSectionLuInExitOrder)
{
    const IniStore ini = store();
    EXPECT_EQ(CountStart(ini), 1);
    ModelInputs in = firstRunInputs();
    in.txtSize[0] = "";              // removes h2
    in.txtSize[3] = num("87,5");     // as typed
    in.txtSize[12] = num("1,23456"); // rounded to 4 decimals
    in.txtVother = num("2,50");
    in.corr = 2;
    in.pieces[1] = -1;
    ASSERT_EQ(SaveWindowPosition(ini, {1234.5f, 960}, sep()), IniWriteStatus::Ok);
    ASSERT_EQ(SaveExitInputs(ini, in, sep()), IniWriteStatus::Ok);
    EXPECT_EQ(settingsBytes(),
              "[Main]\r\nUSE=2\r\nleft=" + num("1234,5") +
                  "\r\ntop=960\r\n"
                  "[LU]\r\nsub=2\r\nsubvol=" +
                  num("1,2346") +
                  "\r\npieces0=0\r\npieces1=-1\r\npieces2=0\r\ncorr=2\r\npwhere=0\r\nptype=0\r\n"
                  "l3=40\r\nb2=40\r\nca=" +
                  num("87,5") +
                  "\r\ncb=90\r\nlp=0\r\ndp=0\r\nbp=0\r\nhp=0\r\nthick0=18\r\nthick1=18\r\n"
                  "thick2=18\r\nvother=" +
                  num("2,50") + "\r\n");
}

TEST_P(SettingsTest, EmptyBoxAtExitGivesTheDefaultAtNextStart)
{
    const IniStore ini = store();
    ModelInputs in = firstRunInputs();
    in.txtSize[0] = "55";
    SaveExitInputs(ini, in, sep());
    EXPECT_EQ(startValue("h2", "55").text, "55");
    in.txtSize[0] = "";
    SaveExitInputs(ini, in, sep());
    EXPECT_EQ(ini.ReadIni("LU", "h2", "missing"), "missing");
    EXPECT_EQ(LoadStartInputs(ini, sep())[4].text, "40");
}

TEST_P(SettingsTest, MakersVolumeThatIsNoNumberIsKeptAsTyped)
{
    const IniStore ini = store();
    ModelInputs in = firstRunInputs();
    in.txtSize[12] = "about 2";
    ASSERT_EQ(SaveExitInputs(ini, in, sep()), IniWriteStatus::Ok);
    EXPECT_EQ(ini.ReadIni("LU", "subvol", ""), "about 2");
    EXPECT_EQ(LoadStartInputs(ini, sep())[16].text, "0");
}

TEST_P(SettingsTest, WindowPositionRoundTripsAndDefaults)
{
    const IniStore ini = store();
    const WindowPosition defaults{100.5f, 42.25f};
    WindowPosition p = LoadWindowPosition(ini, defaults, sep());
    EXPECT_FLOAT_EQ(p.left, 100.5f);
    EXPECT_FLOAT_EQ(p.top, 42.25f);
    SaveWindowPosition(ini, {106.2f, -300.f}, sep());
    EXPECT_EQ(ini.ReadIni("Main", "left", ""), num("106,2"));
    p = LoadWindowPosition(ini, defaults, sep());
    EXPECT_FLOAT_EQ(p.left, 106.2f);
    EXPECT_FLOAT_EQ(p.top, -300.f);
    ini.WriteIni("Main", "top", "nowhere");
    EXPECT_FLOAT_EQ(LoadWindowPosition(ini, defaults, sep()).top, 42.25f);
}

TEST_P(SettingsTest, StartCountCountsAndNeverWraps)
{
    const IniStore ini = store();
    EXPECT_EQ(CountStart(ini), 1);
    EXPECT_EQ(CountStart(ini), 2);
    EXPECT_EQ(ini.ReadIni("Main", "USE", ""), "3");
    ini.WriteIni("Main", "USE", "32767");
    EXPECT_EQ(CountStart(ini), 32767);
    EXPECT_EQ(CountStart(ini), 1) << "past the 16-bit range the count starts again";
    ini.WriteIni("Main", "USE", "garbage");
    EXPECT_EQ(CountStart(ini), 1);
    EXPECT_EQ(ini.ReadIni("Main", "USE", ""), "2");
}

TEST_P(SettingsTest, WriteFailureIsReturnedNotThrown)
{
    // A folder where the settings file should be makes every write fail.
    std::filesystem::create_directories(dir / "kelvra.ini");
    const IniStore ini = store();
    EXPECT_EQ(SaveExitInputs(ini, firstRunInputs(), sep()), IniWriteStatus::Failed);
    EXPECT_EQ(LoadStartInputs(ini, sep()).size(), 18u);
    EXPECT_EQ(CountStart(ini), 1);
}

INSTANTIATE_TEST_SUITE_P(Separators, SettingsTest, ::testing::Values(',', '.'),
                         [](const auto& info) { return info.param == ',' ? "comma" : "point"; });
