#pragma once

// Reads the expectation tables in tests/data/vocabulary: tab-separated, UTF-8, a header line,
// then one row per line. In a field, "\t" and "\n" stand for a tab and a line break.

#include <QStringList>

#include <gtest/gtest.h>

#include "TestDataTable.h"

#include <vector>

namespace VocabularyTest
{

/// The rows of a table, each with iColumns fields (any number when negative). With sKey, only the
/// rows whose first field is sKey, without that field.
inline std::vector<QStringList> ReadRows(const char* pszFile, int iColumns,
                                         const QString& sKey = QString())
{
    std::vector<QStringList> rows;
    for (QStringList fields :
         MdaTest::ReadDataTable(QStringLiteral("vocabulary/") + QLatin1String(pszFile), false))
    {
        if (!sKey.isNull() && fields.takeFirst() != sKey)
        {
            continue;
        }
        if (iColumns >= 0 && fields.size() != iColumns)
        {
            ADD_FAILURE() << pszFile << ": malformed row "
                          << fields.join(QLatin1Char('\t')).toStdString();
            continue;
        }
        for (QString& sField : fields)
        {
            sField.replace(QStringLiteral("\\t"), QStringLiteral("\t"))
                .replace(QStringLiteral("\\n"), QStringLiteral("\n"));
        }
        rows.push_back(fields);
    }
    if (rows.empty())
    {
        ADD_FAILURE() << pszFile << ": no rows for " << sKey.toStdString();
    }
    return rows;
}

} // namespace VocabularyTest
