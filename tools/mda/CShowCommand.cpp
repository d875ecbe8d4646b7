#include "CShowCommand.h"

#include "CJudgedSession.h"
#include "CRDMatrixData.h"
#include "CSessionDigest.h"
#include "CTerminalText.h"
#include "CTileLegend.h"
#include "CToolContext.h"

#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace LumoraMeasurement;

namespace
{

const int c_iNameWidth = 24;
const int c_iTileWidth = 38;

QString Shown(const QString& sText)
{
    return CTerminalText::Escaped(sText);
}

// One line of the table: names and tiles left-aligned to the widest, the counts right-aligned.
QString Line(int iNameWidth, int iTileWidth, const QString& sName, const QString& sJudged,
             const QString& sViolations, const QString& sErrors, const QString& sTile,
             const QString& sFirst)
{
    return sName.leftJustified(iNameWidth) + QLatin1Char(' ') + sJudged.rightJustified(7) +
           QLatin1Char(' ') + sViolations.rightJustified(10) + QLatin1Char(' ') +
           sErrors.rightJustified(6) + QStringLiteral("  ") + sTile.leftJustified(iTileWidth) +
           QLatin1Char(' ') + sFirst + QLatin1Char('\n');
}

} // namespace

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
    context.Progress(QStringLiteral("judging session ") + QString::number(lSessionId) +
                     QStringLiteral(" ..."));
    CSessionDigest digest;
    if (!digest.Build(session, false, sReason))
    {
        context.Progress(QString());
        return context.Fail(sReason);
    }
    OrvelFramework::CRDMatrixData matrix;
    if (!digest.CreateChannelMatrixData(session, matrix, sReason))
    {
        context.Progress(QString());
        return context.Fail(sReason);
    }
    context.Progress(QString());

    const CDBSessionData& data = session.Reader().Session();
    QString sSite;
    QString sTestPoint;
    data.GetSessionLocationData(sSite, sTestPoint);
    // Texts from the database are concatenated, never substituted: a "%1" in a name stays
    // what it is.
    QTextStream out(stdout);
    out << QStringLiteral("Session ") << lSessionId << ' ' << Shown(data.UniqueIdentifier())
        << QStringLiteral(": ") << Shown(data.Description()) << '\n';
    out << QStringLiteral("Site ") << Shown(sSite) << QStringLiteral(", test point ")
        << Shown(sTestPoint) << QStringLiteral("; ") << static_cast<long>(session.ScanIds().size())
        << QStringLiteral(" scans from ") << Shown(data.FirstRun()) << QStringLiteral(" to ")
        << Shown(data.LastRun()) << '\n';

    const auto& channels = digest.Channels();
    std::vector<QString> vNames;
    std::vector<QString> vTiles;
    int iNameWidth = c_iNameWidth;
    int iTileWidth = c_iTileWidth;
    for (size_t r = 0; r < channels.size(); ++r)
    {
        const int iTile = static_cast<int>(r) < matrix.GetItemCount()
                              ? matrix.GetItem(static_cast<int>(r)).GetIndex()
                              : 1;
        vNames.push_back(Shown(session.ChannelName(static_cast<long>(r))));
        vTiles.push_back(CTileLegend::Words(iTile));
        iNameWidth = std::max(iNameWidth, static_cast<int>(vNames.back().size()));
        iTileWidth = std::max(iTileWidth, static_cast<int>(vTiles.back().size()));
    }
    out << '\n'
        << Line(iNameWidth, iTileWidth, QStringLiteral("channel"), QStringLiteral("judged"),
                QStringLiteral("violations"), QStringLiteral("errors"), QStringLiteral("tile"),
                QStringLiteral("first violation"));
    for (size_t r = 0; r < channels.size(); ++r)
    {
        const CSessionDigest::SChannel& channel = channels[r];
        QString sFirst = QStringLiteral("-");
        if (channel.m_lFirstViolationScan >= 0)
        {
            sFirst = QStringLiteral("scan ") + QString::number(channel.m_lFirstViolationScan) +
                     QStringLiteral(" (") + Shown(session.ScanTime(channel.m_lFirstViolationScan)) +
                     QStringLiteral("): ") + Shown(channel.m_sFirstViolation.simplified());
        }
        out << Line(iNameWidth, iTileWidth, vNames[r], QString::number(channel.m_lJudged),
                    QString::number(channel.m_lViolations), QString::number(channel.m_lErrors),
                    vTiles[r], sFirst);
    }
    if (digest.OrphanRows() > 0)
    {
        out << '\n'
            << digest.OrphanRows()
            << QStringLiteral(" stored values belong to no channel of the table or to no stored "
                              "scan (see mda csv).\n");
    }
    return context.Finish(out, CToolContext::c_iExitOk);
}
