// The version and title texts and the built-in text tables that messages and lists show.
#include "info/Version.h"
#include "lang/TextTables.h"

#include <gtest/gtest.h>

using namespace kelvra;

TEST(VersionText, ShortAndLongForms)
{
    EXPECT_EQ(VersionString(true), "0.1.53");
    EXPECT_EQ(VersionString(false), "0.1 Build53");
    EXPECT_EQ(VersionString(false, true), "0.1 Build53 BETA");
    EXPECT_EQ(VersionString(true, true), "0.1.53");
    VersionInfo other;
    other.major = 2;
    other.minor = 10;
    other.revision = 7;
    EXPECT_EQ(VersionString(true, false, other), "2.10.7");
    EXPECT_EQ(VersionString(false, false, other), "2.10 Build7");
}

TEST(VersionText, TitleCarriesTheLongVersion)
{
    EXPECT_EQ(TitleString(), "Kelvra [0.1 Build53]");
    EXPECT_EQ(TitleString(1, true), "Kelvra [0.1 Build53 BETA]");
    EXPECT_EQ(TitleString(2), "Kelvra -TestVersion- [0.1 Build53]");
    for (int status : {0, 1, 3, -1})
        EXPECT_EQ(TitleString(status), "Kelvra [0.1 Build53]") << status;
}

TEST(TextTables, BuiltInDutchTexts)
{
    const TextTables t = ResetTextTables();
    EXPECT_EQ(t.portBox[3], "Linker zijkant");
    EXPECT_EQ(t.correctionFact[2], "Dempingswol");
    EXPECT_EQ(t.messageBox[kMsgOldVersion], "Oude versie van het bestand, toch proberen te laden?");
    EXPECT_EQ(t.messageBox[kMsgNotInSimulation],
              "Niet in Simulatie modus, zet het programma eerst in simulatie modus voor");
    EXPECT_EQ(t.messageBox[kMsgSubTooBig], "Your sub is to big for the front plate");
    EXPECT_EQ(t.options[1], "Opslaan als...");
    EXPECT_EQ(t.portType[1], "Rechthoekige");
}

TEST(TextTables, TablesByTheirLanguageFileNames)
{
    TextTables t = ResetTextTables();
    EXPECT_EQ(t.table("PortBox").size(), 5u);
    EXPECT_EQ(t.table("CorrectionFact").size(), 3u);
    EXPECT_EQ(t.table("MessageBox").size(), 5u);
    EXPECT_EQ(t.table("Options").size(), 2u);
    EXPECT_EQ(t.table("PortType").size(), 2u);
    EXPECT_TRUE(t.table("portbox").empty()); // names are exact
    EXPECT_TRUE(t.table("").empty());
    t.table("Options")[0] = "Open";
    EXPECT_EQ(t.options[0], "Open");
    EXPECT_NE(t, ResetTextTables());
}
