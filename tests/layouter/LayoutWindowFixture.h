// The layouter window opened on a fake main window with its own settings folder, for the GUI tests.
#pragma once

#include "gui/common/AppState.h"
#include "gui/common/MainWindowHost.h"
#include "gui/common/MessageService.h"
#include "gui/layouter/frmLayout.h"
#include "tests/layouter/LayouterTestSupport.h"
#include "tests/support/FakeHost.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <memory>
#include <sstream>

namespace kelvra::test
{

class LayoutWindow : public ::testing::TestWithParam<char>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_host = std::make_unique<FakeHost>(AppPaths{m_dir.path().toStdString(), "kelvra"}, sep());
        setDesign(defaultDesign());
        setMessageService(&m_messages);
    }
    void TearDown() override
    {
        if (m_window)
            m_window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        setMessageService(nullptr);
    }

    char sep() const { return GetParam(); }
    AppState& app() { return m_host->app(); }

    void setDesign(const Changes& changes)
    {
        app().inputs = inputsOf(changes, sep());
        app().calc = CalcState{};
        Recalculate(makeRecalcInputs(app().inputs, true, sep()), app().calc);
    }

    frmLayout& open()
    {
        m_window = new frmLayout(app(), *m_host);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(m_window.data()));
        m_window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(m_window.data()));
        return *m_window;
    }

    void closeWindow()
    {
        m_window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    std::string settings() const
    {
        std::ifstream in(m_dir.filePath("kelvra.ini").toStdString());
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    void writeSettings(const std::string& text) const
    {
        std::ofstream out(m_dir.filePath("kelvra.ini").toStdString());
        out << text;
    }

    static QRect rectOf(const Panel& p)
    {
        return QRect(qRound(p.left), qRound(p.top), qRound(p.width), qRound(p.height));
    }
    QString caption(const char* name, const char* l, const char* b) const
    {
        return QString("%1\nl:%2cm\nb:%3cm")
            .arg(name, QString::fromStdString(under(l, sep())), QString::fromStdString(under(b, sep())));
    }

    void click(QWidget* w, Qt::MouseButton button) { QTest::mouseClick(w, button, Qt::NoModifier); }
    void moveOnSheet(QPoint p)
    {
        // The windowing system drops a move to where the pointer already is, so come from beside it.
        QTest::mouseMove(m_window->picPanel(), p + QPoint(1, 1));
        QTest::mouseMove(m_window->picPanel(), p);
    }
    void trigger(const char* name)
    {
        QAction* a = m_window->action(name);
        ASSERT_NE(a, nullptr) << name;
        a->trigger();
    }

    QTemporaryDir m_dir;
    std::unique_ptr<FakeHost> m_host;
    RecordingMessageService m_messages;
    QPointer<frmLayout> m_window;
};
} // namespace kelvra::test
