#include "gui/common/PrintOut.h"

#include <QFile>
#include <QPrintDialog>
#include <QPrinter>

namespace kelvra
{

bool canWriteFile(const QString& path)
{
    QFile probe(path);
    return !path.isEmpty() && probe.open(QIODevice::WriteOnly);
}

bool printPdf(const QString& path, const QString& docName, const PagePrinter& print)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setDocName(docName);
    print(printer);
    return QFile(path).size() > 0;
}

void printWithDialog(QWidget* parent, const PagePrinter& print)
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() == QDialog::Accepted)
        print(printer);
}

} // namespace kelvra
