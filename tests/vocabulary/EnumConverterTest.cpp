#include "CCategory.h"
#include "CEnumConverter.h"
#include "VocabularyTestData.h"

#include <functional>
#include <map>

using namespace LumoraMeasurement;
using VocabularyTest::ReadRows;
using C = CEnumConverter;

namespace
{

template <typename E> std::function<QString(int)> Writer(QString (*pfn)(E))
{
    return [pfn](int iValue) { return pfn(static_cast<E>(iValue)); };
}

template <typename E> std::function<int(const QString&)> Reader(E (*pfn)(const QString&))
{
    return [pfn](const QString& sText) { return static_cast<int>(pfn(sText)); };
}

template <typename R, typename A> std::function<int(int)> Code(R (*pfn)(A))
{
    return [pfn](int iCode) { return static_cast<int>(pfn(static_cast<A>(iCode))); };
}

} // namespace

// Each value written as its token; a token that reads back gives the value again, also in
// another letter case and inside a longer text. Category and channel type texts are compared
// exactly, the others searched for a token; each reader has its own fallback.
TEST(EnumConverter, TokensTextsAndCodes)
{
    const CCategory category;
    const std::map<QString, std::function<QString(int)>> writers = {
        {"ECategoryToString", Writer(&C::ECategoryToString)},
        {"GetCategoryAsString", [&category](int iValue)
         { return category.GetCategoryAsString(static_cast<ECategory>(iValue)); }},
        {"EAnalogGroupDelayToString", Writer(&C::EAnalogGroupDelayToString)},
        {"EAnalogSoundSystemToString", Writer(&C::EAnalogSoundSystemToString)},
        {"EColorSystemToString", Writer(&C::EColorSystemToString)},
        {"ETVStandardsToString", Writer(&C::ETVStandardsToString)},
    };
    const std::map<QString, std::function<int(const QString&)>> readers = {
        {"ECategoryToEnum", Reader(&C::ECategoryToEnum)},
        {"EAnalogGroupDelayToEnum", Reader<EAnalogGroupDelay>(&C::EAnalogGroupDelayToEnum)},
        {"EAnalogSoundSystemToEnum", Reader<EAnalogSoundSystem>(&C::EAnalogSoundSystemToEnum)},
        {"EColorSystemToEnum", Reader(&C::EColorSystemToEnum)},
        {"ETVStandardsToEnum", Reader(&C::ETVStandardsToEnum)},
        {"EChannelTypeToEnum", Reader<EChannelType>(&C::EChannelTypeToEnum)},
    };
    for (const QStringList& row : ReadRows("converter_tokens.tsv", 4))
    {
        SCOPED_TRACE((row[0] + " " + row[1]).toStdString());
        const int iValue = row[1].toInt();
        EXPECT_EQ(writers.at(row[0])(iValue), row[2]);
        if (row[3] == "1")
        {
            const auto& read = readers.at(QString(row[0]).replace("ToString", "ToEnum"));
            EXPECT_EQ(std::tuple(read(row[2]), read(row[2].toLower())), std::tuple(iValue, iValue));
            EXPECT_EQ(read("<" + row[2] + ">"), iValue);
        }
    }
    for (const QStringList& row : ReadRows("converter_texts.tsv", 3))
    {
        EXPECT_EQ(readers.at(row[0])(row[1]), row[2].toInt()) << row.join('|').toStdString();
    }

    // clang-format off
#define CODE(f) {#f, Code(&C::f)}
    const std::map<QString, std::function<int(int)>> converters = {
        {"EAnalogGroupDelayToEnum", Code<EAnalogGroupDelay, short>(&C::EAnalogGroupDelayToEnum)},
        {"EAnalogSoundSystemToEnum", Code<EAnalogSoundSystem, short>(&C::EAnalogSoundSystemToEnum)},
        {"EChannelTypeToEnum", Code<EChannelType, short>(&C::EChannelTypeToEnum)},
        CODE(ETVStandardsAnalogToEnum), CODE(ETVStandardsDigitalToEnum), CODE(EVideoStandardToEnum),
        CODE(ETestLineTypeToEnum), CODE(EAutoTPSToEnum), CODE(EChannelBandWidthToEnum),
        CODE(ERollOfFactorToEnum), CODE(ESideBandPositionToEnum), CODE(EQAMOrderToEnum),
        CODE(EChannelTypeToNumber),
    };
    // clang-format on
#undef CODE
    for (const QStringList& row : ReadRows("converter_codes.tsv", 3))
    {
        SCOPED_TRACE((row[0] + " " + row[1]).toStdString());
        EXPECT_EQ(converters.at(row[0])(row[1].toInt()), row[2].toInt());
    }
}
