// The boards window driven through the real main window: opened from its menus, showing the boards of a
// design, following its changes and exporting them.
#include "gui/boards/frmBoards.h"

#include "gui/boards/BoxPicture.h"
#include "gui/layouter/frmLayout.h"
#include "gui/print/PrintJob.h"
#include "tests/support/MainWindowFixture.h"
#include "tests/support/TempFolder.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTest>

#include <filesystem>
#include <map>
#include <tuple>

using namespace kelvra;

namespace
{

using Changes = std::map<std::string, std::string>;

class BoardsWindow : public kelvra::test::MainWindowTest
{
protected:
    // Types the design into the main window, numbers written with "," as the user's separator.
    void design(const Changes& changes)
    {
        for (const auto& [name, value] : changes)
            win->setModelText(*findModelKey(name), u(value.c_str()));
    }
    frmBoards* open()
    {
        simulation(true);
        action("mnuFileBoards")->trigger();
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
};

TEST_P(BoardsWindow, OpensFromTheMainWindowInSimulationModeAndFromTheLayouter)
{
    EXPECT_EQ(action("mnuFileBoards")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_B));
    frmBoards* w = open();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(messages.messages.empty());
    // A second time brings up the same window.
    action("mnuFileBoards")->trigger();
    EXPECT_EQ(win->boardsWindow(), w);
    EXPECT_EQ(win->findChildren<frmBoards*>().size(), 1);
    w->close();
    unloadClosed();
    action("mnuFilePanel")->trigger();
    win->findChild<frmLayout*>()->action("mnuPanelBoards")->trigger();
    ASSERT_NE(win->boardsWindow(), nullptr);
    EXPECT_EQ(win->boardsWindow()->tblBoards()->rowCount(), 6);
}

// The first-run box, 40 x 40 x 40 with 18 mm boards: the sides run through, top and bottom between them
// over the full width, front and rear between top and bottom. A rear-seat angle of 40 tilts the rear and
// bevels the edges that meet it by 50, beyond the saw, so 40 is cut.
// At 40 degrees a 40 cm wide box has no top left. The window follows the design while it is open.
TEST_P(BoardsWindow, ListsTheBoardsOfTheDesignAndFollowsItsChanges)
{
    frmBoards* w = open();
    ASSERT_NE(w, nullptr);
    const std::tuple<Changes, std::vector<const char*>, const char*> cases[] = {
        {{},
         {"Voorzijde | 1 | 36,4 x 36,4 | 18 mm | haaks", "Achterzijde | 1 | 36,4 x 36,4 | 18 mm | haaks",
          "Bovenzijde | 1 | 36,4 x 40 | 18 mm | haaks", "Onderzijde | 1 | 36,4 x 40 | 18 mm | haaks",
          "Zij links | 1 | 40 x 40 | 18 mm | haaks", "Zij rechts | 1 | 40 x 40 | 18 mm | haaks"},
         "Exact binnenvolume: 48,23 liter"},
        {{{"ca", "40"}, {"b2", "80"}},
         {"Voorzijde | 1 | 36,4 x 36,4 | 18 mm | haaks",
          "Achterzijde | 1 | 36,4 x 58,8 | 18 mm | kant 1: 50\u00b0 * 40\u00b0; kant 3: 50\u00b0 * 40\u00b0"},
         "voorbij 45"},
        {{{"b2", "40"}}, {}, "The top: the end panels cross below the top"}};
    for (const auto& [changes, expected, shown] : cases) {
        design(changes);
        QCoreApplication::processEvents(); // the window follows once the typing's events are done
        const std::vector<std::string> list = rows(*w);
        for (std::size_t i = 0; i < expected.size(); ++i)
            EXPECT_EQ(list.at(i), u(expected[i]));
        const bool error = expected.empty();
        EXPECT_EQ(list.empty(), error);
        // The printed panel measurements are the list's first four columns, row for row.
        std::vector<std::string> printed, listed;
        for (const PrintBoardRow& b : printedBoardRows(*win))
            printed.push_back(b.name + " | " + b.count + " | " + b.size + " | " + b.thickness + " | ");
        for (const std::string& row : list) {
            std::size_t end = 0;
            for (int column = 0; column < 4; ++column)
                end = row.find(" | ", end) + 3;
            listed.push_back(row.substr(0, end));
        }
        EXPECT_EQ(printed, listed);
        EXPECT_EQ(w->lblError()->isVisibleTo(w), error);
        EXPECT_TRUE(w->txtCutout()->isVisibleTo(w));
        EXPECT_EQ(w->picBox()->isVisibleTo(w), !error);
        for (const char* name : {"mnuBoardsCsv", "mnuBoardsPdf"})
            EXPECT_EQ(w->action(name)->isEnabled(), !error) << name;
        EXPECT_EQ(w->button("cmdCsv")->isEnabled(), !error);
        const QLabel* text = error ? w->lblError() : w->lblVolume();
        EXPECT_TRUE(text->text().contains(QString::fromStdString(u(shown)))) << text->text().toStdString();
    }
}

TEST_P(BoardsWindow, ExportsWriteFilesThatReadBack)
{
    // Button, design, the files written (the first is the one chosen), how they start. The two-sheet box
    // cannot lie on one sheet, so its SVG export is one drawing per sheet.
    const std::tuple<const char*, Changes, std::vector<const char*>, const char*> cases[] = {
        {"cmdCsv", {}, {"boards.csv"}, "name"},
        {"cmdSvg",
         {{"h2", "60"}, {"l3", "100"}, {"b2", "90"}, {"ca", "60"}},
         {"boards.svg", "boards-2.svg"},
         "<?xml"}};
    frmBoards* w = open();
    for (const auto& [button, changes, files, start] : cases) {
        design(changes);
        QCoreApplication::processEvents();
        test::TempFolder out;
        w->setFileChooser([&](auto&, auto&, auto&) { return QString::fromStdString(out.file(files[0])); });
        QTest::mouseClick(w->button(button), Qt::LeftButton);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out.dir()), {}), std::ssize(files));
        for (const char* name : files) {
            const QByteArray bytes = QByteArray::fromStdString(out.read(name));
            EXPECT_TRUE(bytes.startsWith(start)) << name;
        }
        // The front's row reads back with the list's size, in the user's number format.
        const QString f = sep() == ',' ? ";" : ",";
        const QString size = QRegularExpression::escape(QString::fromStdString(u("36,4")));
        EXPECT_TRUE(std::string_view(button) != "cmdCsv" ||
                    QString::fromStdString(out.read(files[0]))
                        .contains(QRegularExpression(
                            QString("\r\nVoorzijde%1front%1[^\r]*%1%2%1%2%1").arg(f, size) + "18")))
            << out.read(files[0]);
    }
    EXPECT_TRUE(messages.messages.empty());
    // Cancelling the file question writes nothing; a file that cannot be written is reported.
    w->setFileChooser([](auto&, auto&, auto&) { return QString(); });
    QTest::mouseClick(w->button("cmdCsv"), Qt::LeftButton);
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_FALSE(w->exportDxf(dir.filePath("no such folder/boards.dxf")));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_NE(messages.last()->text.find("could not be written"), std::string::npos);
    EXPECT_EQ(messages.last()->icon, MessageIcon::Exclamation);
}

// The woofer's cut-out typed in the window places the hole or is refused; it is kept with the woofer.
TEST_P(BoardsWindow, TheTypedCutoutPlacesTheHoleOrIsRefused)
{
    frmBoards* w = open();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(
        w->lblVolume()->text().contains(QString::fromStdString(u("uitsparing woofer \u00d8 23,4 cm"))));
    // In inches the box reads and shows inches; the project keeps cm.
    for (const auto& [measure, typed, model, error, shown] :
         {std::tuple{Measure::Metric, "35", "35", true, "the cut-outs side by side leave 0,7 cm"},
          {Measure::Metric, "25,2", "25,2", false, "\u00d8 25,2 cm"},
          {Measure::Imperial, "9 1/2", "24,13", false, "\u00d8 9 1/2\""}}) {
        win->app().measure = measure;
        w->txtCutout()->clear();
        QTest::keyClicks(w->txtCutout(), QString::fromStdString(u(typed)));
        QTest::keyClick(w->txtCutout(), Qt::Key_Return);
        EXPECT_EQ(*win->app().sound.find("cutout"), u(model));
        EXPECT_EQ(w->txtCutout()->text().toStdString(), u(typed));
        EXPECT_EQ(w->lblError()->isVisibleTo(w), error);
        EXPECT_TRUE(w->txtCutout()->isVisibleTo(w));
        const QLabel* text = error ? w->lblError() : w->lblVolume();
        EXPECT_TRUE(text->text().contains(QString::fromStdString(u(shown)))) << text->text().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Separators, BoardsWindow, ::testing::Values(',', '.'),
                         kelvra::test::SeparatorName());

} // namespace
