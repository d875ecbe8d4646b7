#pragma once

#include "MainDataAccess_export.h"

#include "CRepresentation.h"

#include <QStringList>

#include <type_traits>

namespace LumoraMeasurement
{

/// Lookups in the representation table of E. Every lookup scans from the first row and the
/// first match decides; nothing matching gives the documented fallback.
template <typename E, typename R = CRepresentation<E>> class MDA_EXPORT CEnumTemplate
{
public:
    /// The integer type of E.
    using Underlying = std::underlying_type_t<E>;

    /// The value one past the largest enumerator in the table: "none".
    static E Sentinel()
    {
        static const E s_eSentinel = ComputeSentinel();
        return s_eSentinel;
    }

    /// Display text of value; empty when no row has it.
    static QString ToString(E value)
    {
        for (const auto& row : R::Table())
        {
            if (static_cast<Underlying>(row.m_eEnumValue) == static_cast<Underlying>(value))
            {
                return row.m_sText;
            }
        }
        return QString();
    }

    /// Enumerator of the row with stored id; the sentinel when none.
    static E ToEnum(long id)
    {
        for (const auto& row : R::Table())
        {
            if (row.m_lId == id)
            {
                return row.m_eEnumValue;
            }
        }
        return Sentinel();
    }

    /// All display texts in row order.
    static QStringList ToStringList()
    {
        QStringList list;
        for (const auto& row : R::Table())
        {
            list.append(row.m_sText);
        }
        return list;
    }

    /// Display text of the row with stored id; empty when none.
    static QString IdToString(long id)
    {
        for (const auto& row : R::Table())
        {
            if (row.m_lId == id)
            {
                return row.m_sText;
            }
        }
        return QString();
    }

    /// Enumerator of the row whose text equals text exactly; the sentinel when none.
    static E TextToEnum(const QString& text)
    {
        for (const auto& row : R::Table())
        {
            if (row.m_sText == text)
            {
                return row.m_eEnumValue;
            }
        }
        return Sentinel();
    }

    /// Stored id of value; -1 when no row has it.
    static long ToId(E value)
    {
        for (const auto& row : R::Table())
        {
            if (static_cast<Underlying>(row.m_eEnumValue) == static_cast<Underlying>(value))
            {
                return row.m_lId;
            }
        }
        return -1;
    }

private:
    static E ComputeSentinel()
    {
        long largest = -1;
        for (const auto& row : R::Table())
        {
            largest = std::max<long>(largest, static_cast<long>(row.m_eEnumValue));
        }
        return static_cast<E>(largest + 1);
    }
};

} // namespace LumoraMeasurement
