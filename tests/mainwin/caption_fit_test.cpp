// Every window of the program, in both shipped languages, drawn without a caption cut short. The tests
// also run at 200 % (a screen of 192 dpi, the "Scale2." tests), because the places are twips and the
// text is hinted per resolution.
#include "gui/boards/frmBoards.h"
#include "gui/common/MessageService.h"
#include "gui/fit/frmFit.h"
#include "gui/info/frmHistory.h"
#include "gui/info/frminfo.h"
#include "gui/info/frminfo2.h"
#include "gui/lang/frmOptions.h"
#include "gui/layouter/frmLayout.h"
#include "gui/main/FitLabel.h"
#include "gui/main/frm3d.h"
#include "gui/main/frmMain.h"
#include "gui/print/frmPrint.h"
#include "gui/project/frmDialog.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTemporaryDir>
#include <QTextDocument>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>

using namespace kelvra;

namespace
{

struct Need {
    QString text;
    int needed = 0;
    int available = 0;
};

std::string nameOf(const QObject* o)
{
    return (o->objectName().isEmpty() ? QString(o->metaObject()->className()) : o->objectName())
        .toStdString();
}

int textWidth(const QFont& font, const QString& text)
{
    return QFontMetrics(font).size(Qt::TextShowMnemonic, text).width();
}

std::optional<Need> labelNeed(const QLabel* l)
{
    if (const auto* fit = qobject_cast<const FitLabel*>(l))
        return Need{l->text(), fit->elided() ? l->contentsRect().width() + 1 : 0, l->contentsRect().width()};
    QRect place = l->contentsRect().adjusted(l->margin(), l->margin(), -l->margin(), -l->margin());
    // A label that reaches out of its parent is cut at the parent's edge (a layouter panel's caption).
    if (const QWidget* parent = l->parentWidget(); parent && !l->isWindow()) {
        const QRect shown = l->geometry() & parent->rect();
        place.setWidth(std::min(place.width(), shown.width()));
        if (shown.height() < l->height() && shown.height() < l->sizeHint().height() && !l->wordWrap())
            return Need{l->text(), l->sizeHint().height(), shown.height()};
    }
    const bool rich = l->textFormat() == Qt::RichText ||
                      (l->textFormat() == Qt::AutoText && Qt::mightBeRichText(l->text()));
    if (l->wordWrap()) // broken into lines: cut when they need more height than the label has
        return Need{l->text(), l->heightForWidth(l->width()), l->height()};
    if (rich) {
        QTextDocument doc;
        doc.setDefaultFont(l->font());
        doc.setDocumentMargin(0);
        doc.setHtml(l->text());
        return Need{l->text(), static_cast<int>(std::ceil(doc.idealWidth())), place.width()};
    }
    return Need{l->text(), textWidth(l->font(), l->text()), place.width()};
}

std::optional<Need> buttonNeed(const QAbstractButton* b)
{
    QStyleOptionButton opt;
    opt.initFrom(b);
    opt.text = b->text();
    const int text = textWidth(b->font(), b->text());
    QStyle::SubElement contents = QStyle::SE_PushButtonContents;
    if (qobject_cast<const QCheckBox*>(b))
        contents = QStyle::SE_CheckBoxContents;
    else if (qobject_cast<const QRadioButton*>(b))
        contents = QStyle::SE_RadioButtonContents;
    else if (!qobject_cast<const QPushButton*>(b))
        return std::nullopt; // tool buttons and the like carry icons
    const QRect place = b->style()->subElementRect(contents, &opt, b);
    // A push button also keeps the style's margin inside its frame on both sides.
    const int margin = contents == QStyle::SE_PushButtonContents
                           ? b->style()->pixelMetric(QStyle::PM_ButtonMargin, &opt, b)
                           : 0;
    return Need{b->text(), text + margin, place.width()};
}

std::optional<Need> groupBoxNeed(const QGroupBox* g)
{
    QStyleOptionGroupBox opt;
    opt.initFrom(g);
    opt.text = g->title();
    opt.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
    if (g->isCheckable())
        opt.subControls |= QStyle::SC_GroupBoxCheckBox;
    opt.textAlignment = g->alignment();
    const QRect label = g->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, g);
    // The title starts where the style puts it and must end inside the frame.
    return Need{g->title(), label.left() + textWidth(g->font(), g->title()), g->width()};
}

void checkMenuBar(const std::string& window, const QMenuBar* bar, std::vector<std::string>& out)
{
    for (QAction* a : bar->actions()) {
        if (!a->isVisible() || a->isSeparator())
            continue;
        const QRect r = bar->actionGeometry(a);
        // Entries that do not fit are moved to an overflow button and get no place at all.
        if (r.isEmpty() || r.right() >= bar->width())
            out.push_back(window + " / " + nameOf(a->menu() ? static_cast<QObject*>(a->menu()) : a) + ": '" +
                          a->text().toStdString() + "' does not fit the menu bar of " +
                          std::to_string(bar->width()) + " px");
    }
}

// One line per caption drawn cut short: "window / widget: 'text' needs N px, has M px"; a shrink-to-fit label
// counts only when even its smallest font does not hold the text.
std::vector<std::string> clippedCaptions(QWidget* window)
{
    std::vector<std::string> out;
    const std::string windowName = nameOf(window);
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* w : widgets) {
        if (w != window && !w->isVisibleTo(window))
            continue;
        std::optional<Need> need;
        if (const auto* l = qobject_cast<const QLabel*>(w))
            need = labelNeed(l);
        else if (const auto* b = qobject_cast<const QAbstractButton*>(w))
            need = buttonNeed(b);
        else if (const auto* g = qobject_cast<const QGroupBox*>(w))
            need = groupBoxNeed(g);
        else if (const auto* e = qobject_cast<const QLineEdit*>(w))
            need = Need{e->text(), QFontMetrics(e->font()).horizontalAdvance(e->text()) + 8, e->width()};
        else if (const auto* bar = qobject_cast<const QMenuBar*>(w))
            checkMenuBar(windowName, bar, out);
        if (need && !need->text.isEmpty() && need->needed > need->available)
            out.push_back(windowName + " / " + nameOf(w) + ": '" + need->text.toStdString() + "' needs " +
                          std::to_string(need->needed) + " px, has " + std::to_string(need->available) +
                          " px");
    }
    return out;
}

const std::vector<std::string> kWindows = {"frmMain",    "frmLayout", "frmCutPlan", "frmPrint",
                                           "frmOptions", "frmDialog", "frminfo",    "frminfo2",
                                           "frmHistory", "frm3d",     "frmBoards",  "frmFit"};

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
    if (name == "frmFit") {
        win.openFit();
        return win.findChild<frmFit*>();
    }
    if (name == "frmLayout") { // a rectangular port: its board is the smallest panel of the sheet
        win.setModelListPosition(*findModelKey("pieces2"), 1);
        win.setModelListPosition(*findModelKey("ptype"), 1);
        for (const auto& [key, text] : {std::pair{"lp", "16,1"}, {"bp", "4"}, {"hp", "12"}})
            win.setModelText(*findModelKey(key), text);
    }
    auto* info = name.starts_with("frminfo") ? new frminfo(win.app(), &win, about) : nullptr;
    using W = QWidget*; // one type for every branch
    return name == "frmLayout"    ? W(new frmLayout(win.app(), win, &win))
           : name == "frmPrint"   ? W(new frmPrint(win, {}, &win))
           : name == "frmOptions" ? W(new frmOptions(win, win, &win))
           : name == "frmDialog"  ? W(new frmDialog(win, &win))
           : name == "frminfo"    ? W(info)
           : name == "frminfo2"   ? W(new frminfo2({"Kelvra", "Kelvra Boards"}, info, &win))
           : name == "frmHistory" ? W(new frmHistory(win.app(), &win))
           : name == "frm3d"      ? W(new frm3d(win.app(), win, &win))
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
    // "Dutch_imperial": the Dutch file with lengths in inches, where fractions make the longest numbers.
    const std::string setting = std::get<0>(GetParam());
    const bool imperial = setting.ends_with("_imperial");
    const std::string file = setting.substr(0, setting.find('_')) + "_lng.ini";
    std::filesystem::copy_file(std::filesystem::path(KELVRA_LANGUAGE_DIR) / file, folder / file);
    std::ofstream(folder / "kelvra.ini") << "[Settings]\nLanguage=0\nMeasure=" << imperial << "\n";
    RecordingMessageService messages;
    setMessageService(&messages);
    {
        frmMain win(AppPaths{folder.string(), "kelvra"}, ',');
        win.show();
        win.buttonHandler(
            ShowButton::Simulation); // the drawing's captions are at their longest with numbers in them
        if (imperial)                // 14 15/16"
            win.setModelText(*findModelKey("h2"), "37,94");
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
                         ::testing::Combine(::testing::Values("Dutch", "English", "Dutch_imperial"),
                                            ::testing::ValuesIn(kWindows)),
                         [](const auto& info) {
                             return std::get<0>(info.param) + "_" + std::get<1>(info.param);
                         });

} // namespace
