#pragma once

#include "MainDataAccess_export.h"

#include "CEnumFilter.h"
#include "CEnumTemplate.h"
#include "ETVStandards.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>

namespace LumoraMeasurement
{

/// Base of the filters that admit entries of enumeration E by the channel's TV standard. A
/// derived filter hands over its admission table: each row names a set of standards and the
/// entries those standards offer; a standard in no row offers nothing.
template <typename E> class MDA_EXPORT CStandardEnumFilter : public CEnumFilter
{
public:
    /// One row of an admission table, both sets as bit masks over enumerator values.
    struct SAdmission
    {
        /// The standards of the row.
        std::uint32_t m_uStandards;
        /// The entries those standards offer.
        std::uint64_t m_uEntries;
    };

    /// The mask of a set of entries (enumerator values of E).
    static constexpr std::uint64_t Entries(std::initializer_list<int> values)
    {
        std::uint64_t uMask = 0;
        for (int iValue : values)
        {
            uMask |= std::uint64_t{1} << iValue;
        }
        return uMask;
    }

    /// The mask of a set of TV standards.
    static constexpr std::uint32_t Standards(std::initializer_list<ETVStandards> standards)
    {
        std::uint32_t uMask = 0;
        for (ETVStandards eStandard : standards)
        {
            uMask |= std::uint32_t{1} << eStandard;
        }
        return uMask;
    }

    /// The analogue standards.
    static constexpr std::uint32_t c_uAnalogStandards =
        Standards({eTVStandard_BG_Pal, eTVStandard_BG_Secam, eTVStandard_DK_Pal,
                   eTVStandard_DK_Secam, eTVStandard_I_Pal, eTVStandard_K1_Secam, eTVStandard_M_Pal,
                   eTVStandard_M_NTSC, eTVStandard_N_Pal});
    /// The J.83 cable standards.
    static constexpr std::uint32_t c_uCableStandards =
        Standards({eTVStandard_J83A, eTVStandard_J83B, eTVStandard_J83C});
    /// The DOCSIS 3.0 standards.
    static constexpr std::uint32_t c_uDocsis30Standards =
        Standards({eTVStandard_EuroDOCSIS30, eTVStandard_DOCSIS30, eTVStandard_DOCSIS30_J83C});
    /// Every DOCSIS standard.
    static constexpr std::uint32_t c_uDocsisStandards =
        c_uDocsis30Standards | Standards({eTVStandard_DOCSIS31});

    /// The channel's TV standard the filter admits entries for.
    ETVStandards GetTvStandard() const { return m_eStandard; }

    /// True when the entry with stored id lId is offered for the TV standard; false for an id
    /// without a row.
    bool IsUsable(long lId) const override
    {
        // Ids without a row convert to the sentinel, which no admission table lists.
        const int iEntry = static_cast<int>(CEnumTemplate<E>::ToEnum(lId));
        const int iStandard = static_cast<int>(m_eStandard);
        if (iEntry < 0 || iEntry >= 64 || iStandard < 0 || iStandard >= 32)
        {
            return false;
        }
        for (std::size_t i = 0; i < m_nRows; ++i)
        {
            if (m_pRows[i].m_uStandards & (std::uint32_t{1} << iStandard))
            {
                return (m_pRows[i].m_uEntries & (std::uint64_t{1} << iEntry)) != 0;
            }
        }
        return false;
    }

protected:
    /// A filter for eStandard over the nRows rows at pRows (a static table of the derived
    /// filter, which outlives it).
    CStandardEnumFilter(ETVStandards eStandard, const SAdmission* pRows, std::size_t nRows)
        : m_eStandard(eStandard), m_pRows(pRows), m_nRows(nRows)
    {
    }

private:
    ETVStandards m_eStandard;
    const SAdmission* m_pRows;
    std::size_t m_nRows;
};

} // namespace LumoraMeasurement
