// Every input box of the main window given text that is no number, too big, too long or not even Latin
// letters, with simulation mode on: the program goes on, says what went wrong, and keeps the text.
#include "tests/support/BadInputFixture.h"

#include "calc/Numeric.h"
#include "persist/Ini.h"

#include <QTest>

#include <algorithm>

using namespace kelvra;
using namespace kelvra::badinput;

namespace
{

struct Box {
    const char* key;
    int index;        // of txtSize; -1 for txtVother
    int portType = 1; // the port's diameter box is enabled only with a round port (0)
};

// clang-format off
const Box kBoxes[] = {{"h2", 0}, {"l3", 1}, {"b2", 2}, {"ca", 3}, {"cb", 4}, {"lp", 5}, {"dp", 6, 0}, {"bp", 7},
                      {"hp", 8}, {"thick0", 9}, {"thick1", 10}, {"thick2", 11}, {"subvol", 12}, {"vother", -1}};
// clang-format on

// What a user can get into a box by typing or pasting; one with a right-to-left mark before the digits.
// clang-format off
const std::string kHostileTexts[] = {"abc", "-", ",", "1,2,3", "1e999", "99999999999999999999", "-40", "0", "Ölwanne",
                                     "\xE2\x80\x8F" "12", std::string(3000, '9')};
// clang-format on

// The recalculation's error and its negative-volume warning, and the woofer check of the front panel.
bool expectedMessage(const Message& m)
{
    return m.text.starts_with("There has been a error [") ||
           m.text == "Your sub is to big for the front plate" ||
           m.text.starts_with("Somethings wrong, you've got a negative volume");
}

} // namespace

TEST_F(BadInputTest, EveryBoxTakesHostileTextAndKeepsItForTheNextStart)
{
    const auto target = [this](const Box& b) {
        return qobject_cast<QLineEdit*>(b.index < 0 ? win->control("txtVother")
                                                    : win->control("txtSize", b.index));
    };
    start();
    win->setModelListPosition(*findModelKey("pieces2"), 1); // the boxes of the port need a port
    for (const Box& b : kBoxes) {
        SCOPED_TRACE(b.key);
        win->setModelListPosition(*findModelKey("ptype"), b.portType);
        QLineEdit* box = target(b);
        ASSERT_TRUE(box && box->isEnabled());
        const QString firstText = box->text();
        for (const std::string& text : kHostileTexts) {
            SCOPED_TRACE(text.substr(0, 20));
            box->setText(firstText); // back to a number the design calculates with, then simulation on
            if (!win->app().simulationOn)
                win->buttonHandler(ShowButton::Simulation);
            messages.messages.clear();
            box->setFocus();
            box->selectAll();
            if (text.size() < 40 && std::all_of(text.begin(), text.end(), [](char ch) { return ch > 0; }))
                QTest::keyClicks(box, QString::fromStdString(text));
            else
                box->insert(QString::fromStdString(text)); // a paste
            ASSERT_TRUE(win->isVisible());
            EXPECT_EQ(box->text().toStdString(), text);
            for (const Message& m : messages.messages)
                EXPECT_TRUE(expectedMessage(m)) << m.text;
            // An error switches simulation mode off, and says so.
            if (!win->app().simulationOn) {
                EXPECT_FALSE(messages.messages.empty());
            }
        }
        box->setText(firstText);
    }
    // The last text stays with the design: written at exit as typed. The woofer volume is written as its
    // number, so a number comes back in its shortest form; a text that is no number stays as typed.
    for (const Box& b : kBoxes)
        target(b)->setText(b.index == 12 ? "012,50" : "12,5x");
    quit();
    start();
    for (const Box& b : kBoxes) {
        const std::string stored =
            IniStore({programFolder.string(), "kelvra"}).ReadIni("LU", b.key, "<none>");
        EXPECT_EQ(stored, b.index == 12 ? "12,5" : "12,5x") << b.key;
        // Text that is no number comes back as the key's default, a number the design can use.
        EXPECT_TRUE(static_cast<bool>(toFixed(target(b)->text().toStdString(), ','))) << b.key;
    }
    EXPECT_EQ(target(kBoxes[12])->text(), "12,5");
}
