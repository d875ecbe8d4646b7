#include "CCsvCommand.h"

#include "CCsvWriter.h"
#include "CJudgedSession.h"
#include "CMeasurementResultData.h"
#include "CToolContext.h"

#include <QFile>

using namespace LumoraMeasurement;

int CCsvCommand::Run(const QStringList& arguments)
{
    CToolContext context(
        QStringLiteral("csv"), QStringLiteral("SESSION"),
        QStringLiteral("Writes a stored session as CSV (RFC 4180, UTF-8, CRLF): a header line, "
                       "then one row per stored value with its judgement."));
    context.AddDatabaseOptions();
    context.AddSessionOptions();
    context.Parser().addOption(QCommandLineOption({QStringLiteral("o"), QStringLiteral("output")},
                                                  QStringLiteral("The CSV file to write."),
                                                  QStringLiteral("file")));
    context.Parser().addOption(QCommandLineOption(
        QStringLiteral("classic"),
        QStringLiteral("Write the application's own export lines instead: the session line, "
                       "then one line per stored value.")));
    int iExit = 0;
    if (!context.Parse(arguments, 1, iExit))
    {
        return iExit;
    }
    const QString sOutput = context.Value(QStringLiteral("o"));
    if (sOutput.isEmpty())
    {
        return context.Fail(QStringLiteral("-o FILE is required"));
    }
    OrvelFramework::CDatabaseMultiInstance db;
    CJudgedSession session(context, db);
    if (!context.OpenSession(db, session, iExit))
    {
        return iExit;
    }
    const long lSessionId = session.SessionId();
    QString sReason;

    if (context.IsSet(QStringLiteral("classic")))
    {
        CMeasurementResultData model(lSessionId, eLevelUnit_dBuV);
        if (!model.LoadData(session.Config()))
        {
            return context.Fail(QStringLiteral("cannot load session %1: %2")
                                    .arg(lSessionId)
                                    .arg(model.LastError()));
        }
        QFile file(sOutput);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        {
            return context.Fail(
                QStringLiteral("cannot write '%1': %2").arg(sOutput, file.errorString()));
        }
        const bool bWritten = model.WriteCSVExport(file);
        file.close();
        if (!bWritten && file.error() == QFileDevice::NoError)
        {
            return context.Fail(QStringLiteral("cannot read session %1: %2")
                                    .arg(lSessionId)
                                    .arg(model.GetDatabase().LastError()));
        }
        if (file.error() != QFileDevice::NoError)
        {
            return context.Fail(
                QStringLiteral("cannot write '%1': %2").arg(sOutput, file.errorString()));
        }
        return CToolContext::c_iExitOk;
    }

    const long lTotal = context.IsProgressShown() ? session.CountRows() : -1;
    CCsvWriter writer(sOutput);
    long lRows = 0;
    const auto progress = [&context, lTotal](long lDone)
    {
        context.Progress(lTotal > 0 ? QStringLiteral("csv: %1 of %2 values").arg(lDone).arg(lTotal)
                                    : QStringLiteral("csv: %1 values").arg(lDone));
    };
    if (!writer.Open(sReason) || !writer.Write(session, progress, lRows, sReason) ||
        !writer.Close(sReason))
    {
        context.Progress(QString());
        return context.Fail(sReason);
    }
    context.Progress(QString());
    return CToolContext::c_iExitOk;
}
