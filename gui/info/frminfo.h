// The About window "Info   [2.8]": title, version, edition, start count, the maker's notice, the
// thank-you text and the two links. Translucent; the title scrolls when it is wider than the window.
#pragma once

#include "gui/common/AppState.h"
#include "info/Version.h"

#include <QColor>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QGroupBox;
class QLabel;
class QPushButton;
class QTimer;

namespace kelvra
{

class frminfo2;

// The link addresses: the maker's site (link 0 and the picture) and the project site (link 1).
inline constexpr const char* kMakerSite = "https://www.kelvra.example.org/";
inline constexpr const char* kProjectSite = "https://boinc.berkeley.edu/";

// The first year of the maker's notice; a clock set earlier still shows it.
inline constexpr int kFirstNoticeYear = 2004;

// "Kelvra crew (c) 2004-2026"; a year before 2004 counts as 2004, which then stands alone.
std::string makerNotice(int year);

// The edition label: 1 "Freeware", 2 "TEST", 3 "Payed" ("Betaald" unless the marker is "eng"),
// anything else "Error".
std::string editionText(int editionStatus, const std::string& marker);

// What the window shows that comes from outside it; tests put their own in.
struct AboutSource {
    VersionInfo version = programVersion();
    std::optional<int> year; // the clock's year when empty
    // The maker's programs found on this system, for the installed-programs window.
    std::function<std::vector<std::string>()> findPrograms;
};

class frminfo : public QWidget
{
    Q_OBJECT
public:
    // Loading: the year of the notice, the title (with the scroll timer when it is too wide) and
    // the comments text. The window is not modal and deletes itself when closed.
    explicit frminfo(const AppState& app, QWidget* parent = nullptr, AboutSource source = {});
    ~frminfo() override;

    // The language marker held in the invisible lbltaal: "eng" or "ned".
    void setLanguageMarker(const QString& marker);
    QString languageMarker() const;

    // The activation handler: edition, texts by the marker, translucency, caption, link colour. It
    // runs every time the window becomes active and when it is shown.
    void activate();

    // The event handlers, as the mouse and the timer run them.
    void lblsiteMouseMove(int index);
    void Frame1MouseMove();
    void lblsiteClick(int index);
    void Image1Click();
    void tmrtitlescrlTimer();
    void cmdbackClick();
    // Opens the installed-programs window; this window stays unusable until that one closes.
    void cmdprogsClick();

    QLabel* lblproduct;
    QGroupBox* Frame2;
    QLabel* lblversion;
    QLabel* lbluse;
    QLabel* Label5;
    QLabel* lblware;
    QLabel* Label4;
    QGroupBox* Frame1;
    QLabel* lblSitesCaption;
    QLabel* lblProjectsCaption;
    std::array<QLabel*, 2> lblsite;
    QLabel* Label1;
    QLabel* lblComments;
    QLabel* Image1;
    QPushButton* cmdback;
    QPushButton* cmdprogs;
    QLabel* lbltaal;
    QTimer* tmrtitlescrl;

    QColor normalLinkColour() const { return m_linkColour; }
    // The installed-programs window while it is open.
    frminfo2* installedPrograms() const;
    // The title's left edge in twips, as the scroll keeps it.
    double titleLeft() const { return m_titleLeft; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void placeTitle();
    void setLinkLook(int index, bool highlighted);

    const AppState& m_app;
    AboutSource m_source;
    QColor m_linkColour;
    std::optional<int> m_highlighted;
    double m_titleLeft = 0;
    QPointer<frminfo2> m_programs;
};

} // namespace kelvra
