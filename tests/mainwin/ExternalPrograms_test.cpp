// The help menu's outside programs: the addresses handed to the browser and the calculator search.
#include "gui/common/ExternalPrograms.h"

#include <QFile>
#include <QTemporaryDir>
#include <QUrl>
#include <fstream>
#include <gtest/gtest.h>

using namespace kelvra;

namespace
{

struct RecordingStarter : ExternalStarter {
    void openUrl(const std::string& url) override { urls.push_back(url); }
    void startDetached(const std::string& program) override { programs.push_back(program); }
    std::vector<std::string> urls;
    std::vector<std::string> programs;
};

class ExternalProgramsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_oldPath = qgetenv("PATH");
        setExternalStarter(&m_starter);
    }
    void TearDown() override
    {
        qputenv("PATH", m_oldPath);
        setExternalStarter(nullptr);
    }
    std::string makeProgram(const std::string& name, bool executable = true) const
    {
        const std::string path = m_dir.path().toStdString() + "/" + name;
        std::ofstream(path) << "#!/bin/sh\n";
        QFile::setPermissions(QString::fromStdString(path),
                              executable ? QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                         : QFile::ReadOwner | QFile::WriteOwner);
        return path;
    }
    std::vector<std::string> folders() const { return {m_dir.path().toStdString()}; }

    QTemporaryDir m_dir;
    QByteArray m_oldPath;
    RecordingStarter m_starter;
};

bool isExampleHost(const std::string& url)
{
    const QString host = QUrl(QString::fromStdString(url)).host();
    return host == "example.org" || host.endsWith(".example.org");
}

TEST(ExternalAddresses, UpdatePageCarriesTheShortVersion)
{
    const std::string url = updatePageUrl("0.1.53");
    EXPECT_TRUE(url.ends_with("/prg_update.php?p=14&v=0.1.53")) << url;
    EXPECT_TRUE(isExampleHost(url)) << url;
    EXPECT_TRUE(QUrl(QString::fromStdString(url)).isValid());
}

TEST(ExternalAddresses, ForumTopic)
{
    const std::string url = programTopicUrl();
    EXPECT_TRUE(url.ends_with("/showthread.php?t=74264")) << url;
    EXPECT_TRUE(isExampleHost(url)) << url;
}

TEST_F(ExternalProgramsTest, UpdateSiteOpensThisBuildsVersion)
{
    openUpdateSite();
    ASSERT_EQ(m_starter.urls.size(), 1u);
    EXPECT_TRUE(m_starter.urls[0].ends_with("prg_update.php?p=14&v=0.1.53")) << m_starter.urls[0];
    EXPECT_TRUE(m_starter.programs.empty());
}

TEST_F(ExternalProgramsTest, ProgramTopicOpensTheForum)
{
    openProgramTopic();
    ASSERT_EQ(m_starter.urls.size(), 1u);
    EXPECT_EQ(m_starter.urls[0], programTopicUrl());
}

TEST_F(ExternalProgramsTest, FirstCalculatorOfTheListWins)
{
    makeProgram("xcalc");
    const std::string kcalc = makeProgram("kcalc");
    makeProgram("mate-calc");
    EXPECT_EQ(findCalculator(folders()), kcalc);
}

TEST_F(ExternalProgramsTest, LastCalculatorOfTheListIsFoundToo)
{
    const std::string xcalc = makeProgram("xcalc");
    EXPECT_EQ(findCalculator(folders()), xcalc);
}

TEST_F(ExternalProgramsTest, FileThatIsNotExecutableIsNoCalculator)
{
    makeProgram("gnome-calculator", false);
    const std::string galculator = makeProgram("galculator");
    EXPECT_EQ(findCalculator(folders()), galculator);
}

TEST_F(ExternalProgramsTest, NoCalculatorAtAll)
{
    makeProgram("calc.exe");
    EXPECT_EQ(findCalculator(folders()), "");
}

TEST_F(ExternalProgramsTest, OpenCalculatorStartsTheOneOnThePath)
{
    const std::string qalc = makeProgram("qalculate-gtk");
    qputenv("PATH", m_dir.path().toLocal8Bit());
    openCalculator();
    ASSERT_EQ(m_starter.programs.size(), 1u);
    EXPECT_EQ(m_starter.programs[0], qalc);
}

TEST_F(ExternalProgramsTest, OpenCalculatorWithoutOneStartsNothingAndSaysNothing)
{
    qputenv("PATH", m_dir.path().toLocal8Bit());
    openCalculator();
    EXPECT_TRUE(m_starter.programs.empty());
    EXPECT_TRUE(m_starter.urls.empty());
}

} // namespace
