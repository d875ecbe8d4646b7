#include "CSessionsCommand.h"

#include "CDBSessionControler.h"
#include "CTerminalText.h"
#include "CToolContext.h"

#include <QTextStream>

#include <cstdio>

using namespace LumoraMeasurement;

namespace
{

// A field of a tab-separated line carries no tab, line break or terminal control of its own.
QString Field(const QString& sText)
{
    return CTerminalText::Escaped(sText);
}

} // namespace

int CSessionsCommand::Run(const QStringList& arguments)
{
    CToolContext context(QStringLiteral("sessions"), QString(),
                         QStringLiteral("Lists the stored sessions, one line each."));
    context.AddDatabaseOptions();
    context.Parser().addOption(QCommandLineOption(
        QStringLiteral("filter"),
        QStringLiteral("Only sessions whose unique id, description, site, test point or name "
                       "contains this text (any letter case)."),
        QStringLiteral("text")));
    int iExit = 0;
    if (!context.Parse(arguments, 0, iExit))
    {
        return iExit;
    }
    OrvelFramework::CDatabaseMultiInstance db;
    QString sReason;
    if (!context.OpenDatabase(db, sReason))
    {
        return context.Fail(sReason);
    }
    std::vector<CDBSessionData> sessions;
    if (!CDBSessionControler(db).ReadSessionData(context.Value(QStringLiteral("filter")), sessions))
    {
        return context.Fail(QStringLiteral("cannot read the sessions: ") + db.LastError());
    }
    QTextStream out(stdout);
    out << "id\tunique id\tfirst run\tlast run\tscans\tsite\tdescription\n";
    for (const CDBSessionData& session : sessions)
    {
        QString sSite;
        QString sTestPoint;
        session.GetSessionLocationData(sSite, sTestPoint);
        out << session.GetSessionId() << '\t' << Field(session.UniqueIdentifier()) << '\t'
            << Field(session.FirstRun()) << '\t' << Field(session.LastRun()) << '\t'
            << session.ScanCount() << '\t' << Field(sSite) << '\t' << Field(session.Description())
            << '\n';
    }
    return context.Finish(out, CToolContext::c_iExitOk);
}
