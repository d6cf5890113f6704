#include "gui/info/frminfo.h"

#include "gui/common/ExternalPrograms.h"
#include "gui/common/MessageService.h"
#include "gui/common/Twips.h"
#include "gui/info/Translucency.h"
#include "gui/info/frminfo2.h"

#include <QDate>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>

namespace kelvra
{

namespace
{

constexpr double kWindowWidth = 6120;
constexpr double kWindowHeight = 5460;
constexpr double kScrollStep = 58; // twips per tick of the title scroll
constexpr int kScrollInterval = 36;

const QColor kHighlight(0xFF, 0, 0); // 0000FF as a blue-green-red value
const QColor kDesignLinkColour(0, 0, 0xC0);

const char* const kThanksEng[] = {
    "Thank you for the use of this program.",
    "If there is a update or you want to place a comment , please mail me or see my site.",
    "The Kelvra crew can't be responsibel for PC crashes and other stuff, for bat working programs!!!"};
const char* const kThanksNed[] = {
    "Dank U voor het gebruik van dit programma.",
    "Als er een update is of je wilt iets zeggen van het programma, AUB mail mij of zie eens op de "
    "Kelvra site.",
    "De Kelvra crew kan niet verantwoordelijk gesteld worden voor PC crashes en dergelijke te wijten van "
    "slecht werkende programmas!!!"};

QString joinLines(const char* const (&lines)[3])
{
    return QString::fromUtf8(lines[0]) + QStringLiteral("\r\n") + QString::fromUtf8(lines[1]) +
           QStringLiteral("\r\n") + QString::fromUtf8(lines[2]);
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, QRect rect)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(rect);
    return l;
}

// The picture of Image1: a woofer seen from the front, drawn so that no image file is needed.
QPixmap wooferPicture(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(QColor(60, 60, 60));
    p.drawEllipse(QRectF(2, 2, size - 4, size - 4));
    p.setBrush(QColor(150, 150, 150));
    p.drawEllipse(QRectF(size * 0.18, size * 0.18, size * 0.64, size * 0.64));
    p.setBrush(QColor(30, 30, 30));
    p.drawEllipse(QRectF(size * 0.38, size * 0.38, size * 0.24, size * 0.24));
    return pixmap;
}

} // namespace

std::string makerNotice(int year)
{
    const int last = year < kFirstNoticeYear ? kFirstNoticeYear : year;
    std::string text = "Kelvra crew (c) " + std::to_string(kFirstNoticeYear);
    if (last > kFirstNoticeYear)
        text += "-" + std::to_string(last);
    return text;
}

std::string editionText(int editionStatus, const std::string& marker)
{
    switch (editionStatus) {
    case 1:
        return "Freeware";
    case 2:
        return "TEST";
    case 3:
        return marker == "eng" ? "Payed" : "Betaald";
    default:
        return "Error";
    }
}

frminfo::frminfo(const AppState& app, QWidget* parent, AboutSource source)
    : QWidget(parent, Qt::Window), m_app(app), m_source(std::move(source))
{
    setObjectName(QStringLiteral("frminfo"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Info"));
    setFixedSize(twipsToPixels(kWindowWidth), twipsToPixels(kWindowHeight));

    lblproduct = makeLabel(this, "lblproduct", QString(), twipRect(120, 60, 4500, 600));
    QFont titleFont = lblproduct->font();
    titleFont.setPointSize(20);
    titleFont.setBold(true);
    lblproduct->setFont(titleFont);

    Image1 = makeLabel(this, "Image1", QString(), twipRect(4920, 120, 1080, 1080));
    Image1->setPixmap(wooferPicture(twipsToPixels(1080)));
    Image1->setCursor(Qt::PointingHandCursor);
    Image1->setToolTip(QString::fromLatin1(kMakerSite));
    Image1->installEventFilter(this);

    Frame2 = new QGroupBox(QStringLiteral("Program Info"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->setGeometry(twipRect(120, 720, 4680, 1560));
    lblversion = makeLabel(Frame2, "lblversion", QStringLiteral("Version: "), twipRect(120, 300, 4440, 255));
    lbluse = makeLabel(Frame2, "lbluse", QStringLiteral("Total used: "), twipRect(120, 600, 4440, 255));
    Label5 = makeLabel(Frame2, "Label5", QStringLiteral("Status:"), twipRect(120, 900, 720, 255));
    lblware = makeLabel(Frame2, "lblware", QString(), twipRect(840, 900, 3720, 255));
    Label4 = makeLabel(Frame2, "Label4", QString(), twipRect(120, 1200, 4440, 255));

    Frame1 = new QGroupBox(QStringLiteral("Contact"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(twipRect(120, 2400, 5880, 960));
    Frame1->setMouseTracking(true);
    Frame1->installEventFilter(this);
    lblSitesCaption = makeLabel(Frame1, "Label2", QStringLiteral("Site(s):"), twipRect(120, 300, 960, 255));
    lblProjectsCaption =
        makeLabel(Frame1, "Label3", QStringLiteral("Projects:"), twipRect(120, 600, 960, 255));
    const char* const addresses[2] = {kMakerSite, kProjectSite};
    for (int k = 0; k < 2; ++k) {
        QLabel* link = makeLabel(Frame1, k == 0 ? "lblsite(0)" : "lblsite(1)",
                                 QString::fromLatin1(addresses[k]), twipRect(1140, 300 + 300 * k, 4560, 255));
        QPalette pal = link->palette();
        pal.setColor(QPalette::WindowText, kDesignLinkColour);
        link->setPalette(pal);
        link->setMouseTracking(true);
        link->installEventFilter(this);
        lblsite[static_cast<std::size_t>(k)] = link;
    }

    // A little taller than the design: the last line's descenders need it in some fonts.
    Label1 = makeLabel(this, "Label1", QString(), twipRect(120, 3480, 5880, 1005));
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Five wrapped lines of notice fit their place in the 8 point dialog font.
    QFont notice = Label1->font();
    notice.setPointSizeF(8);
    Label1->setFont(notice);
    lblComments = makeLabel(this, "lblComments", QString(), twipRect(120, 4500, 5880, 255));

    cmdprogs = new QPushButton(QStringLiteral("&Installed programs"), this);
    cmdprogs->setObjectName(QStringLiteral("cmdprogs"));
    cmdprogs->setGeometry(twipRect(120, 4920, 2400, 375));
    cmdprogs->setToolTip(QStringLiteral("Show the Kelvra programs on this computer"));
    cmdback = new QPushButton(QStringLiteral("&Back"), this);
    cmdback->setObjectName(QStringLiteral("cmdback"));
    cmdback->setGeometry(twipRect(4800, 4920, 1200, 375));
    cmdback->setToolTip(QStringLiteral("Go back to main window"));

    lbltaal = makeLabel(this, "lbltaal", QStringLiteral("eng"), twipRect(2640, 4920, 600, 255));
    lbltaal->setVisible(false);

    tmrtitlescrl = new QTimer(this);
    tmrtitlescrl->setObjectName(QStringLiteral("tmrtitlescrl"));
    tmrtitlescrl->setInterval(kScrollInterval);

    connect(cmdback, &QPushButton::clicked, this, &frminfo::cmdbackClick);
    connect(cmdprogs, &QPushButton::clicked, this, &frminfo::cmdprogsClick);
    connect(tmrtitlescrl, &QTimer::timeout, this, &frminfo::tmrtitlescrlTimer);

    // Load.
    const int year = m_source.year.value_or(QDate::currentDate().year());
    Label4->setText(QString::fromStdString(makerNotice(year)));
    lblproduct->setText(QString::fromStdString(m_source.version.title));
    lblproduct->adjustSize();
    lblproduct->resize(lblproduct->width(), twipsToPixels(600));
    m_titleLeft = 120;
    if (lblproduct->width() > width())
        tmrtitlescrl->start();
    lblComments->setText(QString::fromStdString(m_source.version.comments));
    m_linkColour = kDesignLinkColour;
}

frminfo::~frminfo()
{
    if (m_programs)
        m_programs->close();
}

void frminfo::setLanguageMarker(const QString& marker)
{
    lbltaal->setText(marker);
}

QString frminfo::languageMarker() const
{
    return lbltaal->text();
}

void frminfo::activate()
{
    const std::string marker = toStdString(lbltaal->text());
    lblware->setText(QString::fromStdString(editionText(m_app.editionStatus, marker)));

    const QString version = QString::fromStdString(VersionString(false, m_app.betaBuild, m_source.version));
    const QString uses = QString::number(m_app.useCount);
    if (marker == "eng") {
        lblversion->setText(QStringLiteral("Version: ") + version);
        Label1->setText(joinLines(kThanksEng));
        lbluse->setText(QStringLiteral("Used: ") + uses + QStringLiteral(" time(s)."));
    } else if (marker == "ned") {
        lblversion->setText(QStringLiteral("Versie: ") + version);
        Label1->setText(joinLines(kThanksNed));
        lbluse->setText(QStringLiteral("Gebruikt: ") + uses + QStringLiteral(" keer."));
    }

    SetTranslucency(this, 200, 0, 1);
    setWindowTitle(QStringLiteral("Info   [2.8]"));
    // A highlighted link shows the hover colour, not its own; that one must not become the normal
    // colour, or the highlight could never be taken away again.
    if (m_highlighted != 0)
        m_linkColour = lblsite[0]->palette().color(QPalette::WindowText);
}

void frminfo::setLinkLook(int index, bool highlighted)
{
    QLabel* link = lblsite[static_cast<std::size_t>(index)];
    QFont f = link->font();
    f.setBold(highlighted);
    link->setFont(f);
    QPalette pal = link->palette();
    pal.setColor(QPalette::WindowText, highlighted ? kHighlight : m_linkColour);
    link->setPalette(pal);
}

void frminfo::lblsiteMouseMove(int index)
{
    if (index < 0 || index > 1)
        return;
    for (int k = 0; k < 2; ++k)
        if (k != index)
            setLinkLook(k, false);
    setLinkLook(index, true);
    m_highlighted = index;
    setCursor(Qt::UpArrowCursor);
}

void frminfo::Frame1MouseMove()
{
    for (int k = 0; k < 2; ++k)
        setLinkLook(k, false);
    m_highlighted.reset();
    setCursor(Qt::ArrowCursor);
}

void frminfo::lblsiteClick(int index)
{
    if (index < 0 || index > 1)
        return;
    externalStarter().openUrl(toStdString(lblsite[static_cast<std::size_t>(index)]->text()));
}

void frminfo::Image1Click()
{
    externalStarter().openUrl(kMakerSite);
}

void frminfo::tmrtitlescrlTimer()
{
    const double titleWidth = pixelsToTwips(lblproduct->width());
    // Once the title has left the window on the left it comes back in from the right edge.
    if (m_titleLeft <= -titleWidth)
        m_titleLeft = pixelsToTwips(width());
    m_titleLeft -= kScrollStep;
    placeTitle();
}

void frminfo::placeTitle()
{
    lblproduct->move(twipsToPixels(m_titleLeft), lblproduct->y());
}

void frminfo::cmdbackClick()
{
    close();
}

void frminfo::cmdprogsClick()
{
    if (m_programs) {
        m_programs->raise();
        return;
    }
    std::vector<std::string> found =
        m_source.findPrograms ? m_source.findPrograms() : findMakerPrograms(makerProgramFolders());
    // A top-level window of its own, so that disabling this window leaves that one usable.
    m_programs = new frminfo2(std::move(found), this, parentWidget());
    setEnabled(false);
    m_programs->show();
}

frminfo2* frminfo::installedPrograms() const
{
    return m_programs.data();
}

bool frminfo::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseMove || type == QEvent::MouseButtonPress) {
        for (int k = 0; k < 2; ++k) {
            if (watched != lblsite[static_cast<std::size_t>(k)])
                continue;
            if (type == QEvent::MouseMove)
                lblsiteMouseMove(k);
            else
                lblsiteClick(k);
            return true;
        }
        if (watched == Frame1 && type == QEvent::MouseMove) {
            Frame1MouseMove();
            return true;
        }
        if (watched == Image1 && type == QEvent::MouseButtonPress) {
            Image1Click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frminfo::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        activate();
    QWidget::changeEvent(event);
}

void frminfo::showEvent(QShowEvent* event)
{
    // Where no window manager makes the window active, it still shows its texts.
    activate();
    QWidget::showEvent(event);
}

} // namespace kelvra
