#include "CTableCursor.h"

#include "CDatabaseMultiInstance.h"

#include <QSqlError>
#include <QSqlQuery>

#ifdef MDA_HAVE_SQLITE3
#include <QSqlDriver>
#include <QSqlResult>

#include <sqlite3.h>

#include <atomic>
#endif

#include <algorithm>

namespace OrvelFramework
{

namespace
{

#ifdef MDA_HAVE_SQLITE3
// Whether Qt's SQLite driver runs on the SQLite library linked here: only then may one of its
// statements be stepped here. A driver with a SQLite of its own is left to read as it does.
bool IsSameSqlite(CDatabaseMultiInstance& db)
{
    // 0 not known yet, 1 the same, 2 another: the driver is loaded once per process.
    static std::atomic<int> s_iSame{0};
    if (s_iSame.load() == 0)
    {
        QSqlQuery* pVersion = db.GetPreparedQuery(QStringLiteral("SELECT sqlite_version()"));
        if (pVersion == nullptr || !pVersion->exec() || !pVersion->next())
        {
            return false;
        }
        const bool bSame = pVersion->value(0).toString() == QLatin1String(sqlite3_libversion());
        pVersion->finish();
        s_iSame.store(bSame ? 1 : 2);
    }
    return s_iSame.load() == 1;
}

// The driver's statement under an executed query, when SQLite runs it.
sqlite3_stmt* DriverStatement(CDatabaseMultiInstance& db, const QSqlQuery& query)
{
    const QSqlResult* pResult = query.result();
    if (pResult == nullptr)
    {
        return nullptr;
    }
    const QVariant handle = pResult->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3_stmt*") != 0 || !IsSameSqlite(db))
    {
        return nullptr;
    }
    return *static_cast<sqlite3_stmt* const*>(handle.constData());
}
#endif

} // namespace

CTableCursor::CTableCursor(CDatabaseMultiInstance& db) : m_Db(db) {}

CTableCursor::~CTableCursor()
{
    if (m_pQuery != nullptr)
    {
        m_pQuery->finish();
    }
}

bool CTableCursor::Open(const QString& sStatement, const QVariantList& values,
                        const std::function<QString()>& what)
{
    Finish();
    QSqlQuery* pQuery = m_Db.ExecutePrepared(sStatement, values, what);
    if (pQuery == nullptr)
    {
        return false;
    }
    m_pQuery = pQuery;
    m_What = what;
#ifdef MDA_HAVE_SQLITE3
    m_pStatement = DriverStatement(m_Db, *m_pQuery);
    if (m_pStatement != nullptr)
    {
        // The driver's execution took the first step: the statement stands on the first row,
        // or was reset after the last one when there is none.
        m_bOnFirstRow = sqlite3_stmt_busy(m_pStatement) != 0;
        m_bDone = !m_bOnFirstRow;
    }
#endif
    return true;
}

bool CTableCursor::Next()
{
#ifdef MDA_HAVE_SQLITE3
    if (m_pStatement != nullptr)
    {
        if (m_bOnFirstRow)
        {
            m_bOnFirstRow = false;
            return true;
        }
        // A step after the end would start the statement over.
        if (m_bDone)
        {
            return false;
        }
        const int iResult = sqlite3_step(m_pStatement);
        if (iResult == SQLITE_ROW)
        {
            return true;
        }
        m_bDone = true;
        if (iResult != SQLITE_DONE)
        {
            // Worded as the driver words a failed fetch.
            sqlite3* pHandle = sqlite3_db_handle(m_pStatement);
            m_sStepError = QString(reinterpret_cast<const QChar*>(sqlite3_errmsg16(pHandle))) +
                           QStringLiteral(" Unable to fetch row");
        }
        return false;
    }
#endif
    return m_pQuery != nullptr && m_pQuery->next();
}

QVariant CTableCursor::Value(int i) const
{
#ifdef MDA_HAVE_SQLITE3
    if (m_pStatement != nullptr)
    {
        // The values the driver would make of the columns.
        switch (sqlite3_column_type(m_pStatement, i))
        {
        case SQLITE_INTEGER:
            return QVariant(static_cast<qlonglong>(sqlite3_column_int64(m_pStatement, i)));
        case SQLITE_FLOAT:
            return QVariant(sqlite3_column_double(m_pStatement, i));
        case SQLITE_NULL:
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
            return QVariant(QMetaType::fromType<QString>());
#else
            return QVariant(QVariant::String);
#endif
        case SQLITE_BLOB:
            return QByteArray(static_cast<const char*>(sqlite3_column_blob(m_pStatement, i)),
                              sqlite3_column_bytes(m_pStatement, i));
        default:
        {
            // Text of plain ASCII (almost every stored text) reads as it is stored; any other
            // goes through SQLite's own conversion, as the driver takes it. The bytes are taken
            // as stored (a blob read converts nothing).
            const auto* pUtf8 =
                static_cast<const unsigned char*>(sqlite3_column_blob(m_pStatement, i));
            const int iBytes = sqlite3_column_bytes(m_pStatement, i);
            if (iBytes == 0)
            {
                return QString(QLatin1String("")); // empty, not null: NULL is the null text
            }
            if (std::all_of(pUtf8, pUtf8 + iBytes,
                            [](unsigned char c) { return c != 0 && c < 0x80; }))
            {
                return QString::fromLatin1(reinterpret_cast<const char*>(pUtf8), iBytes);
            }
            const void* pText = sqlite3_column_text16(m_pStatement, i);
            return QString(static_cast<const QChar*>(pText),
                           sqlite3_column_bytes16(m_pStatement, i) / int(sizeof(QChar)));
        }
        }
    }
#endif
    return m_pQuery->value(i);
}

bool CTableCursor::WholeNumber(int i, qint64& llValue) const
{
#ifdef MDA_HAVE_SQLITE3
    if (m_pStatement != nullptr)
    {
        if (sqlite3_column_type(m_pStatement, i) != SQLITE_INTEGER)
        {
            return false;
        }
        llValue = sqlite3_column_int64(m_pStatement, i);
        return true;
    }
#else
    Q_UNUSED(i);
    Q_UNUSED(llValue);
#endif
    return false;
}

namespace
{

// A session holds tens of thousands of distinct level texts (a few units times the levels with
// two decimals). More slots share more of them but leave the processor's cache: 2^14 loaded a
// million values faster than 2^12 or 2^17 and grows evenly.
constexpr size_t c_uSharedSlots = size_t(1) << 14;
constexpr int c_iLongestShared = 64;

// FNV-1a over the text's bytes (or characters): cheap for the short texts that are shared.
template <typename T> size_t TextHash(const T* pText, int iLength)
{
    size_t uHash = 14695981039346656037ull;
    for (int i = 0; i < iLength; ++i)
    {
        uHash = (uHash ^ static_cast<size_t>(pText[i])) * 1099511628211ull;
    }
    return uHash;
}

} // namespace

QString CTableCursor::Text(int i, bool bShare)
{
    const auto slot = [this](size_t uHash) -> size_t
    {
        if (m_aShared.empty())
        {
            m_aShared.resize(c_uSharedSlots);
        }
        return uHash & (c_uSharedSlots - 1);
    };
#ifdef MDA_HAVE_SQLITE3
    if (m_pStatement != nullptr && bShare && sqlite3_column_type(m_pStatement, i) == SQLITE_TEXT)
    {
        // A short ASCII text is looked up by its stored bytes: one met before costs no copy. The
        // hash only picks the slot; the text itself decides.
        // The stored bytes as they are: no conversion, so that the text16 read below sees the value
        // untouched.
        const auto* pUtf8 = static_cast<const unsigned char*>(sqlite3_column_blob(m_pStatement, i));
        const int iBytes = sqlite3_column_bytes(m_pStatement, i);
        if (iBytes > 0 && iBytes <= c_iLongestShared &&
            std::all_of(pUtf8, pUtf8 + iBytes, [](unsigned char c) { return c != 0 && c < 0x80; }))
        {
            const size_t uSlot = slot(TextHash(pUtf8, iBytes));
            QString& sSlot = m_aShared[uSlot];
            const QLatin1String sStored(reinterpret_cast<const char*>(pUtf8), iBytes);
            if (sSlot != sStored)
            {
                sSlot = sStored;
            }
            return sSlot;
        }
    }
#endif
    QString sText = Value(i).toString();
    // Empty texts cost nothing, and a null text must stay null.
    if (bShare && !sText.isEmpty() && sText.size() <= c_iLongestShared)
    {
        const size_t uSlot = slot(TextHash(sText.utf16(), sText.size()));
        QString& sSlot = m_aShared[uSlot];
        if (sSlot != sText)
        {
            sSlot = sText;
        }
        return sSlot;
    }
    return sText;
}

bool CTableCursor::Finish()
{
    if (m_pQuery == nullptr)
    {
        return true;
    }
    const QSqlError error = m_pQuery->lastError();
    const QString sStepError = m_sStepError;
    // Releases the read snapshot at once, so the file's log can be checkpointed.
    m_pQuery->finish();
    m_pQuery = nullptr;
    m_pStatement = nullptr;
    m_sStepError.clear();
    if (!sStepError.isEmpty())
    {
        return m_Db.Fail(m_What() + QStringLiteral(": ") + sStepError.trimmed());
    }
    if (error.isValid())
    {
        return m_Db.Fail(m_What() + QStringLiteral(": ") + error.text().trimmed());
    }
    return true;
}

} // namespace OrvelFramework
