// The window program: the main window with the settings file beside the executable.
#include "gui/main/frmMain.h"

#include "gui/boards/frmBoards.h"
#include "gui/info/frminfo.h"
#include "gui/layouter/frmLayout.h"
#include "gui/main/frm3d.h"
#include "gui/sound/frmSound.h"

#include "calc/Numeric.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QFileInfo exe(QCoreApplication::applicationFilePath());
    kelvra::AppPaths paths{exe.absolutePath().toStdString(), exe.completeBaseName().toStdString()};
    kelvra::frmMain window(std::move(paths), kelvra::localeDecimalSeparator());
    window.show();
    // KELVRA_SCREENSHOT=file: simulation on, the window grabbed into that file, then the end;
    // KELVRA_SCREENSHOT_LAYOUT=file grabs the layouter opened on the same design as well, and
    // KELVRA_SCREENSHOT_BESTFIT=file the layouter after "Best fit", KELVRA_SCREENSHOT_ABOUT=file the
    // About window, KELVRA_SCREENSHOT_SOUND=file the sound window with the shipped 12" example woofer at
    // 300 W in a midsize car, KELVRA_SCREENSHOT_MAXSPL=file (with it) that window's maximum-SPL plot,
    // KELVRA_SCREENSHOT_BOARDS=file the boards window, KELVRA_SCREENSHOT_OUTLINES=file its outlines and
    // bevels, KELVRA_SCREENSHOT_3D=file the 3D view.
    const QString shot = qEnvironmentVariable("KELVRA_SCREENSHOT");
    const QString layoutShot = qEnvironmentVariable("KELVRA_SCREENSHOT_LAYOUT");
    const QString bestFitShot = qEnvironmentVariable("KELVRA_SCREENSHOT_BESTFIT");
    const QString aboutShot = qEnvironmentVariable("KELVRA_SCREENSHOT_ABOUT");
    const QString soundShot = qEnvironmentVariable("KELVRA_SCREENSHOT_SOUND");
    const QString maxSplShot = qEnvironmentVariable("KELVRA_SCREENSHOT_MAXSPL");
    const QString boardsShot = qEnvironmentVariable("KELVRA_SCREENSHOT_BOARDS");
    const QString outlinesShot = qEnvironmentVariable("KELVRA_SCREENSHOT_OUTLINES");
    const QString view3dShot = qEnvironmentVariable("KELVRA_SCREENSHOT_3D");
    if (!shot.isEmpty() || !layoutShot.isEmpty() || !bestFitShot.isEmpty() || !aboutShot.isEmpty() ||
        !soundShot.isEmpty() || !boardsShot.isEmpty() || !outlinesShot.isEmpty() || !view3dShot.isEmpty()) {
        window.buttonHandler(kelvra::ShowButton::Simulation);
        if (!layoutShot.isEmpty() || !bestFitShot.isEmpty())
            window.openLayouter();
        if (!aboutShot.isEmpty())
            window.openAbout();
        if (!boardsShot.isEmpty() || !outlinesShot.isEmpty())
            window.openBoards();
        if (!view3dShot.isEmpty())
            window.open3d();
        if (!soundShot.isEmpty()) {
            window.openSound();
            auto* sound = window.findChild<kelvra::frmSound*>();
            auto* library = sound->findChild<QComboBox*>("cmbWooferLibrary");
            library->setCurrentIndex(library->findText("12-inch", Qt::MatchContains));
            sound->findChild<QPushButton*>("cmdLoadWoofer")->click();
            sound->findChild<QComboBox*>("cmbCar")->setCurrentIndex(2);
            sound->box("targetfb")->setText("32");
            sound->box("power")->setText("300");
        }
        // The names live in main() until the event loop ends, so the shot can take them by reference.
        QTimer::singleShot(500, &window, [&] {
            if (auto* boards = window.boardsWindow()) {
                if (!boardsShot.isEmpty())
                    boards->grab().save(boardsShot);
                if (!outlinesShot.isEmpty()) {
                    boards->tabs()->setCurrentIndex(1);
                    boards->grab().save(outlinesShot);
                }
                boards->close();
            }
            if (auto* view = window.findChild<kelvra::frm3d*>(); view && !view3dShot.isEmpty()) {
                view->grab().save(view3dShot);
                view->close();
            }
            if (auto* about = window.findChild<kelvra::frminfo*>(); about && !aboutShot.isEmpty()) {
                about->grab().save(aboutShot);
                about->close();
            }
            if (!shot.isEmpty())
                window.grab().save(shot);
            if (auto* sound = window.findChild<kelvra::frmSound*>(); sound && !soundShot.isEmpty()) {
                sound->grab().save(soundShot);
                if (!maxSplShot.isEmpty()) {
                    sound->findChild<QCheckBox*>("chkPlotMaxSpl")->setChecked(true);
                    QWidget* plot = sound->findChild<QWidget*>("chartMaxSpl");
                    plot->resize(plot->width(), 360);
                    plot->grab().save(maxSplShot);
                }
                sound->close();
            }
            if (auto* layout = window.findChild<kelvra::frmLayout*>()) {
                if (!layoutShot.isEmpty())
                    layout->grab().save(layoutShot);
                if (!bestFitShot.isEmpty()) {
                    layout->bestFit();
                    layout->grab().save(bestFitShot);
                }
                layout->close();
            }
            window.markDesignSaved(); // the shots change nothing worth a question
            window.close();
        });
    }
    return app.exec();
}
