#include "calc/Model.h"

namespace kelvra
{

namespace
{

// List numbers of the list keys, as listSize counts their entries.
enum ListNumber {
    kListSub = 0,
    kListPieces0 = kPiecesList0,
    kListPieces1,
    kListPieces2,
    kListCorr,
    kListPwhere,
    kListPtype
};

constexpr std::array<ModelKey, 21> kKeys = {{
    {"h2", KeyKind::Text, &ModelInputs::h2, nullptr, 0},
    {"l3", KeyKind::Text, &ModelInputs::l3, nullptr, 1},
    {"b2", KeyKind::Text, &ModelInputs::b2, nullptr, 2},
    {"ca", KeyKind::Text, &ModelInputs::ca, nullptr, 3},
    {"cb", KeyKind::Text, &ModelInputs::cb, nullptr, 4},
    {"lp", KeyKind::Text, &ModelInputs::lp, nullptr, 5},
    {"dp", KeyKind::Text, &ModelInputs::dp, nullptr, 6},
    {"bp", KeyKind::Text, &ModelInputs::bp, nullptr, 7},
    {"hp", KeyKind::Text, &ModelInputs::hp, nullptr, 8},
    {"thick0", KeyKind::Text, &ModelInputs::thick0, nullptr, 9},
    {"thick1", KeyKind::Text, &ModelInputs::thick1, nullptr, 10},
    {"thick2", KeyKind::Text, &ModelInputs::thick2, nullptr, 11},
    {"subvol", KeyKind::Text, &ModelInputs::subvol, nullptr, 12},
    {"vother", KeyKind::Text, &ModelInputs::vother, nullptr, kVotherControl},
    {"sub", KeyKind::List, nullptr, &ModelInputs::sub, kListSub},
    {"pieces0", KeyKind::List, nullptr, &ModelInputs::pieces0, kListPieces0},
    {"pieces1", KeyKind::List, nullptr, &ModelInputs::pieces1, kListPieces1},
    {"pieces2", KeyKind::List, nullptr, &ModelInputs::pieces2, kListPieces2},
    {"corr", KeyKind::List, nullptr, &ModelInputs::corr, kListCorr},
    {"pwhere", KeyKind::List, nullptr, &ModelInputs::pwhere, kListPwhere},
    {"ptype", KeyKind::List, nullptr, &ModelInputs::ptype, kListPtype},
}};

constexpr std::array<NamedMeasure, 20> kMeasures = {{
    {"h2", &DerivedMeasures::h2},
    {"l3", &DerivedMeasures::l3},
    {"b2", &DerivedMeasures::b2},
    {"lp", &DerivedMeasures::lp},
    {"dp", &DerivedMeasures::dp},
    {"bp", &DerivedMeasures::bp},
    {"hp", &DerivedMeasures::hp},
    {"innerHeight", &DerivedMeasures::innerHeight},
    {"innerLength", &DerivedMeasures::innerLength},
    {"innerWidth", &DerivedMeasures::innerWidth},
    {"angleCa", &DerivedMeasures::angleCa},
    {"angleCb", &DerivedMeasures::angleCb},
    {"meanInnerWidth", &DerivedMeasures::meanInnerWidth},
    {"topWidth", &DerivedMeasures::topWidth},
    {"bottomWidth", &DerivedMeasures::bottomWidth},
    {"slantCa", &DerivedMeasures::slantCa},
    {"slantCb", &DerivedMeasures::slantCb},
    {"offsetCa", &DerivedMeasures::offsetCa},
    {"offsetCb", &DerivedMeasures::offsetCb},
    {"partitionWidth", &DerivedMeasures::partitionWidth},
}};

} // namespace

std::string controlElementName(std::string_view name, int index)
{
    return std::string(name) + "(" + std::to_string(index) + ")";
}

std::string piecesEntryText(int list, int position)
{
    if (list < 0 || list > 2 || position < 0 || position >= kPiecesCount[static_cast<std::size_t>(list)])
        return {};
    return std::to_string(kPiecesFirst[static_cast<std::size_t>(list)] + position);
}

std::string sizeEntryText(int position)
{
    if (position < 0 || position >= static_cast<int>(kSizeEntries.size()))
        return {};
    return std::string(kSizeEntries[static_cast<std::size_t>(position)]);
}

double defaultWooferLitres(int sizePosition)
{
    static constexpr std::array<double, kSizeEntries.size()> kLitres = {1, 1.5, 2, 3, 5, 7};
    if (sizePosition < 0 || sizePosition >= static_cast<int>(kLitres.size()))
        return 0;
    return kLitres[static_cast<std::size_t>(sizePosition)];
}

std::span<const ModelKey> modelKeys()
{
    return kKeys;
}

const ModelKey* findModelKey(std::string_view name)
{
    for (const ModelKey& k : kKeys)
        if (k.name == name)
            return &k;
    return nullptr;
}

const ModelKey* textKeyOfControl(int index)
{
    for (const ModelKey& k : kKeys)
        if (k.kind == KeyKind::Text && k.control == index)
            return &k;
    return nullptr;
}

const ModelKey& textKeyOf(std::string ModelInputs::*field)
{
    for (const ModelKey& k : kKeys)
        if (k.text == field)
            return k;
    return kKeys.front(); // every text field has its key
}

const ModelKey* piecesKey(int index)
{
    for (const ModelKey& k : kKeys)
        if (k.kind == KeyKind::List && k.control == kPiecesList0 + index && index >= 0 && index < 3)
            return &k;
    return nullptr;
}

std::string& textOf(ModelInputs& in, const ModelKey& key)
{
    return in.*(key.text);
}

const std::string& textOf(const ModelInputs& in, const ModelKey& key)
{
    return in.*(key.text);
}

int& listPosition(ModelInputs& in, const ModelKey& key)
{
    return in.*(key.list);
}

int listPosition(const ModelInputs& in, const ModelKey& key)
{
    return in.*(key.list);
}

int listSize(const ModelKey& key)
{
    switch (key.control) {
    case kListSub:
        return static_cast<int>(kSizeEntries.size());
    case kListPieces0:
    case kListPieces1:
    case kListPieces2:
        return kPiecesCount[static_cast<std::size_t>(key.control - kListPieces0)];
    case kListCorr:
        return kCorrectionCount;
    case kListPwhere:
        return kPortWhereCount;
    default:
        return kPortTypeCount;
    }
}

std::span<const NamedMeasure> fixedMeasures()
{
    return kMeasures;
}

} // namespace kelvra
