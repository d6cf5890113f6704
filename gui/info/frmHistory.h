// The history viewer: shows the program's change history, the text file beside the program.
#pragma once

#include "gui/common/AppState.h"

#include <QString>
#include <QWidget>
#include <string>

class QPlainTextEdit;

namespace kelvra
{

// The history file's name for a program file name without extension: every "_beta" removed, then
// "_history.txt", so a beta build reads the release build's file.
std::string historyFileName(std::string_view programName);

class frmHistory : public QWidget
{
    Q_OBJECT
public:
    // Loading the window sizes it, shows it (not modal) and lets pending events run; closing it
    // unloads it.
    explicit frmHistory(const AppState& app, QWidget* parent = nullptr);

    // Reads the history file into txtHistory line by line. With no text to show it tells the user
    // which file it looked for and closes the window.
    void history_load_next();

    QPlainTextEdit* txtHistory() const { return m_txtHistory; }
    // The text as it was read, lines joined by carriage return and line feed.
    const QString& historyText() const { return m_text; }

private:
    const AppState& m_app;
    QPlainTextEdit* m_txtHistory = nullptr;
    QString m_text;
    bool m_loading = false;
};

} // namespace kelvra
