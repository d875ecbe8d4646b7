#include "CTableExportedChannelSettings.h"

namespace OrvelFramework
{

CTableExportedChannelSettings::CTableExportedChannelSettings(CDatabaseMultiInstance& db)
    : CTableBase(db)
{
}

bool CTableExportedChannelSettings::Create(const TableRows& row, long& lId)
{
    static const Columns s_Columns = {
        {&c_sColumnFile, false},
        {&c_sColumnHash, false},
        {&c_sColumnAdded, false},
    };
    return DoInsert(QStringLiteral("exported_channel_settings"), s_Columns, row, lId,
                    QStringLiteral("Cannot store the channel table file"));
}

TableRows CTableExportedChannelSettings::Get(const QString& sKey)
{
    TableRows rows;
    bool bOk = false;
    const qlonglong llId = sKey.trimmed().toLongLong(&bOk);
    if (!bOk)
    {
        m_Db.Fail(QStringLiteral("No channel table file is stored under '%1'").arg(sKey.left(40)));
        return rows;
    }
    DoSelect(QStringLiteral("SELECT file, hash, added FROM exported_channel_settings WHERE id = ?"),
             {llId}, {&c_sColumnFile, &c_sColumnHash, &c_sColumnAdded}, rows,
             QStringLiteral("Cannot read the channel table file %1").arg(llId));
    return rows;
}

bool CTableExportedChannelSettings::FindFile(const QString& sHash, const QString& sFile, long& lId)
{
    // The hash narrows the search; the content decides, so two files never share a row by a
    // hash collision.
    return DoSelectNumber(
        QStringLiteral("SELECT MIN(id) FROM exported_channel_settings WHERE hash = ? AND file = ?"),
        {sHash, sFile}, 0, lId, QStringLiteral("Cannot search the registered channel table files"));
}

} // namespace OrvelFramework
