// The enclosure model: the inputs as the main window holds them and the derived measures.
#pragma once

#include "calc/Numeric.h"

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kelvra
{

// Fixed list contents; the three language-dependent lists take their texts from the text tables.
inline constexpr std::array<std::string_view, 6> kSizeEntries = {"6\"",  "8\"",  "10\"",
                                                                 "12\"", "15\"", "18\""};
inline constexpr std::array<int, 3> kPiecesFirst = {1, 0, 0};
inline constexpr std::array<int, 3> kPiecesCount = {10, 11, 6};
inline constexpr int kPortTypeCount = 2;
inline constexpr int kPortWhereCount = 5;
inline constexpr int kCorrectionCount = 3;

// The name of element `index` of a control array, as the design and the language files write it:
// "txtSize(9)".
std::string controlElementName(std::string_view name, int index);

// Entry text of a count list, or empty when the position selects nothing.
std::string piecesEntryText(int list, int position);
std::string sizeEntryText(int position);
// The maker's displacement of one woofer of a size-list position in litres; 0 for no known position.
double defaultWooferLitres(int sizePosition);

// The model's inputs exactly as the window's controls hold them: texts and list positions
// (-1 = nothing selected), by the names the settings and project files store them under.
struct ModelInputs {
    // The outer measures in cm and the rear-seat and front angles in degrees.
    std::string h2 = "40";
    std::string l3 = "40";
    std::string b2 = "40";
    std::string ca = "90";
    std::string cb = "90";
    // The port: length, diameter, width and height.
    std::string lp = "0";
    std::string dp = "0";
    std::string bp = "0";
    std::string hp = "0";
    // Board thicknesses in mm: the walls, the partitions and the port board.
    std::string thick0 = "18";
    std::string thick1 = "18";
    std::string thick2 = "18";
    // The woofers' own displacement and any other volume in litres.
    std::string subvol = "0";
    std::string vother = "0";
    int sub = 2;     // woofer size
    int pieces0 = 0; // woofer count, position 0 = one woofer
    int pieces1 = 0; // partition walls
    int pieces2 = 0; // ports
    int corr = 0;
    int pwhere = 0;
    int ptype = 0;

    bool operator==(const ModelInputs&) const = default;
};

// The first-run values, also what File > New restores.
inline ModelInputs firstRunInputs()
{
    return {};
}

enum class KeyKind { Text, List };

// One model key: its name in the files, its field and the control that holds it. This table is the only
// place where a field meets its control-array index.
struct ModelKey {
    std::string_view name;
    KeyKind kind;
    std::string ModelInputs::*text; // text keys
    int ModelInputs::*list;         // list keys
    // Text keys: the index of txtSize(index), or kVotherControl for txtVother. List keys: the list
    // number (see listSize), of which the pieces lists are cmbPieces(number - kPiecesList0).
    int control;
};
inline constexpr int kVotherControl = 13;
inline constexpr int kTxtSizeCount = 13;
inline constexpr int kPiecesList0 = 1;

// Every model key in the order of the enclosure model's field names.
std::span<const ModelKey> modelKeys();
const ModelKey* findModelKey(std::string_view name);
// The text key of txtSize(index) (kVotherControl: txtVother), or nullptr.
const ModelKey* textKeyOfControl(int index);
// The key of a text field.
const ModelKey& textKeyOf(std::string ModelInputs::*field);
// The list key of cmbPieces(index), or nullptr.
const ModelKey* piecesKey(int index);

// Access to a key's text (text keys) or list position (list keys).
std::string& textOf(ModelInputs& in, const ModelKey& key);
const std::string& textOf(const ModelInputs& in, const ModelKey& key);
int& listPosition(ModelInputs& in, const ModelKey& key);
int listPosition(const ModelInputs& in, const ModelKey& key);
// Number of entries of a list key's list.
int listSize(const ModelKey& key);

// Derived measures, all 0 before the first recalculation.
struct DerivedMeasures {
    std::array<std::int16_t, 3> thick{0, 0, 0};
    Fixed h2, l3, b2, lp, dp, bp, hp;
    Fixed innerHeight, innerLength, innerWidth;
    Fixed angleCa, angleCb;
    Fixed meanInnerWidth, topWidth, bottomWidth;
    Fixed slantCa, slantCb, offsetCa, offsetCb;
    Fixed partitionWidth;

    bool operator==(const DerivedMeasures&) const = default;
};

struct NamedMeasure {
    std::string_view name;
    Fixed DerivedMeasures::*member;
};
// The fixed-point derived measures by name, in the model's order.
std::span<const NamedMeasure> fixedMeasures();

// One placement text per board plus the spare one that only project files fill.
inline constexpr std::array<std::string_view, 8> kLayoutKeys = {"front", "rear",  "top",  "bottom",
                                                                "left",  "right", "port", "pwhere"};
// The boards beyond the seven that the layouter places under keys of their own: the partition walls
// and the strip that closes a slot port, in the order project files store them.
inline constexpr std::array<std::string_view, 11> kExtraLayoutKeys = {
    "partition1", "partition2", "partition3", "partition4",  "partition5", "partition6",
    "partition7", "partition8", "partition9", "partition10", "portstrip"};
struct LayoutStrings : std::array<std::string, 8> {
    std::map<std::string, std::string, std::less<>> extra; // by key of kExtraLayoutKeys; absent: none

    bool operator==(const LayoutStrings&) const = default;
};

// 90 degrees in the model's radians (pi is 3.14 here).
inline constexpr Fixed kRightAngle = Fixed::fromRaw(15700);

} // namespace kelvra
