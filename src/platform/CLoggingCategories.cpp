#include "CLoggingCategories.h"

#include "CLoggingDataProvider.h"
#include "CSingleton.h"

namespace OrvelFramework
{

namespace
{
// Function-local statics: usable from other translation units' static initialisers.
const QLoggingCategory& Category(const char* pszName)
{
    // Never destroyed: the library may log while the process tears its statics down.
    return *new QLoggingCategory(pszName, QtWarningMsg);
}
} // namespace

const QLoggingCategory& CLoggingCategories::Platform()
{
    static const QLoggingCategory& s_Category = Category("mda.platform");
    return s_Category;
}

const QLoggingCategory& CLoggingCategories::Vocabulary()
{
    static const QLoggingCategory& s_Category = Category("mda.vocabulary");
    return s_Category;
}

const QLoggingCategory& CLoggingCategories::Config()
{
    static const QLoggingCategory& s_Category = Category("mda.config");
    return s_Category;
}

const QLoggingCategory& CLoggingCategories::Channels()
{
    static const QLoggingCategory& s_Category = Category("mda.channels");
    return s_Category;
}

const QLoggingCategory& CLoggingCategories::Database()
{
    static const QLoggingCategory& s_Category = Category("mda.database");
    return s_Category;
}

const QLoggingCategory& CLoggingCategories::Results()
{
    static const QLoggingCategory& s_Category = Category("mda.results");
    return s_Category;
}

const QLoggingCategory& CLoggingCategories::Exchange()
{
    static const QLoggingCategory& s_Category = Category("mda.exchange");
    return s_Category;
}

bool CLoggingCategories::IsLogged(const QLoggingCategory& category)
{
    return CLoggingDataProvider::m_bIsLoggingPossible.load() || category.isInfoEnabled();
}

void CLoggingCategories::DoLog(const QLoggingCategory& category, const QString& sMessage)
{
    if (CLoggingDataProvider::m_bIsLoggingPossible.load())
    {
        CSingleton<CLoggingDataProvider>::GetInstance().m_LoggingStream.AppendString(
            CLoggingDataProvider::CreateSimpleLogMsgWithTimeStamp(sMessage));
    }
    QString sLine = sMessage;
    while (sLine.endsWith(QLatin1Char('\n')))
    {
        sLine.chop(1);
    }
    qCInfo(category).noquote() << sLine;
}

} // namespace OrvelFramework
