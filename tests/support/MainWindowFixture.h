// The real main window over a fresh temporary program folder, with the message boxes recorded, for the
// window tests that start from it; run under both decimal separators.
#pragma once

#include "gui/common/MessageService.h"
#include "gui/main/frmMain.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace kelvra::test
{

class MainWindowTest : public ::testing::TestWithParam<char>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        setMessageService(&messages);
        win = std::make_unique<frmMain>(AppPaths{dir.path().toStdString(), "kelvra"}, sep());
        win->show();
        startMessages = messages.messages;
        messages.messages.clear();
    }
    void TearDown() override
    {
        win.reset();
        setMessageService(nullptr);
    }
    char sep() const { return GetParam(); }
    // The settings file as the window left it; empty when there is none.
    QString settings() const
    {
        QFile f(dir.filePath("kelvra.ini"));
        return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
    }

    QTemporaryDir dir;
    RecordingMessageService messages;
    std::vector<Message> startMessages; // what the window showed while it started
    std::unique_ptr<frmMain> win;
};

} // namespace kelvra::test
