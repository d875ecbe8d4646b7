#include "CStationMonitor.h"

#include "CDatabaseMultiInstance.h"
#include "CLoggingDataProvider.h"
#include "CSingleton.h"
#include "CUtilJson.h"
#include "ETVStandards.h"
#include <MainDataAccess/CConverter.h>
#include <MainDataAccess/EUnitTypes.h>

#include <QCoreApplication>
#include <QJsonObject>
#include <QTemporaryDir>

#include <cstdio>

// Exit code 0 when the signal carried the library's text and an SQLite database opened.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (QT_VERSION_MAJOR != MDA_EXPECTED_QT_MAJOR)
    {
        std::fprintf(stderr, "built with Qt %d, the package names Qt %d\n", QT_VERSION_MAJOR,
                     MDA_EXPECTED_QT_MAJOR);
        return 1;
    }
    CStationMonitor monitor;
    QString sNamed;
    QObject::connect(&monitor, &CStationMonitor::standardNamed,
                     [&sNamed](const QString& sText) { sNamed = sText; });
    QMetaObject::invokeMethod(&monitor, "nameStandard",
                              Q_ARG(int, LumoraMeasurement::eTVStandard_DVBT2));
    if (sNamed != QStringLiteral("DVB-T2 (digital)"))
    {
        std::fprintf(stderr, "signal carried \"%s\"\n", qPrintable(sNamed));
        return 1;
    }

    QTemporaryDir folder;
    OrvelFramework::CDatabaseMultiInstance db(folder.filePath(QStringLiteral("client.sqlite")),
                                              QString(), QString());
    if (!db.Open())
    {
        std::fprintf(stderr, "database: %s\n", qPrintable(db.LastError()));
        return 1;
    }
    // The same installed tree serves the prefixed form of include.
    if (LumoraMeasurement::CConverter::GetUnitString(LumoraMeasurement::eUnitType_dBuV) !=
        QStringLiteral("dBuV"))
    {
        std::fprintf(stderr, "unit text wrong\n");
        return 1;
    }
    // The library's log and the one the program reaches are the same object: hidden
    // visibility must not give each side its own singleton.
    using OrvelFramework::CLoggingDataProvider;
    OrvelFramework::CLoggingStream& log =
        OrvelFramework::CSingleton<CLoggingDataProvider>::GetInstance().m_LoggingStream;
    log.ClearMessages();
    QJsonObject jObject;
    const QString sMissing = folder.filePath(QStringLiteral("missing.json"));
    if (LumoraMeasurement::CUtilJson::LoadJsonFile(sMissing, jObject) ||
        log.GetMessages().size() != 1 ||
        !log.GetMessages().constFirst().endsWith(
            QStringLiteral("Could not load JSON file: %1.\n").arg(sMissing)))
    {
        std::fprintf(stderr, "the library's log is not the program's: %s\n",
                     qPrintable(log.GetMessages().join(QLatin1Char('|'))));
        return 1;
    }
    std::printf("consumer: %s, database open\n", qPrintable(sNamed));
    return 0;
}
