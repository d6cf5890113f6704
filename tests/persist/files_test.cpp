// The settings file, ".tbx" project files and woofer files written and read back, byte for byte, under
// both decimal separators.
#include "calc/Numeric.h"
#include "persist/ProjectFile.h"
#include "persist/Settings.h"
#include "persist/WooferLibrary.h"
#include "tests/support/FirstRunFile.h"
#include "tests/support/SeparatorText.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

using namespace kelvra;
namespace fs = std::filesystem;
using namespace std::string_literals;

namespace
{

ModelInputs applied(const std::vector<StoredValue>& values, ModelInputs before = {})
{
    for (const StoredValue& v : values)
        ApplyStoredValue(before, v);
    return before;
}

// The settings in the folder itself; projects beside a program folder of their own.
class FilesTest : public ::testing::TestWithParam<char>
{
protected:
    char sep() const { return GetParam(); }
    std::string num(const std::string& text) const { return test::under(text, sep()); }
    std::string otherSep(const std::string& t) const { return test::under(t, sep() == ',' ? '.' : ','); }
    IniStore settings() const { return IniStore({dir.path(), "kelvra"}); }
    IniStore store() const { return IniStore({dir.file("program"), "kelvra"}); }
    IniWriteStatus write(const ModelInputs& in, const LayoutStrings& layout = {},
                         const WooferTexts* w = nullptr, const std::string& name = "house.tbx") const
    {
        return WriteProject(store(), dir.path(), name, in, layout, w);
    }
    ProjectContents read(const std::string& name = "house.tbx", const LayoutStrings& current = {}) const
    {
        return ReadProject(store(), dir.path(), name, current, sep());
    }
    // The start value of one key, after the stored text was written to section "LU".
    StoredValue startValue(std::string_view key, const std::string& stored) const
    {
        settings().WriteIni("LU", key, stored);
        const std::vector<StoredValue> values = LoadStartInputs(settings(), sep());
        return *std::find_if(values.begin(), values.end(),
                             [&](const StoredValue& v) { return v.key->name == key; });
    }
    WooferTexts woofer(const std::string& name) const
    {
        WooferTexts w;
        *w.find("name") = name;
        for (const std::string kv : {"fs=29,5", "qes=0,44", "qms=6", "vas=70", "sd=490", "xmax=12", "re=3,3",
                                     "pe=400", "ql=7", "endcorr=2", "car=1", "power=100", "targetfb=32"})
            *w.find(kv.substr(0, kv.find('='))) = num(kv.substr(kv.find('=') + 1));
        return w;
    }
    test::TempFolder dir;
};

INSTANTIATE_TEST_SUITE_P(Separators, FilesTest, ::testing::Values(',', '.'), test::SeparatorName());

} // namespace

TEST_P(FilesTest, FirstStartGivesTheFirstRunValuesAndStoredOnesComeBackConvertedInsideTheirLists)
{
    const std::vector<StoredValue> values = LoadStartInputs(settings(), sep());
    std::string order;
    for (const StoredValue& v : values)
        order += std::string(v.key->name) + " ";
    EXPECT_EQ(order,
              "sub pieces0 pieces1 pieces2 h2 l3 b2 ca cb lp dp bp hp thick0 thick1 thick2 subvol vother ");
    ModelInputs before;
    before.sub = -5;
    EXPECT_EQ(applied(values, before), firstRunInputs());
    EXPECT_FALSE(fs::exists(dir.file("kelvra.ini"))) << "reading must not create the file";
    struct Case {
        const char* key;
        std::string stored;
        std::string shown; // or the list position
        bool replaced;
    };
    // Texts that do not convert fall back to the key's default; list positions stay inside their lists.
    // clang-format off
    const Case cases[] = {
        {"ca", num("87,5"), "88", false},         {"ca", num("86,5"), "86", false},
        {"thick0", num("18,5"), "18", false},     {"thick1", num("19,5"), "20", false},
        {"subvol", num("1,25"), num("1,25"), false}, {"h2", num("60,20"), num("60,2"), false},
        {"b2", num("1,23456"), num("1,2346"), false}, {"vother", num("3,5"), num("3,5"), false},
        {"lp", "-2", "-2", false},  {"h2", "abc", "40", true}, {"ca", "40000", "90", true},
        {"thick2", "18mm", "18", true}, {"subvol", otherSep("1,5"), "0", true},
        {"sub", "5", "5", false},   {"sub", "6", "2", true}, {"sub", "-1", "2", true}, {"sub", "x", "2", true},
        {"pieces0", "9", "9", false}, {"pieces1", "10", "10", false}, {"pieces2", "6", "0", true},
        {"pieces2", num("2,5"), "2", false}};
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + " stored as " + c.stored);
        const StoredValue v = startValue(c.key, c.stored);
        if (v.key->kind == KeyKind::List)
            EXPECT_EQ(v.position, std::stoi(c.shown));
        else {
            EXPECT_EQ(v.text, c.shown);
            EXPECT_EQ(v.replaced, c.replaced);
        }
    }
    const IniStore ini = settings();
    ini.WriteIni("LU", "corr", "2");
    ini.WriteIni("LU", "pwhere", "4");
    ini.WriteIni("LU", "ptype", "2");
    EXPECT_EQ(LoadListSetting(ini, "corr", sep()), 2);
    EXPECT_EQ(LoadListSetting(ini, "pwhere", sep()), 4);
    EXPECT_EQ(LoadListSetting(ini, "ptype", sep()), 0) << "only two port types";
    EXPECT_EQ(LoadListSetting(ini, "h2", sep()), 0);
}

TEST_P(FilesTest, ExitWritesSectionLuInExitOrderAndEmptyBoxesGiveTheDefault)
{
    const IniStore ini = settings();
    EXPECT_EQ(CountStart(ini), 1);
    ModelInputs in = firstRunInputs();
    in.h2 = "";                 // removes h2
    in.ca = num("87,5");        // as typed
    in.subvol = num("1,23456"); // rounded to 4 decimals
    in.vother = num("2,50");
    in.corr = 2;
    in.pieces1 = -1;
    ASSERT_EQ(SaveWindowPosition(ini, {1234.5f, 960}, sep()), IniWriteStatus::Ok);
    ASSERT_EQ(SaveExitInputs(ini, in, sep()), IniWriteStatus::Ok);
    EXPECT_EQ(
        dir.read("kelvra.ini"),
        "[Main]\r\nUSE=2\r\nleft=" + num("1234,5") +
            "\r\ntop=960\r\n[LU]\r\nsub=2\r\nsubvol=" + num("1,2346") +
            "\r\npieces0=0\r\npieces1=-1\r\npieces2=0\r\ncorr=2\r\npwhere=0\r\nptype=0\r\nl3=40\r\nb2="
            "40\r\nca=" +
            num("87,5") +
            "\r\ncb=90\r\nlp=0\r\ndp=0\r\nbp=0\r\nhp=0\r\nthick0=18\r\nthick1=18\r\nthick2=18\r\nvother=" +
            num("2,50") + "\r\n");
    EXPECT_EQ(LoadStartInputs(ini, sep())[4].text, "40");
    in.subvol = "about 2"; // a maker's volume that is no number is kept as typed
    ASSERT_EQ(SaveExitInputs(ini, in, sep()), IniWriteStatus::Ok);
    EXPECT_EQ(ini.ReadIni("LU", "subvol", ""), "about 2");
    EXPECT_EQ(LoadStartInputs(ini, sep())[16].text, "0");
}

TEST_P(FilesTest, StartCountAndWindowPositionInSectionMain)
{
    const IniStore ini = settings();
    EXPECT_EQ(CountStart(ini), 1);
    EXPECT_EQ(CountStart(ini), 2);
    EXPECT_EQ(ini.ReadIni("Main", "USE", ""), "3");
    ini.WriteIni("Main", "USE", "32767");
    EXPECT_EQ(CountStart(ini), 32767);
    EXPECT_EQ(CountStart(ini), 1) << "past the 16-bit range the count starts again";
    ini.WriteIni("Main", "USE", "garbage");
    EXPECT_EQ(CountStart(ini), 1);
    EXPECT_EQ(ini.ReadIni("Main", "USE", ""), "2");
    // The window's place, with the defaults where none is stored.
    const WindowPosition defaults{100.5f, 42.25f};
    EXPECT_EQ(LoadWindowPosition(ini, defaults, sep()).top, 42.25f);
    SaveWindowPosition(ini, {106.2f, -300.f}, sep());
    EXPECT_EQ(ini.ReadIni("Main", "left", ""), num("106,2"));
    EXPECT_EQ(ini.ReadIni("Main", "top", ""), "-300");
    const WindowPosition p = LoadWindowPosition(ini, defaults, sep());
    EXPECT_FLOAT_EQ(p.left, 106.2f);
    EXPECT_FLOAT_EQ(p.top, -300.f);
    ini.WriteIni("Main", "top", "nowhere");
    EXPECT_FLOAT_EQ(LoadWindowPosition(ini, defaults, sep()).top, 42.25f);
    // A folder where the settings file should be makes every write fail, returned, not thrown.
    fs::remove(dir.file("kelvra.ini"));
    fs::create_directories(dir.file("kelvra.ini"));
    EXPECT_EQ(SaveExitInputs(ini, firstRunInputs(), sep()), IniWriteStatus::Failed);
    EXPECT_EQ(LoadStartInputs(ini, sep()).size(), 18u);
    EXPECT_EQ(CountStart(ini), 1);
}

TEST_P(FilesTest, ProjectRoundTripsWithPlacementsUnderAnyName)
{
    const std::string odd = "Golf VII kofferbak \xC3\xA9\xC3\xA9n.tbx";
    ASSERT_EQ(write(firstRunInputs(), {}, nullptr, odd), IniWriteStatus::Ok);
    EXPECT_EQ(dir.read(odd), test::kFirstRunFile);
    EXPECT_FALSE(fs::exists(dir.file("program"))) << "the settings file is not touched";

    ModelInputs in = firstRunInputs();
    for (const auto& [key, text] :
         {std::pair{"h2", "39"}, {"l3", "45"}, {"b2", "60,2"}, {"lp", "21,3"}, {"bp", "2"}, {"hp", "35,4"}})
        textOf(in, *findModelKey(key)) = num(text);
    std::tie(in.sub, in.pieces0, in.pieces1, in.pieces2, in.corr, in.pwhere, in.ptype) =
        std::tuple(3, 1, 2, 1, 2, 4, 1);
    // The partition walls and the port's strip after the eight texts, under keys of their own.
    LayoutStrings layout{{num("10,5x20x0"), "30x40x1", "", "", "", "", num("1x2,5x0"), "spare"}, {}};
    layout.extra = {{"partition2", "0x400x0"}, {"portstrip", num("10x500,5x1")}};
    ASSERT_EQ(write(in, layout), IniWriteStatus::Ok);
    EXPECT_NE(dir.read("house.tbx")
                  .find("[LAYOUT]\r\nfront=" + num("10,5x20x0") +
                        "\r\nrear=30x40x1\r\nport=" + num("1x2,5x0") +
                        "\r\npwhere=spare\r\npartition2=0x400x0\r\nportstrip=" + num("10x500,5x1") + "\r\n"),
              std::string::npos);
    const ProjectContents back = read();
    EXPECT_EQ(back.fid, "v0110");
    EXPECT_FALSE(back.oldVersion);
    EXPECT_EQ(applied(back.values), in);
    EXPECT_EQ(back.layoutStrings, layout);
}

TEST_P(FilesTest, VersionTagsAndMissingFiles)
{
    const std::pair<std::string, std::string> cases[] = {
        {"[MAIN]\r\nfid=v0110\r\n", "v0110"}, {"[main]\r\nFID = v0110\r\n", "v0110"},
        {"[MAIN]\r\nfid=V0110\r\n", "V0110"}, {"[MAIN]\r\nfid=v0100\r\n", "v0100"},
        {"[DATA]\r\nh2=50\r\n", "v0"},        {"", "v0"},
    };
    for (const auto& [content, fid] : cases) {
        dir.put("house.tbx", content);
        EXPECT_EQ(read().fid, fid) << content;
        EXPECT_EQ(read().oldVersion, fid != "v0110") << content;
    }
    LayoutStrings current{{"a", "b", "c", "d", "e", "f", "g", "h"}, {}};
    current.extra = {{"partition1", "9x9x0"}};
    const ProjectContents missing = read("nowhere.tbx", current);
    EXPECT_EQ(missing.fid, "v0");
    EXPECT_TRUE(missing.oldVersion);
    EXPECT_EQ(applied(missing.values), firstRunInputs());
    EXPECT_TRUE(missing.replacedKeys().empty()) << "missing keys are no damage";
    EXPECT_EQ(missing.layoutStrings, current);
    fs::create_directories(dir.file("folder.tbx"));
    EXPECT_EQ(read("folder.tbx").fid, "v0");
    EXPECT_EQ(write(firstRunInputs(), {}, nullptr, "folder.tbx"), IniWriteStatus::Failed);
    // Layout keys that are missing keep the current texts.
    dir.put("house.tbx", "[MAIN]\r\nfid=v0110\r\n[LAYOUT]\r\ntop=1x2x1\r\nport=\r\n");
    LayoutStrings expected{{"a", "b", "1x2x1", "d", "e", "f", "", "h"}, {}};
    expected.extra = current.extra;
    EXPECT_EQ(read("house.tbx", current).layoutStrings, expected);
}

TEST_P(FilesTest, ProjectWithAWooferRoundTripsAndOneWithoutStaysAsItWas)
{
    const WooferTexts none;
    ASSERT_EQ(write(firstRunInputs(), {}, &none), IniWriteStatus::Ok);
    EXPECT_EQ(dir.read("house.tbx"), test::kFirstRunFile);
    EXPECT_TRUE(read().woofer.empty());

    const WooferTexts w = woofer("Boot 12");
    ASSERT_EQ(write(firstRunInputs(), {}, &w), IniWriteStatus::Ok);
    const std::string bytes = dir.read("house.tbx");
    EXPECT_EQ(bytes.rfind(test::kFirstRunFile, 0), 0u) << "the original sections come first, unchanged";
    EXPECT_EQ(bytes.substr(test::kFirstRunFile.size()),
              "[WOOFER]\r\nname=Boot 12\r\nfs=" + num("29,5") + "\r\nqes=" + num("0,44") +
                  "\r\nqms=6\r\nvas=70\r\nsd=490\r\nxmax=12\r\nre=" + num("3,3") +
                  "\r\npe=400\r\nql=7\r\nendcorr=2\r\ncar=1\r\npower=100\r\ntargetfb=32\r\n");
    EXPECT_EQ(read().woofer, w);
    EXPECT_EQ(parseWoofer(read().woofer, sep())->fs, 29.5);
    // Saved without knowing of woofers, a file keeps its woofer section.
    ASSERT_EQ(write(firstRunInputs()), IniWriteStatus::Ok);
    EXPECT_EQ(read().woofer, w);
}

TEST_P(FilesTest, WooferLibrarySavesListsAndLoads)
{
    const std::string user = dir.file("config/drivers");
    const std::string shipped = dir.file("program/drivers");
    // A shipped file is written with "."; it loads with the user's separator.
    dir.put("program/drivers/Generic 8-inch example.ini",
            "[WOOFER]\r\nname=Generic 8-inch example\r\nfs=38\r\nqts=0.45\r\nvas=22\r\nre=3.6\r\n");
    const std::string notes = dir.put("program/drivers/notes.txt", "not a woofer");

    const WooferSaved saved = saveWoofer(user, woofer("My \"12\"/sub"));
    ASSERT_TRUE(saved.error.empty()) << saved.error;
    EXPECT_EQ(fs::path(saved.path).filename(), "My _12__sub.ini");
    EXPECT_FALSE(saveWoofer(user, woofer(" ")).error.empty());

    const std::vector<WooferEntry> list = listWoofers(user, shipped);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].name, "Generic 8-inch example");
    EXPECT_TRUE(list[0].shipped);
    EXPECT_EQ(list[1], (WooferEntry{"My \"12\"/sub", saved.path, false}));
    const auto generic = loadWoofer(list[0].path, sep());
    ASSERT_TRUE(generic);
    EXPECT_EQ(*generic->find("qts"), num("0,45"));
    EXPECT_EQ(parseWoofer(*generic, sep()).error().field, "sd") << "missing in that file";

    // The sound options belong to a design, not to a woofer.
    WooferTexts expected = woofer("My \"12\"/sub");
    for (const char* key : {"ql", "endcorr", "car", "power", "targetfb"})
        expected.find(key)->clear();
    EXPECT_EQ(loadWoofer(saved.path, sep()), expected);
    EXPECT_FALSE(loadWoofer(notes, sep()));

    std::vector<std::string> shippedNames;
    for (const WooferEntry& e : listWoofers(dir.path(), KELVRA_DRIVERS_DIR)) {
        shippedNames.push_back(e.name);
        const auto texts = loadWoofer(e.path, sep());
        ASSERT_TRUE(texts) << e.path;
        EXPECT_TRUE(parseWoofer(*texts, sep()).ok()) << e.name;
    }
    EXPECT_EQ(shippedNames, (std::vector<std::string>{"Generic 8-inch example", "Generic 10-inch example",
                                                      "Generic 12-inch example", "Generic 15-inch example"}));
}

// Settings and project files damaged in every way a disk or an editor can damage them: every value comes
// back as one its control can take, and keys after a damaged one are still read.
TEST_P(FilesTest, DamagedFilesGiveValuesTheControlsCanTake)
{
    const std::string big(1u << 20, 'x');
    std::string binary(64 * 1024, '\0');
    for (std::size_t i = 0; i < binary.size(); ++i)
        binary[i] = static_cast<char>((i * 7919u) % 251u);
    const std::string good = "[MAIN]\r\nfid=v0110\r\n[DATA]\r\n";
    struct Case {
        const char* name;
        std::string bytes;
        std::string h2, l3;
        std::string replaced; // in a project file; "old" for a file without the current tag
    };
    // clang-format off
    const Case cases[] = {
        {"empty", "", "40", "40", "old"},
        {"binary", binary, "40", "40", "old"},
        {"1 MB without line ends", "[LU]h2=45[MAIN]fid=v0110" + big, "40", "40", "old"},
        {"1 MB value", "[LU]\r\nh2=" + big + "\r\nl3=50\r\n" + good + "h2=" + big + "\r\nl3=50\r\n", "40", "50", "h2"},
        {"no line ends but CR", "[LU]\rh2=45\rl3=50\r[MAIN]\rfid=v0110\r[DATA]\rh2=45\r", "40", "40", "old"},
        {"NUL bytes", good + "h2=4\0" "5\r\nl3=50\r\n[LU]\r\nh2=4\0" "5\r\nl3=50\r\n"s, "40", "50", "h2"},
        {"invalid UTF-8", "[LU]\r\nh2=\xFF\xFE\xC3\r\nl3=50\r\n" + good + "h2=\xC3\x28\r\nl3=50\r\n", "40", "50", "h2"},
        {"not numbers", "[LU]\r\nh2=abc\r\nsub=zwei\r\nca=9O\r\nl3=50\r\n" + good +
                        "h2=veertig\r\nsub=abc\r\nca=\r\nl3=50\r\n", "40", "50", "sub h2 ca"},
        {"numbers out of range", "[LU]\r\nh2=1e30\r\nca=99999\r\nthick0=-70000\r\nsub=40000\r\npieces0=-5\r\n"
                                 "pieces2=7\r\ncorr=99\r\nptype=-2\r\nl3=50\r\n" + good +
                                 "sub=9\r\npieces0=-1\r\ncorr=3\r\nptype=40000\r\n", "40", "50", "sub pieces0 corr ptype"},
        {"a grouping character", good + "lp=" + otherSep("1,5") + "\r\n[LU]\r\nlp=" + otherSep("1,5") + "\r\n", "40", "40", "lp"},
        {"section line without end", "[LU\r\nh2=45\r\n[MAIN\r\nfid=v0110\r\n", "40", "40", "old"},
        {"keys and sections twice", "[LU]\r\nh2=45\r\nh2=46\r\n[LU]\r\nl3=50\r\n", "45", "50", "old"},
        {"behind a byte-order mark", "\xEF\xBB\xBF[LU]\r\nh2=45\r\nl3=50\r\n[MAIN]\r\nfid=V0110\r\n", "45", "50", "old"}};
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dir.put("kelvra.ini", c.bytes);
        dir.put("house.tbx", c.bytes);
        const std::vector<StoredValue> start = LoadStartInputs(settings(), sep());
        const ProjectContents project = read();
        for (const std::vector<StoredValue>* values : {&start, &project.values})
            for (const StoredValue& v : *values)
                EXPECT_TRUE(v.key->kind == KeyKind::List ? v.position >= 0 && v.position < listSize(*v.key)
                                                         : static_cast<bool>(toFixed(v.text, sep())))
                    << v.key->name << ": " << v.text;
        EXPECT_EQ(applied(start).h2, c.h2);
        EXPECT_EQ(applied(start).l3, c.l3);
        std::string replaced;
        for (const std::string& key : project.replacedKeys())
            replaced += (replaced.empty() ? "" : " ") + key;
        EXPECT_EQ(project.oldVersion ? "old" : replaced, c.replaced);
    }
}
