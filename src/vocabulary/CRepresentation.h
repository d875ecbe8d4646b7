#pragma once

#include "MainDataAccess_export.h"

#include "stEnumRepresentation.h"

#include <QList>

namespace LumoraMeasurement
{

/// The one representation table of enumeration E.
///
/// Each enumeration's translation unit specialises Table(), which builds the rows in a
/// function-local static on first use. m_lEnumRepresentation is bound to that table during
/// library load, so the table exists at load time, and a static constructor elsewhere that
/// reads a table before the library's own statics ran still finds it built.
template <typename E> class MDA_EXPORT CRepresentation
{
public:
    /// One row of the table.
    using Row = stEnumRepresentation<E>;
    /// The table: its rows in display order.
    using Table_t = QList<Row>;

    /// The table, built on first use.
    static const Table_t& Table();
    /// The table, bound when the library is loaded.
    static const Table_t& m_lEnumRepresentation;
};

} // namespace LumoraMeasurement

/// Declares the table of enumeration E (use in E's header, at global scope).
#define MDA_DECLARE_REPRESENTATION(E)                                                              \
    namespace LumoraMeasurement                                                                    \
    {                                                                                              \
    template <> const CRepresentation<E>::Table_t& CRepresentation<E>::Table();                    \
    template <> const CRepresentation<E>::Table_t& CRepresentation<E>::m_lEnumRepresentation;      \
    }

/// Defines the table of enumeration E from its rows, in table order (use in E's .cpp, at
/// global scope): MDA_DEFINE_REPRESENTATION(EOnOff, {eOn, 0, "On"}, {eOff, 1, "Off"})
#define MDA_DEFINE_REPRESENTATION(E, ...)                                                          \
    namespace LumoraMeasurement                                                                    \
    {                                                                                              \
    template <> const CRepresentation<E>::Table_t& CRepresentation<E>::Table()                     \
    {                                                                                              \
        static const Table_t s_lTable = MakeRepresentationTable<E>({__VA_ARGS__});                 \
        return s_lTable;                                                                           \
    }                                                                                              \
    template <>                                                                                    \
    const CRepresentation<E>::Table_t&                                                             \
        CRepresentation<E>::m_lEnumRepresentation = CRepresentation<E>::Table();                   \
    }

namespace LumoraMeasurement
{

/// One row as written in a table definition: enumerator, stored id, display text (UTF-8).
template <typename E> struct MDA_EXPORT stEnumRowLiteral
{
    /// The enumerator.
    E m_eEnumValue;
    /// The stored id.
    long m_lId;
    /// The display text, UTF-8.
    const char* m_pszText;
};

template <typename E>
QList<stEnumRepresentation<E>>
MakeRepresentationTable(std::initializer_list<stEnumRowLiteral<E>> rows)
{
    QList<stEnumRepresentation<E>> table;
    table.reserve(static_cast<int>(rows.size()));
    for (const auto& row : rows)
    {
        table.append({row.m_eEnumValue, row.m_lId, QString::fromUtf8(row.m_pszText)});
    }
    return table;
}

} // namespace LumoraMeasurement
