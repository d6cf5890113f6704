// The help menu's outside programs: the update page and the forum topic in the web browser, and the
// desktop's calculator. The addresses are kept here and nowhere else.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace kelvra
{

// The maker's servers; both are names under a domain reserved for examples.
inline constexpr std::string_view kUpdateServer = "https://update.kelvra.example.org/";
inline constexpr std::string_view kForumServer = "https://forum.kelvra.example.org/";

// The update page for a short version text ("0.1.53"): ".../prg_update.php?p=14&v=0.1.53".
std::string updatePageUrl(std::string_view shortVersion);
// The program's forum topic: ".../showthread.php?t=74264".
std::string programTopicUrl();

// The calculators looked for, in this order; the first one found is started.
inline constexpr std::array<std::string_view, 6> kCalculatorPrograms = {
    "gnome-calculator", "kcalc", "galculator", "mate-calc", "qalculate-gtk", "xcalc"};

// The full path of the first calculator found in the given folders (the PATH when empty); empty
// when there is none.
std::string findCalculator(const std::vector<std::string>& searchFolders = {});

// How outside programs are started; tests put a recording one in place.
class ExternalStarter
{
public:
    virtual ~ExternalStarter() = default;
    virtual void openUrl(const std::string& url) = 0;
    virtual void startDetached(const std::string& program) = 0;
};

// Hands addresses to the desktop's browser and starts programs detached; failures are ignored.
class DesktopStarter : public ExternalStarter
{
public:
    void openUrl(const std::string& url) override;
    void startDetached(const std::string& program) override;
};

ExternalStarter& externalStarter();
void setExternalStarter(ExternalStarter* starter); // nullptr restores the desktop one

// The three commands. None of them reports a failed start.
void openUpdateSite();
void openProgramTopic();
void openCalculator();

} // namespace kelvra
