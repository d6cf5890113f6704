// ".tbx" project files written and read back, byte for byte, under both decimal separators.
#include "persist/ProjectFile.h"

#include "tests/persist/persist_fixture.h"

using namespace kelvra;
using kelvra::testing::kFirstRunFile;

namespace
{

class ProjectTest : public kelvra::testing::ProgramFolderTest
{
protected:
    std::string bytes(const std::string& name = "house.tbx") const { return slurp(dir / name); }

    ProjectContents read(const std::string& name = "house.tbx", const LayoutStrings& current = {}) const
    {
        return ReadProject(store(), folder(), name, current, sep());
    }
    // The inputs a read leaves in the controls, starting from `before`.
    ModelInputs applied(const ProjectContents& contents, ModelInputs before = {}) const
    {
        for (const StoredValue& v : contents.values)
            ApplyStoredValue(before, v);
        return before;
    }
};

} // namespace

TEST_P(ProjectTest, FirstRunDesignToANewName)
{
    ASSERT_EQ(WriteProject(store(), folder(), "house.tbx", firstRunInputs(), {}), IniWriteStatus::Ok);
    EXPECT_EQ(bytes(), kFirstRunFile);
    EXPECT_FALSE(std::filesystem::exists(dir / "program")) << "the settings file is not touched";
}

TEST_P(ProjectTest, DesignWithPlacementsRoundTrips)
{
    ModelInputs in = firstRunInputs();
    in.txtSize = {"39", "45",        num("60,2"), "90", "90", num("21,3"), "0",
                  "2",  num("35,4"), "18",        "18", "18", "0"};
    in.sub = 3;
    in.pieces = {1, 2, 1};
    in.corr = 2;
    in.pwhere = 4;
    in.ptype = 1;
    LayoutStrings layout{num("10,5x20x0"), "30x40x1", "", "", "", "", num("1x2,5x0"), "spare"};
    ASSERT_EQ(WriteProject(store(), folder(), "house.tbx", in, layout), IniWriteStatus::Ok);
    EXPECT_NE(bytes().find("[LAYOUT]\r\nfront=" + num("10,5x20x0") +
                           "\r\nrear=30x40x1\r\nport=" + num("1x2,5x0") + "\r\npwhere=spare\r\n"),
              std::string::npos)
        << bytes();

    const ProjectContents back = read();
    EXPECT_EQ(back.fid, "v0110");
    EXPECT_FALSE(back.oldVersion);
    EXPECT_EQ(applied(back), in);
    EXPECT_EQ(back.layoutStrings, layout);
}

TEST_P(ProjectTest, ReadingConvertsAsTheControlsShowIt)
{
    put(dir / "house.tbx", "[MAIN]\r\nfid=v0110\r\n[DATA]\r\nsubvol=" + num("1,5") + "\r\nca=" + num("87,5") +
                               "\r\ncb=" + num("86,5") + "\r\nh2=" + num("39,00") +
                               "\r\ncorr=2\r\nthick0=" + num("18,5") + "\r\nvother=" + num("2,25") + "\r\n");
    ModelInputs before = firstRunInputs();
    before.txtSize[5] = "77"; // a missing key gives its default, not the control's value
    before.pwhere = 3;
    const ModelInputs after = applied(read(), before);
    EXPECT_EQ(after.txtSize[12], num("1,5"));
    EXPECT_EQ(after.txtSize[3], "88");
    EXPECT_EQ(after.txtSize[4], "86");
    EXPECT_EQ(after.txtSize[0], "39");
    EXPECT_EQ(after.txtSize[9], "18");
    EXPECT_EQ(after.txtSize[5], "0");
    EXPECT_EQ(after.txtVother, num("2,25"));
    EXPECT_EQ(after.corr, 2);
    EXPECT_EQ(after.pwhere, 0);
}

TEST_P(ProjectTest, ReadingOrderAndValuesThatDoNotConvert)
{
    put(dir / "house.tbx", "[MAIN]\nfid=v0110\n[DATA]\nsub=99\nh2=tall\nca=1e9\nptype=-1\nl3=\nlp=" +
                               std::string(sep() == ',' ? "1.5" : "1,5") + "\n");
    const ProjectContents back = read();
    std::vector<std::string> order;
    for (const StoredValue& v : back.values)
        order.emplace_back(v.key->name);
    EXPECT_EQ(order, (std::vector<std::string>{"sub",    "pieces0", "pieces1", "pieces2", "corr",   "pwhere",
                                               "ptype",  "h2",      "l3",      "b2",      "ca",     "cb",
                                               "lp",     "dp",      "bp",      "hp",      "thick0", "thick1",
                                               "thick2", "subvol",  "vother"}));
    const ModelInputs after = applied(back);
    EXPECT_EQ(after.sub, 2);
    EXPECT_EQ(after.ptype, 0);
    EXPECT_EQ(after.txtSize[0], "40");
    EXPECT_EQ(after.txtSize[1], "40");
    EXPECT_EQ(after.txtSize[3], "90");
    EXPECT_EQ(after.txtSize[5], "0") << "a grouping character never changes a value";
    EXPECT_EQ(back.replacedKeys(), (std::vector<std::string>{"sub", "ptype", "h2", "l3", "ca", "lp"}));
}

TEST_P(ProjectTest, VersionTags)
{
    struct Case {
        std::string content;
        std::string fid;
        bool old;
    };
    const Case cases[] = {
        {"[MAIN]\r\nfid=v0110\r\n", "v0110", false}, {"[main]\r\nFID = v0110\r\n", "v0110", false},
        {"[MAIN]\r\nfid=V0110\r\n", "V0110", true},  {"[MAIN]\r\nfid=v0100\r\n", "v0100", true},
        {"[DATA]\r\nh2=50\r\n", "v0", true},         {"", "v0", true},
    };
    for (const Case& c : cases) {
        put(dir / "house.tbx", c.content);
        const ProjectContents back = read();
        EXPECT_EQ(back.fid, c.fid) << c.content;
        EXPECT_EQ(back.oldVersion, c.old) << c.content;
    }
}

TEST_P(ProjectTest, MissingFileReadsAsEmpty)
{
    const LayoutStrings current{"a", "b", "c", "d", "e", "f", "g", "h"};
    const ProjectContents back = read("nowhere.tbx", current);
    EXPECT_EQ(back.fid, "v0");
    EXPECT_TRUE(back.oldVersion);
    EXPECT_EQ(applied(back), firstRunInputs());
    EXPECT_TRUE(back.replacedKeys().empty()) << "missing keys are no damage";
    EXPECT_EQ(back.layoutStrings, current);
}

TEST_P(ProjectTest, LayoutKeysThatAreMissingKeepTheCurrentTexts)
{
    put(dir / "house.tbx", "[MAIN]\r\nfid=v0110\r\n[LAYOUT]\r\ntop=1x2x1\r\nport=\r\n");
    const LayoutStrings current{"a", "b", "c", "d", "e", "f", "g", "h"};
    EXPECT_EQ(read("house.tbx", current).layoutStrings,
              (LayoutStrings{"a", "b", "1x2x1", "d", "e", "f", "", "h"}));
}

TEST_P(ProjectTest, SavingOverAFileKeepsItsOtherLinesAndRemovesEmptyValues)
{
    put(dir / "house.tbx", "; my boot box\r\n[MAIN]\r\nfid=v0100\r\nowner=Piet\r\n[DATA]\r\nlp=12\r\n"
                           "colour=black\r\n[LAYOUT]\r\nfront=1x1x0\r\n");
    ModelInputs in = firstRunInputs();
    in.txtSize[5] = "";
    ASSERT_EQ(WriteProject(store(), folder(), "house.tbx", in, {}), IniWriteStatus::Ok);
    const std::string after = bytes();
    EXPECT_EQ(
        after.rfind("; my boot box\r\n[MAIN]\r\nfid=v0110\r\nowner=Piet\r\n[DATA]\r\ncolour=black\r\n", 0),
        0u)
        << after;
    EXPECT_EQ(after.find("lp="), std::string::npos);
    EXPECT_EQ(after.find("front="), std::string::npos);
    EXPECT_EQ(applied(read()).txtSize[5], "0");
}

TEST_P(ProjectTest, NamesWithBlanksAndLettersBeyondAscii)
{
    const std::string name = "Golf VII kofferbak \xC3\xA9\xC3\xA9n.tbx";
    ASSERT_EQ(WriteProject(store(), folder(), name, firstRunInputs(), {}), IniWriteStatus::Ok);
    EXPECT_EQ(bytes(name), kFirstRunFile);
    EXPECT_FALSE(read(name).oldVersion);
}

TEST_P(ProjectTest, HostileFilesNeverStopTheReading)
{
    std::filesystem::create_directories(dir / "folder.tbx");
    EXPECT_EQ(read("folder.tbx").fid, "v0");
    EXPECT_EQ(WriteProject(store(), folder(), "folder.tbx", firstRunInputs(), {}), IniWriteStatus::Failed);

    std::string junk(100000, '\0');
    for (std::size_t i = 0; i < junk.size(); ++i)
        junk[i] = static_cast<char>((i * 7919u) % 256u);
    put(dir / "junk.tbx", junk);
    EXPECT_EQ(applied(read("junk.tbx")).txtSize.size(), 13u);
}

INSTANTIATE_TEST_SUITE_P(Separators, ProjectTest, ::testing::Values(',', '.'),
                         [](const auto& info) { return info.param == ',' ? "comma" : "point"; });
