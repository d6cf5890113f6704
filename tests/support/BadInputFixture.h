// The real main window, built offscreen with a program folder of the test's own, and the hostile
// contents that every file it reads is fed.
#pragma once

#include "gui/common/MessageService.h"
#include "gui/main/frmMain.h"
#include "tests/support/TempFolder.h"

#include <QLineEdit>
#include <gtest/gtest.h>

#include <cctype>
#include <memory>
#include <random>
#include <unistd.h>

namespace kelvra::badinput
{

namespace fs = std::filesystem;

inline const std::string kNoLanguageNotice = "Couldn't find any language file. Using Standard.";

// Bytes that are no text at all, the same at every run.
inline std::string binaryBytes(std::size_t size)
{
    std::mt19937 random(1234);
    std::string out(size, '\0');
    for (char& c : out)
        c = static_cast<char>(random() & 0xFF);
    return out;
}

// A test name from a case's description: gtest allows only letters, digits and underscores.
struct CaseName {
    template <class Info> std::string operator()(const Info& info) const
    {
        std::string n = info.param.name;
        for (char& ch : n)
            if (!std::isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return n;
    }
};

inline std::string slurp(const fs::path& p)
{
    return test::TempFolder::slurp(p);
}

inline void put(const fs::path& p, const std::string& bytes)
{
    std::ofstream(p, std::ios::binary) << bytes;
}

// Permissions do not stop root, so tests that need a write to fail use a way that stops anyone.
inline bool runningAsRoot()
{
    return geteuid() == 0;
}

// The test's folder, with its path as Qt names it.
struct WindowTempFolder : test::TempFolder {
    QString path() const { return QString::fromStdString(TempFolder::path()); }
};

class BadInputTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        programFolder = dir.dir() / "program";
        fs::create_directories(programFolder);
        // Where the settings go when the program folder cannot take them: never the real home.
        configHome = dir.dir() / "config";
        savedConfigHome = qgetenv("XDG_CONFIG_HOME");
        hadConfigHome = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(configHome.string()));
        setMessageService(&messages);
    }
    void TearDown() override
    {
        win.reset();
        setMessageService(nullptr);
        if (hadConfigHome)
            qputenv("XDG_CONFIG_HOME", savedConfigHome);
        else
            qunsetenv("XDG_CONFIG_HOME");
        // Folders made read-only by a test must be removable again.
        std::error_code ec;
        for (const auto& e : fs::recursive_directory_iterator(dir.dir(), ec))
            fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }

    // Starts the program in the program folder; the messages of the start are kept apart.
    void start(char separator = ',')
    {
        messages.messages.clear();
        win = std::make_unique<frmMain>(AppPaths{programFolder.string(), "kelvra"}, separator);
        win->show();
        startMessages = messages.messages;
        messages.messages.clear();
    }
    // Closes the main window as the user does, which writes the settings back.
    void quit()
    {
        win->close();
        win.reset();
    }
    fs::path settingsFile() const { return programFolder / "kelvra.ini"; }
    QLineEdit* box(int i) const { return qobject_cast<QLineEdit*>(win->control("txtSize", i)); }
    static std::vector<std::string> texts(const std::vector<Message>& list)
    {
        std::vector<std::string> out;
        for (const Message& m : list)
            out.push_back(m.text);
        return out;
    }
    std::vector<std::string> startTexts() const { return texts(startMessages); }
    std::vector<std::string> messageTexts() const { return texts(messages.messages); }

    WindowTempFolder dir;
    fs::path programFolder;
    fs::path configHome;
    QByteArray savedConfigHome;
    bool hadConfigHome = false;
    RecordingMessageService messages;
    std::vector<Message> startMessages;
    std::unique_ptr<frmMain> win;
};

} // namespace kelvra::badinput
