// Every input box of the main window given text that is no number, too big, too long or not even
// Latin letters, with simulation mode on: the program goes on, says what went wrong, and keeps the text.
#include "tests/badinput/BadInputFixture.h"

#include "calc/Numeric.h"
#include "persist/Ini.h"

#include <QComboBox>
#include <QTest>

#include <algorithm>

using namespace kelvra;
using namespace kelvra::badinput;

namespace
{

struct Box {
    const char* control;
    int index; // -1 for a control without index
    const char* key;
    int portType = 1; // the port's diameter box is enabled only with a round port (0)
};

const Box kBoxes[] = {
    {"txtSize", 0, "h2"},      {"txtSize", 1, "l3"},        {"txtSize", 2, "b2"},
    {"txtSize", 3, "ca"},      {"txtSize", 4, "cb"},        {"txtSize", 5, "lp"},
    {"txtSize", 6, "dp", 0},   {"txtSize", 7, "bp"},        {"txtSize", 8, "hp"},
    {"txtSize", 9, "thick0"},  {"txtSize", 10, "thick1"},   {"txtSize", 11, "thick2"},
    {"txtSize", 12, "subvol"}, {"txtVother", -1, "vother"},
};

// What a user can get into a box by typing or pasting.
const std::string kHostileTexts[] = {
    "abc",
    "-",
    ",",
    "1,2,3",
    "1e999",
    "99999999999999999999",
    "-40",
    "0",
    "Ölwanne",
    "\xE2\x80\x8F"
    "12", // a right-to-left mark before the digits
    std::string(3000, '9'),
};

bool expectedMessage(const Message& m)
{
    // The recalculation's error and its negative-volume warning, and the woofer check of the front panel.
    return m.text.starts_with("There has been a error [") ||
           m.text == "Your sub is to big for the front plate" ||
           m.text.starts_with("Somethings wrong, you've got a negative volume");
}

class InputBoxTest : public BadInputTest, public ::testing::WithParamInterface<Box>
{
protected:
    QLineEdit* target()
    {
        const Box& b = GetParam();
        return qobject_cast<QLineEdit*>(b.index < 0 ? win->control(b.control)
                                                    : win->control(b.control, b.index));
    }
};

TEST_P(InputBoxTest, HostileTextKeepsTheProgramGoing)
{
    const Box& b = GetParam();
    start();
    // The boxes of the port are enabled only with a port, of the right shape.
    win->setModelListPosition(*findModelKey("pieces2"), 1);
    win->setModelListPosition(*findModelKey("ptype"), b.portType);
    QLineEdit* box = target();
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(box->isEnabled());
    const QString firstText = box->text();
    for (const std::string& text : kHostileTexts) {
        SCOPED_TRACE(text.substr(0, 20));
        // Back to a number the design calculates with, then simulation on.
        box->setText(firstText);
        if (!win->app().simulationOn)
            win->buttonHandler(2);
        messages.messages.clear();
        box->setFocus();
        box->selectAll();
        const bool ascii = std::all_of(text.begin(), text.end(), [](char ch) { return ch > 0; });
        if (text.size() < 40 && ascii)
            QTest::keyClicks(box, QString::fromStdString(text));
        else
            box->insert(QString::fromStdString(text)); // a paste
        ASSERT_TRUE(win->isVisible());
        EXPECT_EQ(box->text().toStdString(), text);
        for (const Message& m : messages.messages) {
            EXPECT_TRUE(expectedMessage(m)) << m.text;
        }
        // An error switches simulation mode off, and says so.
        if (!win->app().simulationOn) {
            EXPECT_FALSE(messages.messages.empty());
        }
    }
    // The last text stays with the design: written at exit as typed. The woofer volume is written as
    // its number, so a number comes back in its shortest form; a text that is no number stays as typed.
    const bool asNumber = std::string_view(b.key) == "subvol";
    if (asNumber) {
        box->setText("012,50");
        quit();
        EXPECT_EQ(IniStore({programFolder.string(), "kelvra"}).ReadIni("LU", b.key, "<none>"), "12,5");
        start();
        box = target(); // a new window
        EXPECT_EQ(box->text(), "12,5");
    }
    box->setText("12,5x");
    quit();
    const std::string stored = IniStore({programFolder.string(), "kelvra"}).ReadIni("LU", b.key, "<none>");
    EXPECT_EQ(stored, "12,5x");
    // Text that is no number comes back as the key's default, a number the design can use.
    start();
    EXPECT_TRUE(static_cast<bool>(toFixed(target()->text().toStdString(), ',')))
        << target()->text().toStdString();
}

INSTANTIATE_TEST_SUITE_P(EveryBox, InputBoxTest, ::testing::ValuesIn(kBoxes),
                         [](const auto& info) { return std::string(info.param.key); });

// Boxes emptied one after another while the design is calculated.
TEST_F(BadInputTest, EmptyBoxesRecalculateWithAMessageNotACrash)
{
    start();
    win->buttonHandler(2);
    for (int i = 0; i < 13; ++i) {
        if (!box(i)->isEnabled())
            continue;
        if (!win->app().simulationOn)
            win->buttonHandler(2);
        box(i)->clear();
        for (const Message& m : messages.messages)
            EXPECT_TRUE(expectedMessage(m)) << m.text;
    }
    quit();
    // Empty boxes remove their keys, so the next start shows the first-run values.
    start();
    EXPECT_EQ(box(0)->text(), "40");
    EXPECT_EQ(box(9)->text(), "18");
}

} // namespace
