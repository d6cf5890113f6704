#include "calc/Model.h"

namespace kelvra
{

namespace
{

// List numbers used by ModelKey::index for list keys.
enum ListNumber {
    kListSub = 0,
    kListPieces0,
    kListPieces1,
    kListPieces2,
    kListCorr,
    kListPwhere,
    kListPtype
};

constexpr std::array<ModelKey, 21> kKeys = {{
    {"h2", KeyKind::Text, 0},
    {"l3", KeyKind::Text, 1},
    {"b2", KeyKind::Text, 2},
    {"ca", KeyKind::Text, 3},
    {"cb", KeyKind::Text, 4},
    {"lp", KeyKind::Text, 5},
    {"dp", KeyKind::Text, 6},
    {"bp", KeyKind::Text, 7},
    {"hp", KeyKind::Text, 8},
    {"thick0", KeyKind::Text, 9},
    {"thick1", KeyKind::Text, 10},
    {"thick2", KeyKind::Text, 11},
    {"subvol", KeyKind::Text, 12},
    {"vother", KeyKind::Text, 13},
    {"sub", KeyKind::List, kListSub},
    {"pieces0", KeyKind::List, kListPieces0},
    {"pieces1", KeyKind::List, kListPieces1},
    {"pieces2", KeyKind::List, kListPieces2},
    {"corr", KeyKind::List, kListCorr},
    {"pwhere", KeyKind::List, kListPwhere},
    {"ptype", KeyKind::List, kListPtype},
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

std::string& textOf(ModelInputs& in, const ModelKey& key)
{
    return key.index == 13 ? in.txtVother : in.txtSize[static_cast<std::size_t>(key.index)];
}

const std::string& textOf(const ModelInputs& in, const ModelKey& key)
{
    return textOf(const_cast<ModelInputs&>(in), key);
}

int& listPosition(ModelInputs& in, const ModelKey& key)
{
    switch (key.index) {
    case kListSub:
        return in.sub;
    case kListPieces0:
    case kListPieces1:
    case kListPieces2:
        return in.pieces[static_cast<std::size_t>(key.index - kListPieces0)];
    case kListCorr:
        return in.corr;
    case kListPwhere:
        return in.pwhere;
    default:
        return in.ptype;
    }
}

int listPosition(const ModelInputs& in, const ModelKey& key)
{
    return listPosition(const_cast<ModelInputs&>(in), key);
}

int listSize(const ModelKey& key)
{
    switch (key.index) {
    case kListSub:
        return static_cast<int>(kSizeEntries.size());
    case kListPieces0:
    case kListPieces1:
    case kListPieces2:
        return kPiecesCount[static_cast<std::size_t>(key.index - kListPieces0)];
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
