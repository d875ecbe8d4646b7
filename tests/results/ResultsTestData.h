#pragma once

// Reference tables of the result tests, kept as tab-separated files in the test data.

#include <QFile>
#include <QStringList>

#include <gtest/gtest.h>

namespace ResultsTestData
{

/// The rows of a table in the results test data, without its header line.
inline QList<QStringList> ReadTable(const QString& sName)
{
    QFile file(MDA_TEST_DATA_DIR "/results/" + sName);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << sName.toStdString();
    QList<QStringList> rows;
    for (const QString& sLine : QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts))
    {
        rows << sLine.split('\t');
    }
    return rows.mid(1);
}

} // namespace ResultsTestData
