// The real main window over a fresh temporary program folder, with the message boxes recorded, for the
// window tests that start from it; the parameter is the user's decimal separator.
#pragma once

#include "gui/common/MessageService.h"
#include "gui/main/frmMain.h"
#include "tests/support/SeparatorText.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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
        for (QWidget* w : QApplication::topLevelWidgets())
            delete w;
        setMessageService(nullptr);
    }
    char sep() const { return GetParam(); }
    std::string u(const char* text) const { return under(text, sep()); }
    // The settings file as the window left it; empty when there is none.
    QString settings() const
    {
        QFile f(dir.filePath("kelvra.ini"));
        return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
    }
    QAction* action(const char* name) const { return win->findChild<QAction*>(name); }
    QLineEdit* box(int i) const { return qobject_cast<QLineEdit*>(win->control("txtSize", i)); }
    QComboBox* list(const char* name, std::optional<int> i = std::nullopt) const
    {
        return qobject_cast<QComboBox*>(win->control(name, i));
    }
    void simulation(bool on)
    {
        if (win->app().simulationOn != on)
            action("mnuFileSim")->trigger();
    }
    static void unloadClosed() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    QTemporaryDir dir;
    RecordingMessageService messages;
    std::vector<Message> startMessages; // what the window showed while it started
    std::unique_ptr<frmMain> win;
};

} // namespace kelvra::test
