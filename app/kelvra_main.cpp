// The window program: the main window with the settings file beside the executable.
#include "frmMain.h"

#include "Numeric.h"

#include <QApplication>
#include <QFileInfo>
#include <QTimer>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QFileInfo exe(QCoreApplication::applicationFilePath());
    kelvra::AppPaths paths{exe.absolutePath().toStdString(), exe.completeBaseName().toStdString()};
    kelvra::frmMain window(std::move(paths), kelvra::localeDecimalSeparator());
    window.show();
    // KELVRA_SCREENSHOT=file: simulation on, the window grabbed into that file, then the end.
    const QString shot = qEnvironmentVariable("KELVRA_SCREENSHOT");
    if (!shot.isEmpty()) {
        window.buttonHandler(2);
        QTimer::singleShot(500, &window, [&window, shot] {
            window.grab().save(shot);
            window.close();
        });
    }
    return app.exec();
}
