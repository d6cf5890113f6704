// The recalculation: the model's inputs to derived measures, result captions, the drawing's labels
// and the parameter text.
#pragma once

#include "calc/Figure.h"
#include "calc/Message.h"
#include "calc/Model.h"
#include "lang/TextTables.h"

#include <optional>
#include <string>
#include <vector>

namespace kelvra
{

// The net volume in litres of the boards as they are built, when they can be; the calculator itself
// knows only its classic rule, so the layer above it hands this in.
using ExactNetVolumeFn = std::optional<double> (*)(const ModelInputs& model, char decimalSeparator);

struct RecalcInputs {
    ModelInputs model;
    // Texts of the selected entries of cmbSize and cmbPieces(0..2); empty when nothing is selected.
    std::string sizeText;
    std::array<std::string, 3> piecesText;
    bool simulationOn = false;
    char decimalSeparator = ',';
    const TextTables* tables = nullptr; // the built-in tables when null
    // The net volume shown and checked; the classic rule's figure where it is null or gives nothing.
    ExactNetVolumeFn exactNetVolume = nullptr;
};

// Fills the selected-entry texts from the list positions, as the window's fixed lists show them.
RecalcInputs makeRecalcInputs(const ModelInputs& model, bool simulationOn, char decimalSeparator,
                              const TextTables* tables = nullptr);

// Everything a recalculation writes and keeps until the next one.
struct CalcState {
    DerivedMeasures derived;
    std::string lblVolumeOut = "Volume: 0 Liter";
    std::string lblVolume = "Volume: 0 Liter";
    FigureState figure;
    std::string paramText;

    bool operator==(const CalcState&) const = default;
};

struct RecalcOutcome {
    std::vector<Message> messages;
    bool switchSimulationOff = false; // an error or refusal: the simulation toggle must run
    bool ranToEnd = false;
    std::optional<Fixed> netVolume;        // set once step 22 is reached: the figure the label shows
    std::optional<Fixed> classicNetVolume; // the classic rule's figure, set together with netVolume
    // The input box whose text did not read as a number ("txtSize(3)", "txtVother"), so the window
    // can point the user at it; empty when every text read.
    std::string unreadControl;
};

// Runs the steps in order on `state`; an early stop leaves what was written so far.
RecalcOutcome Recalculate(const RecalcInputs& inputs, CalcState& state);

struct RecalcResult {
    CalcState state;
    RecalcOutcome outcome;
};
// The same as a pure function of the previous state.
RecalcResult Recalculate(const RecalcInputs& inputs, const CalcState& previous);

// The program title that messages without a title of their own carry.
std::string programTitle();

} // namespace kelvra
