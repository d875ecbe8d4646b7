#include "CShowCommand.h"

#include "CJudgedSession.h"
#include "CRDMatrixData.h"
#include "CSessionDigest.h"
#include "CTileLegend.h"
#include "CToolContext.h"

#include <QTextStream>

#include <cstdio>

using namespace LumoraMeasurement;

int CShowCommand::Run(const QStringList& arguments)
{
    CToolContext context(QStringLiteral("show"), QStringLiteral("SESSION"),
                         QStringLiteral("Prints the per-channel summary of a stored session, "
                                        "judged with the files it was measured with."));
    context.AddDatabaseOptions();
    context.AddSessionOptions();
    int iExit = 0;
    if (!context.Parse(arguments, 1, iExit))
    {
        return iExit;
    }
    CJudgedSession session;
    if (!context.OpenSession(session, iExit))
    {
        return iExit;
    }
    const long lSessionId = session.SessionId();
    QString sReason;
    context.Progress(QStringLiteral("judging session %1 ...").arg(lSessionId));
    CSessionDigest digest;
    if (!digest.Build(session, false, sReason))
    {
        context.Progress(QString());
        return context.Fail(sReason);
    }
    OrvelFramework::CRDMatrixData matrix;
    digest.CreateChannelMatrixData(session, matrix);
    context.Progress(QString());

    const CDBSessionData& data = session.Reader().Session();
    QString sSite;
    QString sTestPoint;
    data.GetSessionLocationData(sSite, sTestPoint);
    QTextStream out(stdout);
    out << QStringLiteral("Session %1 %2: %3\n")
               .arg(lSessionId)
               .arg(data.UniqueIdentifier(), data.Description());
    out << QStringLiteral("Site %1, test point %2; %3 scans from %4 to %5\n")
               .arg(sSite, sTestPoint)
               .arg(static_cast<long>(session.ScanIds().size()))
               .arg(data.FirstRun(), data.LastRun());
    out << "\n"
        << QStringLiteral("%1 %2 %3 %4  %5 %6\n")
               .arg(QStringLiteral("channel"), -24)
               .arg(QStringLiteral("judged"), 7)
               .arg(QStringLiteral("violations"), 10)
               .arg(QStringLiteral("errors"), 6)
               .arg(QStringLiteral("tile"), -38)
               .arg(QStringLiteral("first violation"));
    const auto& channels = digest.Channels();
    for (size_t r = 0; r < channels.size(); ++r)
    {
        const CSessionDigest::SChannel& channel = channels[r];
        const int iTile = static_cast<int>(r) < matrix.GetItemCount()
                              ? matrix.GetItem(static_cast<int>(r)).GetIndex()
                              : 1;
        QString sFirst = QStringLiteral("-");
        if (channel.m_lFirstViolationScan >= 0)
        {
            sFirst = QStringLiteral("scan %1 (%2): %3")
                         .arg(channel.m_lFirstViolationScan)
                         .arg(session.ScanTime(channel.m_lFirstViolationScan),
                              channel.m_sFirstViolation.simplified());
        }
        out << QStringLiteral("%1 %2 %3 %4  %5 %6\n")
                   .arg(session.ChannelName(static_cast<long>(r)), -24)
                   .arg(channel.m_lJudged, 7)
                   .arg(channel.m_lViolations, 10)
                   .arg(channel.m_lErrors, 6)
                   .arg(CTileLegend::Words(iTile), -38)
                   .arg(sFirst);
    }
    if (digest.OrphanRows() > 0)
    {
        out << QStringLiteral("\n%1 stored values belong to no channel of the table or to no "
                              "stored scan (see mda csv).\n")
                   .arg(digest.OrphanRows());
    }
    out.flush();
    return CToolContext::c_iExitOk;
}
