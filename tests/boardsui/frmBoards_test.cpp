// The boards window driven through the real main window: opened from its menus, showing the boards of a
// design, following its changes, exporting and remembering its size.
#include "gui/boards/frmBoards.h"

#include "gui/boards/BoxPicture.h"
#include "gui/common/MessageService.h"
#include "gui/layouter/frmLayout.h"
#include "gui/main/frmMain.h"
#include "tests/support/MainWindowFixture.h"
#include "tests/support/SeparatorText.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

#include <map>
#include <memory>

using namespace kelvra;
using kelvra::test::under;

namespace
{

using Changes = std::map<std::string, std::string>;

class BoardsWindow : public kelvra::test::MainWindowTest
{
protected:
    void TearDown() override
    {
        win.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        setMessageService(nullptr);
    }

    QAction* action(QObject* window, const char* name) { return window->findChild<QAction*>(name); }
    void simulation(bool on)
    {
        if (win->app().simulationOn != on)
            action(win.get(), "mnuFileSim")->trigger();
    }
    // Types the design into the main window, numbers written with "," as the user's separator.
    void design(const Changes& changes)
    {
        for (const auto& [name, value] : changes)
            win->setModelText(*findModelKey(name), under(value, sep()));
    }
    static Changes firstRunChanges()
    {
        const ModelInputs first = firstRunInputs();
        return {{"h2", first.txtSize[0]},
                {"l3", first.txtSize[1]},
                {"b2", first.txtSize[2]},
                {"ca", first.txtSize[3]},
                {"cb", first.txtSize[4]}};
    }
    frmBoards* open()
    {
        simulation(true);
        action(win.get(), "mnuFileBoards")->trigger();
        return win->boardsWindow();
    }
    // The board list as the user reads it: one "name | count | l x b | thickness | bevels" per row.
    static std::vector<std::string> rows(const frmBoards& w)
    {
        std::vector<std::string> out;
        const QTableWidget* t = w.tblBoards();
        for (int r = 0; r < t->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < t->columnCount(); ++c)
                cells << t->item(r, c)->text();
            out.push_back(cells.join(" | ").toStdString());
        }
        return out;
    }
    std::string u(const char* text) const { return under(text, sep()); }
};

std::string separatorName(const ::testing::TestParamInfo<char>& info)
{
    return info.param == ',' ? "comma" : "point";
}

TEST_P(BoardsWindow, OpensFromTheMainWindowOnlyInSimulationMode)
{
    QAction* item = action(win.get(), "mnuFileBoards");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_B));
    item->trigger();
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.last()->text,
              "Niet in Simulatie modus, zet het programma eerst in simulatie modus voor boards");
    EXPECT_EQ(messages.last()->title, "Simulation Boards");
    EXPECT_EQ(win->boardsWindow(), nullptr);

    frmBoards* w = open();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(messages.messages.size(), 1u);
    // A second time brings up the same window.
    action(win.get(), "mnuFileBoards")->trigger();
    EXPECT_EQ(win->boardsWindow(), w);
    EXPECT_EQ(win->findChildren<frmBoards*>().size(), 1);
}

TEST_P(BoardsWindow, OpensFromTheLayouter)
{
    simulation(true);
    action(win.get(), "mnuFilePanel")->trigger();
    auto* layouter = win->findChild<frmLayout*>();
    ASSERT_NE(layouter, nullptr);
    QAction* item = layouter->action("mnuPanelBoards");
    ASSERT_NE(item, nullptr);
    item->trigger();
    ASSERT_NE(win->boardsWindow(), nullptr);
    EXPECT_EQ(win->boardsWindow()->tblBoards()->rowCount(), 6);
}

struct ListCase {
    const char* name;
    Changes design;
    std::vector<const char*> rows; // "," for the separator; none when the design cannot be built
    const char* shown;             // in the volume lines, or in the error instead of the boards
};

// The first-run box, 40 x 40 x 40 with 18 mm boards: the sides run through, top and bottom between them
// over the full width, front and rear between top and bottom. A rear-seat angle of 70 tilts the rear
// and bevels the edges that meet it by 20; one of 40 bevels them by 50, beyond the saw, so 40 is cut.
// At 40 degrees a 40 cm wide box has no top left.
const std::vector<ListCase> kListCases = {
    {"DefaultBox",
     {},
     {"Voorzijde | 1 | 36,4 x 36,4 | 18 mm | square", "Achterzijde | 1 | 36,4 x 36,4 | 18 mm | square",
      "Bovenzijde | 1 | 36,4 x 40 | 18 mm | square", "Onderzijde | 1 | 36,4 x 40 | 18 mm | square",
      "Zij links | 1 | 40 x 40 | 18 mm | square", "Zij rechts | 1 | 40 x 40 | 18 mm | square"},
     "Exact inner volume: 48,23 litres"},
    {"SlopedRear",
     {{"ca", "70"}},
     {"Voorzijde | 1 | 36,4 x 36,4 | 18 mm | square",
      "Achterzijde | 1 | 36,4 x 39,4 | 18 mm | edge 1: 20\u00b0; edge 3: 20\u00b0",
      "Bovenzijde | 1 | 36,4 x 26,1 | 18 mm | edge 1: 20\u00b0",
      "Onderzijde | 1 | 36,4 x 40 | 18 mm | edge 1: 20\u00b0", "Zij links | 1 | 40 x 40 | 18 mm | square",
      "Zij rechts | 1 | 40 x 40 | 18 mm | square"},
     "measures a sloped box's widths from the outside"},
    {"SteepSlope",
     {{"ca", "40"}, {"b2", "80"}},
     {"Voorzijde | 1 | 36,4 x 36,4 | 18 mm | square",
      "Achterzijde | 1 | 36,4 x 58,8 | 18 mm | edge 1: 50\u00b0 * 40\u00b0; edge 3: 50\u00b0 * 40\u00b0"},
     "beyond 45"},
    {"TopCrossed", {{"ca", "40"}}, {}, "The top: the end panels cross below the top"},
};

TEST_P(BoardsWindow, ListsTheBoardsOfTheDesign)
{
    for (const ListCase& c : kListCases) {
        SCOPED_TRACE(c.name);
        design(firstRunChanges());
        design(c.design);
        frmBoards* w = open();
        ASSERT_NE(w, nullptr);
        const std::vector<std::string> shown = rows(*w);
        for (std::size_t i = 0; i < c.rows.size(); ++i)
            EXPECT_EQ(shown.at(i), u(c.rows[i]));
        const bool error = shown.empty();
        EXPECT_EQ(w->lblError()->isVisibleTo(w), error);
        EXPECT_EQ(w->picBox()->isVisibleTo(w), !error);
        EXPECT_EQ(w->button("cmdCsv")->isEnabled(), !error);
        const QLabel* text = error ? w->lblError() : w->lblVolume();
        EXPECT_TRUE(text->text().contains(QString::fromStdString(u(c.shown)))) << text->text().toStdString();
        w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_P(BoardsWindow, FollowsTheDesignWhileOpen)
{
    frmBoards* w = open();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(rows(*w).at(1), u("Achterzijde | 1 | 36,4 x 36,4 | 18 mm | square"));
    design({{"ca", "70"}});
    QCoreApplication::processEvents(); // the window follows once the typing's events are done
    EXPECT_EQ(rows(*w).at(1),
              u("Achterzijde | 1 | 36,4 x 39,4 | 18 mm | edge 1: 20\u00b0; edge 3: 20\u00b0"));
    design({{"ca", "40"}});
    QCoreApplication::processEvents();
    EXPECT_TRUE(w->lblError()->isVisibleTo(w));
    EXPECT_FALSE(w->picBox()->isVisibleTo(w));
}

struct ExportCase {
    const char* name;
    const char* button;
    Changes design;
    std::vector<const char*> files; // written into the test's folder; the first is the one chosen
    const char* firstLine;          // how the first file starts
};

// The two-sheet box cannot lie on one sheet, so its SVG export is one drawing per sheet.
const std::vector<ExportCase> kExportCases = {
    {"CsvCutList", "cmdCsv", {}, {"boards.csv"}, "name"},
    {"DxfForTheRouter", "cmdDxf", {}, {"boards.dxf"}, "0"},
    {"SvgOneSheet", "cmdSvg", {}, {"boards.svg"}, "<?xml"},
    {"SvgTwoSheets",
     "cmdSvg",
     {{"h2", "60"}, {"l3", "100"}, {"b2", "90"}, {"ca", "60"}},
     {"boards.svg", "boards-2.svg"},
     "<?xml"},
    {"Pdf", "cmdPdf", {}, {"boards.pdf"}, "%PDF-"},
};

TEST_P(BoardsWindow, ExportsWriteFilesThatReadBack)
{
    for (const ExportCase& c : kExportCases) {
        SCOPED_TRACE(c.name);
        design(firstRunChanges());
        design(c.design);
        frmBoards* w = open();
        ASSERT_NE(w, nullptr);
        QTemporaryDir out;
        w->setFileChooser(
            [&](const QString&, const QString&, const QString&) { return out.filePath(c.files[0]); });
        QTest::mouseClick(w->button(c.button), Qt::LeftButton);
        EXPECT_EQ(QDir(out.path()).entryList(QDir::Files).size(), static_cast<qsizetype>(c.files.size()));
        for (const char* name : c.files) {
            QFile f(out.filePath(name));
            ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name;
            const QByteArray bytes = f.readAll();
            EXPECT_TRUE(bytes.startsWith(c.firstLine)) << name;
            if (QString(name).endsWith(".svg")) {
                QXmlStreamReader xml(bytes);
                while (!xml.atEnd())
                    xml.readNext();
                EXPECT_FALSE(xml.hasError()) << name << ": " << xml.errorString().toStdString();
            }
        }
        if (std::string(c.button) == "cmdCsv") {
            // The front's row reads back with the list's size, in the user's number format.
            QFile f(out.filePath(c.files[0]));
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            const QStringList lines = QString::fromUtf8(f.readAll()).split("\r\n");
            const QString fs = sep() == ',' ? ";" : ",";
            const QStringList front =
                lines.filter(QRegularExpression("^Voorzijde" + QRegularExpression::escape(fs)));
            ASSERT_EQ(front.size(), 1);
            const QStringList fields = front[0].split(fs);
            ASSERT_GE(fields.size(), 6);
            EXPECT_EQ(fields[1], "front");
            EXPECT_EQ(fields[3] + " x " + fields[4], QString::fromStdString(u("36,4 x 36,4")));
            EXPECT_EQ(fields[5], "18");
        }
        EXPECT_TRUE(messages.messages.empty());
        w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_P(BoardsWindow, AFileThatCannotBeWrittenIsReportedAndCancelWritesNothing)
{
    frmBoards* w = open();
    ASSERT_NE(w, nullptr);
    w->setFileChooser([](const QString&, const QString&, const QString&) { return QString(); });
    QTest::mouseClick(w->button("cmdCsv"), Qt::LeftButton);
    EXPECT_TRUE(QDir(dir.path()).entryList({"*.csv"}, QDir::Files).isEmpty());
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_FALSE(w->exportDxf(dir.filePath("no such folder/boards.dxf")));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_NE(messages.last()->text.find("could not be written"), std::string::npos);
    EXPECT_EQ(messages.last()->icon, MessageIcon::Exclamation);
}

TEST_P(BoardsWindow, RemembersItsSize)
{
    frmBoards* w = open();
    ASSERT_NE(w, nullptr);
    const QSize first = w->size();
    w->resize(first - QSize(37, 23));
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(settings().contains(QString("[Boards]")));
    EXPECT_TRUE(settings().contains(QString("Width=%1").arg(first.width() - 37))) << settings().toStdString();
    w = open();
    EXPECT_EQ(w->size(), first - QSize(37, 23));
    // A size the file garbles gives the first size again.
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    win->app().ini.WriteIni("Boards", "Width", "wide");
    EXPECT_EQ(open()->size().width(), first.width());
}

INSTANTIATE_TEST_SUITE_P(Separators, BoardsWindow, ::testing::Values(',', '.'), separatorName);

} // namespace
