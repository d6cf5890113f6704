// Printing a window's pages on paper or into a PDF file, the same way for every window that prints.
#pragma once

#include <QString>

#include <functional>

class QPrinter;
class QWidget;

namespace kelvra
{

using PagePrinter = std::function<void(QPrinter&)>;

// QPrinter does not tell when it cannot write, so the file is opened (and emptied) first to find out.
bool canWriteFile(const QString& path);
// What `print` draws, as a PDF file at `path` titled `docName`; true when the file has something in it.
bool printPdf(const QString& path, const QString& docName, const PagePrinter& print);
// Lets the user choose a printer, then prints what `print` draws unless the user cancels.
void printWithDialog(QWidget* parent, const PagePrinter& print);

} // namespace kelvra
