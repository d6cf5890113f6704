// The layouter window opened on a fake main window with its own settings folder, for the GUI tests.
#pragma once

#include "gui/common/AppState.h"
#include "gui/common/MainWindowHost.h"
#include "gui/common/MessageService.h"
#include "gui/layouter/frmLayout.h"
#include "tests/layouter/LayouterTestSupport.h"

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

// The main window as the layouter sees it: the run-wide state and the figure's naming labels.
class FakeHost : public MainWindowHost
{
public:
    FakeHost(AppPaths paths, char sep) : m_app(std::move(paths), sep), m_window(std::make_unique<QWidget>())
    {
    }

    AppState& app() override { return m_app; }
    QWidget* window() override { return m_window.get(); }
    void setModelText(const ModelKey&, const std::string&) override {}
    void setModelListPosition(const ModelKey&, int) override {}
    void runRecalculate() override {}
    void setSimulationFlag(bool on) override { m_app.simulationOn = on; }
    void setCaption(const std::string& caption) override { m_caption = caption; }
    std::string caption() const override { return m_caption; }
    QWidget* control(std::string_view name, std::optional<int> index) override
    {
        if (name != "Label2" || !index)
            return nullptr;
        const auto it = labels.find(*index);
        return it == labels.end() ? nullptr : it->second;
    }
    void refillTextLists() override {}

    QLabel* addLabel(int index, const QString& caption)
    {
        auto* l = new QLabel(caption, m_window.get());
        labels[index] = l;
        return l;
    }

    std::map<int, QLabel*> labels;

private:
    AppState m_app;
    std::unique_ptr<QWidget> m_window;
    std::string m_caption;
};

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
