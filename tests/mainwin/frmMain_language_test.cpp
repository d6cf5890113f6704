// The shipped language files on the real main window: a first start stays Dutch, and English chosen in
// the Settings dialog translates the window without cutting a caption off.
#include "gui/common/MessageService.h"
#include "gui/lang/frmOptions.h"
#include "gui/main/FitLabel.h"
#include "gui/main/frmMain.h"
#include "tests/support/SeparatorText.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <span>

using namespace kelvra;

namespace
{

class FrmMainLanguageTest : public ::testing::TestWithParam<char>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        for (const char* name : {"Dutch_lng.ini", "English_lng.ini"})
            std::filesystem::copy_file(std::filesystem::path(KELVRA_LANGUAGE_DIR) / name,
                                       std::filesystem::path(dir.path().toStdString()) / name);
        setMessageService(&messages);
        win = std::make_unique<frmMain>(AppPaths{dir.path().toStdString(), "kelvra"}, GetParam());
        win->show();
    }
    void TearDown() override
    {
        win.reset();
        setMessageService(nullptr);
    }
    QString caption(const char* name, std::optional<int> i = std::nullopt)
    {
        return QString::fromStdString(win->property(name, i, ControlProperty::Caption).value_or("?"));
    }
    // Picks the language row in the Settings dialog opened from the menu and presses OK.
    void chooseLanguage(const QString& language)
    {
        QTimer::singleShot(0, [language] {
            auto* dialog = qobject_cast<frmOptions*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            const int row = dialog->cboLanguage()->findText(language);
            ASSERT_GE(row, 0) << language.toStdString();
            dialog->cboLanguage()->setCurrentIndex(row);
            dialog->cmdOK()->click();
        });
        win->findChild<QAction*>("mnuFileSettings")->trigger();
    }
    void expectNoCaptionCutOff()
    {
        for (int i = 0; i < 21; ++i) {
            auto* label = qobject_cast<FitLabel*>(win->control("Label1", i));
            ASSERT_NE(label, nullptr) << i;
            EXPECT_FALSE(label->elided()) << label->text().toStdString();
        }
    }

    QTemporaryDir dir;
    RecordingMessageService messages;
    std::unique_ptr<frmMain> win;
};

TEST_P(FrmMainLanguageTest, FirstStartStaysDutch)
{
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(caption("fraInfo"), "Algemene informatie");
    EXPECT_EQ(caption("Label1", 1), "Lengte onderzijde");
    EXPECT_EQ(caption("cmdShow", 2), "Simulatie");
    EXPECT_EQ(caption("mnuFileNOS", 1), "Open");
    EXPECT_EQ(qobject_cast<QComboBox*>(win->control("cmbPortType"))->itemText(1), "Rechthoekige");
    expectNoCaptionCutOff();
}

TEST_P(FrmMainLanguageTest, EnglishFromTheSettingsDialogTranslatesTheWindow)
{
    chooseLanguage("English");
    EXPECT_EQ(caption("fraInfo"), "General information");
    EXPECT_EQ(caption("fraResult"), "Result");
    EXPECT_EQ(caption("Label1", 1), "Bottom length");
    EXPECT_EQ(caption("Label1", 10), "Partition thickness");
    EXPECT_EQ(caption("lblUnit", 8), "litre");
    EXPECT_EQ(caption("cmdShow", 2), "Simulation");
    EXPECT_EQ(caption("Label2", 4), "Port");
    EXPECT_EQ(win->findChild<QAction*>("mnuFileNOS(1)")->text(), "&Open");
    EXPECT_EQ(win->findChild<QMenu*>("mnuWindow")->title(), "&Window");
    EXPECT_EQ(qobject_cast<QComboBox*>(win->control("cmbCorrection"))->itemText(2), "Damping wool");
    EXPECT_EQ(win->control("txtSize", 9)->toolTip(), "Usual: 9, 12, 18, 22, 30 mm");
    expectNoCaptionCutOff();

    // The tables are English too: the parameters message starts with the English entry.
    win->buttonHandler(1);
    ASSERT_NE(messages.last(), nullptr);
    EXPECT_EQ(messages.last()->text.rfind("The parameters being worked with:", 0), 0u);

    // Back to Dutch: every caption English named returns.
    chooseLanguage("Nederlands");
    EXPECT_EQ(caption("fraInfo"), "Algemene informatie");
    EXPECT_EQ(caption("Label1", 1), "Lengte onderzijde");
    EXPECT_EQ(caption("lblUnit", 8), "Liter");
    EXPECT_EQ(win->findChild<QAction*>("mnuFileNOS(1)")->text(), "Open");
}

// Every caption and hint text a language file may name, and every table entry: with English chosen,
// none may still be the Dutch design text, apart from texts that read the same in both languages.
TEST_P(FrmMainLanguageTest, EnglishLeavesNoDutchThatAFileCanTranslate)
{
    auto texts = [this] {
        std::map<std::string, std::string> all;
        for (QWidget* w : win->findChildren<QWidget*>())
            if (!w->objectName().isEmpty()) {
                const std::string name = w->objectName().toStdString();
                all[name] = win->property(name, std::nullopt, ControlProperty::Caption).value_or("");
                all[name + "_ttt"] = w->toolTip().toStdString();
            }
        for (QAction* a : win->findChildren<QAction*>())
            if (!a->objectName().isEmpty())
                all[a->objectName().toStdString()] = a->text().toStdString();
        const TextTables& t = win->app().tables;
        const std::pair<const char*, std::span<const std::string>> tables[] = {
            {"PortBox", t.portBox},
            {"CorrectionFact", t.correctionFact},
            {"MessageBox", t.messageBox},
            {"Options", t.options},
            {"PortType", t.portType}};
        for (const auto& [table, entries] : tables)
            for (std::size_t i = 0; i < entries.size(); ++i)
                all[std::string(table) + "(" + std::to_string(i) + ")"] = entries[i];
        return all;
    };
    const std::map<std::string, std::string> dutch = texts();
    chooseLanguage("English");
    const std::map<std::string, std::string> english = texts();
    // Units, measure names, the design's own result text and the captions it already writes in English.
    const std::set<std::string> same = {"",
                                        "cm",
                                        "mm",
                                        "°",
                                        "Volume: 0 Liter",
                                        "Type",
                                        "Diameter",
                                        "B1",
                                        "B2",
                                        "H2",
                                        "H3",
                                        "H4",
                                        "L3",
                                        "L4",
                                        "LP",
                                        "BP",
                                        "DP",
                                        "HP",
                                        "&File",
                                        "&Exit",
                                        "&3D Box",
                                        "Panel &Layout",
                                        "&Print",
                                        "&Help",
                                        "H&istory",
                                        "&Update site",
                                        "&Program topic (Dutch)",
                                        "Open &Calculator",
                                        "&About"};
    for (const auto& [key, text] : dutch) {
        if (!same.count(text)) {
            EXPECT_NE(english.at(key), text) << key << " is still Dutch";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Separators, FrmMainLanguageTest, ::testing::Values(',', '.'),
                         kelvra::test::SeparatorName());

} // namespace
