// Every window of the program, in both shipped languages, drawn without a caption cut short. The tests
// also run at 200 % (a screen of 192 dpi, the "Scale2." tests), because the places are twips and the
// text is hinted per resolution.
#include "gui/boards/frmBoards.h"
#include "gui/common/MessageService.h"
#include "gui/info/frmHistory.h"
#include "gui/info/frminfo.h"
#include "gui/info/frminfo2.h"
#include "gui/lang/frmOptions.h"
#include "gui/layouter/frmLayout.h"
#include "gui/main/frm3d.h"
#include "gui/main/frmMain.h"
#include "gui/print/frmPrint.h"
#include "gui/project/frmDialog.h"
#include "tests/support/CaptionFit.h"

#include <QAction>
#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

using namespace kelvra;

namespace
{

const std::vector<std::string> kWindows = {"frmMain",    "frmLayout", "frmCutPlan", "frmPrint",
                                           "frmOptions", "frmDialog", "frminfo",    "frminfo2",
                                           "frmHistory", "frm3d",     "frmBoards"};

// Opens one window on top of a main window in simulation mode; the main window owns it.
QWidget* open(const std::string& name, frmMain& win)
{
    const AboutSource about{programVersion(), 2026, [] {
                                return std::vector<std::string>{"Kelvra", "Kelvra Boards"};
                            }};
    if (name == "frmCutPlan") {
        auto* layout = new frmLayout(win.app(), win, &win);
        layout->show();
        layout->findChild<QAction*>("mnuPanelCutPlan")->trigger();
        return layout->findChild<QWidget*>("frmCutPlan");
    }
    if (name == "frmBoards")
        win.openBoards();
    auto* info = name.starts_with("frminfo") ? new frminfo(win.app(), &win, about) : nullptr;
    using W = QWidget*; // one type for every branch
    return name == "frmLayout"    ? W(new frmLayout(win.app(), win, &win))
           : name == "frmPrint"   ? W(new frmPrint(win, {}, &win))
           : name == "frmOptions" ? W(new frmOptions(win, win, &win))
           : name == "frmDialog"  ? W(new frmDialog(win, &win))
           : name == "frminfo"    ? W(info)
           : name == "frminfo2"   ? W(new frminfo2({"Kelvra", "Kelvra Boards"}, info, &win))
           : name == "frmHistory" ? W(new frmHistory(win.app(), &win))
           : name == "frm3d"      ? W(new frm3d(&win))
           : name == "frmBoards"  ? W(win.boardsWindow())
                                  : W(&win);
}

class CaptionFitTest : public ::testing::TestWithParam<std::tuple<std::string, std::string>>
{
};

TEST_P(CaptionFitTest, NoCaptionIsCutShort)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::filesystem::path folder = dir.path().toStdString();
    // The one language file in the folder is row 0, the stored choice.
    const std::string file = std::get<0>(GetParam()) + "_lng.ini";
    std::filesystem::copy_file(std::filesystem::path(KELVRA_LANGUAGE_DIR) / file, folder / file);
    std::ofstream(folder / "kelvra.ini") << "[Settings]\nLanguage=0\n";
    RecordingMessageService messages;
    setMessageService(&messages);
    {
        frmMain win(AppPaths{folder.string(), "kelvra"}, ',');
        win.show();
        win.buttonHandler(
            ShowButton::Simulation); // the drawing's captions are at their longest with numbers in them
        QWidget* window = open(std::get<1>(GetParam()), win);
        ASSERT_NE(window, nullptr);
        window->setWindowFlag(Qt::Window);
        window->show();
        QApplication::processEvents();
        for (const std::string& clipped : clippedCaptions(window))
            ADD_FAILURE() << std::get<0>(GetParam()) << ", font dpi " << window->logicalDpiX() << ": "
                          << clipped;
    }
    setMessageService(nullptr);
}

INSTANTIATE_TEST_SUITE_P(Windows, CaptionFitTest,
                         ::testing::Combine(::testing::Values("Dutch", "English"),
                                            ::testing::ValuesIn(kWindows)),
                         [](const auto& info) {
                             return std::get<0>(info.param) + "_" + std::get<1>(info.param);
                         });

} // namespace
