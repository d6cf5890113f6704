// What the other windows may ask of the main window. frmMain implements it; the file dialog, the
// layouter, the options dialog and the print job use it, so they never depend on frmMain's internals.
#pragma once

#include "gui/common/AppState.h"
#include "gui/common/LayoutSheet.h"

#include <optional>
#include <string>
#include <string_view>

class QWidget;

namespace kelvra
{

class MainWindowHost
{
public:
    virtual ~MainWindowHost() = default;

    virtual AppState& app() = 0;
    virtual QWidget* window() = 0;

    // Puts a value into the control of a model key (a text for text keys, a list position for list
    // keys) exactly as a user's change would: the control's change handling runs, and with it the
    // recalculation while simulation mode is on.
    virtual void setModelText(const ModelKey& key, const std::string& text) = 0;
    virtual void setModelListPosition(const ModelKey& key, int position) = 0;

    // Runs the recalculation now, with the current simulation flag, and applies its result.
    virtual void runRecalculate() = 0;
    // The simulation flag alone, without the button's colour or caption (the Open command's
    // save-set-restore around one recalculation).
    virtual void setSimulationFlag(bool on) = 0;
    // While a whole design is put into the controls (Open, New) the woofer size check waits: the
    // values in between are no design of the user's.
    virtual void setLoading(bool) {}

    virtual void setCaption(const std::string& caption) = 0;
    virtual std::string caption() const = 0;

    // A control by its name and, for control arrays, its index ("txtSize", 9), as language files and
    // the print job address them; nullptr when there is none.
    virtual QWidget* control(std::string_view name, std::optional<int> index = std::nullopt) = 0;

    // Refills the three text-dependent lists from app().tables, keeping each list position.
    virtual void refillTextLists() = 0;
    // Shows every input, unit and result again in app().measure, after the options dialog changed it.
    virtual void applyMeasure() {}

    // Opens the builder's window of the boards, refused outside simulation mode like the layouter.
    // A host without that window (a test's stand-in) does nothing.
    virtual void openBoards() {}

    // The layouter's sheet for a layout print: the open layouter, or one loaded for the print. A host
    // without a layouter gives an empty access, and the print leaves the layout page out.
    virtual LayouterAccess layouterAccess() { return {}; }
};

} // namespace kelvra
