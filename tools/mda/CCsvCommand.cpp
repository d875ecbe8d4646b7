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
    CJudgedSession session;
    if (!context.OpenSession(session, iExit))
    {
        return iExit;
    }
    QString sReason;

    if (context.IsSet(QStringLiteral("classic")))
    {
        QFile file(sOutput);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        {
            return context.Fail(QStringLiteral("cannot write '") + sOutput + QStringLiteral("': ") +
                                file.errorString());
        }
        const bool bWritten =
            CMeasurementResultData::WriteCSVExport(session.Reader(), file, sReason) && file.flush();
        if (!bWritten)
        {
            if (sReason.isEmpty())
            {
                sReason = QStringLiteral("cannot write '") + sOutput + QStringLiteral("': ") +
                          file.errorString();
            }
            file.close();
            file.remove();
            return context.Fail(sReason);
        }
        return CToolContext::c_iExitOk;
    }

    CCsvWriter writer(sOutput);
    long lRows = 0;
    const auto progress = [&context](long lDone)
    { context.Progress(QStringLiteral("csv: %1 values").arg(lDone)); };
    if (!writer.Open(sReason) || !writer.Write(session, progress, lRows, sReason) ||
        !writer.Close(sReason))
    {
        context.Progress(QString());
        return context.Fail(sReason);
    }
    context.Progress(QString());
    return CToolContext::c_iExitOk;
}
