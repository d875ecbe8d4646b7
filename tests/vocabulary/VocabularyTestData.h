#pragma once

// Reads the expectation tables in tests/data/vocabulary: tab-separated, UTF-8, a header line,
// then one row per line. In a field, "\t" and "\n" stand for a tab and a line break.

#include "TestDataTable.h"

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
        const bool bKept = sKey.isNull() || fields.takeFirst() == sKey;
        const bool bWellFormed = iColumns < 0 || fields.size() == iColumns;
        EXPECT_TRUE(!bKept || bWellFormed)
            << pszFile << ": malformed row " << fields.join(QLatin1Char('\t')).toStdString();
        if (bKept && bWellFormed)
        {
            rows.push_back(fields.replaceInStrings(QStringLiteral("\\t"), QStringLiteral("\t"))
                               .replaceInStrings(QStringLiteral("\\n"), QStringLiteral("\n")));
        }
    }
    EXPECT_FALSE(rows.empty()) << pszFile << ": no rows for " << sKey.toStdString();
    return rows;
}

} // namespace VocabularyTest
