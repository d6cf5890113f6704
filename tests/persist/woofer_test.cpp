// The woofer in the project file and the woofer library, written and read back under both separators.
#include "persist/ProjectFile.h"
#include "persist/WooferLibrary.h"

#include "tests/persist/persist_fixture.h"

using namespace kelvra;
using kelvra::testing::kFirstRunFile;

namespace
{

class WooferFileTest : public kelvra::testing::ProgramFolderTest
{
protected:
    WooferTexts woofer(const std::string& name) const
    {
        WooferTexts w;
        const std::pair<const char*, std::string> values[] = {
            {"name", name},   {"fs", num("29,5")}, {"qes", num("0,44")}, {"qms", "6"},      {"vas", "70"},
            {"sd", "490"},    {"xmax", "12"},      {"re", num("3,3")},   {"pe", "400"},     {"ql", "7"},
            {"endcorr", "2"}, {"car", "1"},        {"power", "100"},     {"targetfb", "32"}};
        for (const auto& [key, text] : values)
            *w.find(key) = text;
        return w;
    }
};

} // namespace

TEST_P(WooferFileTest, ProjectWithAWooferRoundTrips)
{
    const WooferTexts w = woofer("Boot 12");
    ASSERT_EQ(WriteProject(store(), folder(), "house.tbx", firstRunInputs(), {}, &w), IniWriteStatus::Ok);
    const std::string bytes = slurp(dir / "house.tbx");
    EXPECT_EQ(bytes.rfind(kFirstRunFile, 0), 0u) << "the original sections come first, unchanged";
    EXPECT_EQ(bytes.substr(kFirstRunFile.size()),
              "[WOOFER]\r\nname=Boot 12\r\nfs=" + num("29,5") + "\r\nqes=" + num("0,44") +
                  "\r\nqms=6\r\nvas=70\r\nsd=490\r\nxmax=12\r\nre=" + num("3,3") +
                  "\r\npe=400\r\nql=7\r\nendcorr=2\r\ncar=1\r\npower=100\r\ntargetfb=32\r\n");
    const ProjectContents back = ReadProject(store(), folder(), "house.tbx", {}, sep());
    EXPECT_EQ(back.woofer, w);
    EXPECT_EQ(parseWoofer(back.woofer, sep())->fs, 29.5);
}

TEST_P(WooferFileTest, FilesWithoutAWooferStayAsTheyWere)
{
    // A design without a woofer writes the same bytes as before; an older file reads with no woofer.
    const WooferTexts none;
    ASSERT_EQ(WriteProject(store(), folder(), "house.tbx", firstRunInputs(), {}, &none), IniWriteStatus::Ok);
    EXPECT_EQ(slurp(dir / "house.tbx"), kFirstRunFile);
    EXPECT_TRUE(ReadProject(store(), folder(), "house.tbx", {}, sep()).woofer.empty());
    // Saved without knowing of woofers, a file keeps its woofer section.
    const WooferTexts w = woofer("Boot 12");
    ASSERT_EQ(WriteProject(store(), folder(), "house.tbx", firstRunInputs(), {}, &w), IniWriteStatus::Ok);
    ASSERT_EQ(WriteProject(store(), folder(), "house.tbx", firstRunInputs(), {}), IniWriteStatus::Ok);
    EXPECT_EQ(ReadProject(store(), folder(), "house.tbx", {}, sep()).woofer, w);
}

TEST_P(WooferFileTest, LibrarySavesListsAndLoads)
{
    const std::string user = (dir / "config" / "drivers").string();
    const std::string shipped = (dir / "program" / "drivers").string();
    std::filesystem::create_directories(shipped);
    // A shipped file is written with "."; it loads with the user's separator.
    put(dir / "program" / "drivers" / "Generic 8-inch example.ini",
        "[WOOFER]\r\nname=Generic 8-inch example\r\nfs=38\r\nqts=0.45\r\nvas=22\r\nre=3.6\r\n");
    put(dir / "program" / "drivers" / "notes.txt", "not a woofer");

    const WooferSaved saved = saveWoofer(user, woofer("My \"12\"/sub"));
    ASSERT_TRUE(saved.error.empty()) << saved.error;
    EXPECT_EQ(std::filesystem::path(saved.path).filename(), "My _12__sub.ini");
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
    EXPECT_FALSE(loadWoofer((dir / "program" / "drivers" / "notes.txt").string(), sep()));
}

INSTANTIATE_TEST_SUITE_P(Separators, WooferFileTest, ::testing::Values(',', '.'),
                         [](const auto& info) { return info.param == ',' ? "comma" : "point"; });

TEST_P(WooferFileTest, ShippedExamplesAreCompleteWoofers)
{
    const std::vector<WooferEntry> list = listWoofers(folder(), KELVRA_DRIVERS_DIR);
    std::vector<std::string> names;
    for (const WooferEntry& e : list) {
        names.push_back(e.name);
        const auto texts = loadWoofer(e.path, sep());
        ASSERT_TRUE(texts) << e.path;
        const auto woofer = parseWoofer(*texts, sep());
        EXPECT_TRUE(woofer.ok()) << e.name << ": " << woofer.error().message;
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Generic 8-inch example", "Generic 10-inch example",
                                               "Generic 12-inch example", "Generic 15-inch example"}));
}
