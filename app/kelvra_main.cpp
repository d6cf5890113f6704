// The window program: the main window with the settings file beside the executable.
#include "frmMain.h"

#include "Numeric.h"

#include <QApplication>
#include <QFileInfo>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QFileInfo exe(QCoreApplication::applicationFilePath());
    kelvra::AppPaths paths{exe.absolutePath().toStdString(), exe.completeBaseName().toStdString()};
    kelvra::frmMain window(std::move(paths), kelvra::localeDecimalSeparator());
    window.show();
    return app.exec();
}
