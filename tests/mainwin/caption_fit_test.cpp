// Every window of the program, in both shipped languages, drawn without a caption cut short. The test
// binary runs twice, at the normal font resolution and at 200 % (QT_FONT_DPI=192, as a desktop set to
// double size gives it), because the places are twips and the text is hinted per resolution.
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
#include <functional>
#include <memory>
#include <ostream>

using namespace kelvra;

namespace
{

// Opens one window on top of a main window in simulation mode; the main window owns it.
using Opener = std::function<QWidget*(frmMain&)>;

struct WindowCase {
    const char* name;
    Opener open;
};

frminfo* about(frmMain& win)
{
    return new frminfo(win.app(), &win,
                       AboutSource{programVersion(), 2026, [] {
                                       return std::vector<std::string>{"Kelvra", "Kelvra Boards"};
                                   }});
}

const WindowCase kWindows[] = {
    {"frmMain",
     [](frmMain& win) -> QWidget* {
         return &win;
     }},
    {"frmLayout",
     [](frmMain& win) -> QWidget* {
         return new frmLayout(win.app(), win, &win);
     }},
    {"frmCutPlan",
     [](frmMain& win) -> QWidget* {
         auto* layout = new frmLayout(win.app(), win, &win);
         layout->show();
         layout->findChild<QAction*>("mnuPanelCutPlan")->trigger();
         return layout->findChild<QWidget*>("frmCutPlan");
     }},
    {"frmPrint",
     [](frmMain& win) -> QWidget* {
         return new frmPrint(win, {}, &win);
     }},
    {"frmOptions",
     [](frmMain& win) -> QWidget* {
         return new frmOptions(win, win, &win);
     }},
    {"frmDialog",
     [](frmMain& win) -> QWidget* {
         return new frmDialog(win, &win);
     }},
    {"frminfo",
     [](frmMain& win) -> QWidget* {
         return about(win);
     }},
    {"frminfo2",
     [](frmMain& win) -> QWidget* {
         return new frminfo2({"Kelvra", "Kelvra Boards"}, about(win), &win);
     }},
    {"frmHistory",
     [](frmMain& win) -> QWidget* {
         return new frmHistory(win.app(), &win);
     }},
    {"frm3d",
     [](frmMain& win) -> QWidget* {
         return new frm3d(&win);
     }},
    {"frmBoards",
     [](frmMain& win) -> QWidget* {
         win.openBoards();
         return win.boardsWindow();
     }},
};

struct Language {
    const char* name;
    const char* file;
};

void PrintTo(const Language& language, std::ostream* os)
{
    *os << language.name;
}
void PrintTo(const WindowCase& window, std::ostream* os)
{
    *os << window.name;
}

const Language kLanguages[] = {{"Dutch", "Dutch_lng.ini"}, {"English", "English_lng.ini"}};

class CaptionFitTest : public ::testing::TestWithParam<std::tuple<Language, WindowCase>>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        const std::filesystem::path folder = dir.path().toStdString();
        // The one language file in the folder is row 0, the stored choice.
        std::filesystem::copy_file(std::filesystem::path(KELVRA_LANGUAGE_DIR) / std::get<0>(GetParam()).file,
                                   folder / std::get<0>(GetParam()).file);
        std::ofstream(folder / "kelvra.ini") << "[Settings]\nLanguage=0\n";
        setMessageService(&messages);
        win = std::make_unique<frmMain>(AppPaths{folder.string(), "kelvra"}, ',');
        win->show();
        win->buttonHandler(2); // the drawing's captions are at their longest with numbers in them
    }
    void TearDown() override
    {
        win.reset();
        setMessageService(nullptr);
    }

    QTemporaryDir dir;
    RecordingMessageService messages;
    std::unique_ptr<frmMain> win;
};

TEST_P(CaptionFitTest, NoCaptionIsCutShort)
{
    QWidget* window = std::get<1>(GetParam()).open(*win);
    ASSERT_NE(window, nullptr);
    window->setWindowFlag(Qt::Window);
    window->show();
    QApplication::processEvents();
    for (const std::string& clipped : clippedCaptions(window))
        ADD_FAILURE() << std::get<0>(GetParam()).name << ", font dpi " << window->logicalDpiX() << ": "
                      << clipped;
}

INSTANTIATE_TEST_SUITE_P(Windows, CaptionFitTest,
                         ::testing::Combine(::testing::ValuesIn(kLanguages), ::testing::ValuesIn(kWindows)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    std::get<1>(info.param).name;
                         });

} // namespace
