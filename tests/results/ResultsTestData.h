#pragma once

// Reference tables of the result tests, kept as tab-separated files in the test data.

#include <QFile>
#include <QStringList>

#include <gtest/gtest.h>

#include "TestDataTable.h"

namespace ResultsTestData
{

/// The rows of a table in the results test data, without its header line.
inline QList<QStringList> ReadTable(const QString& sName)
{
    const std::vector<QStringList> rows =
        MdaTest::ReadDataTable(QStringLiteral("results/") + sName);
    return QList<QStringList>(rows.begin(), rows.end());
}

} // namespace ResultsTestData
