#include "CCheckCommand.h"

#include "CDocumentCheck.h"
#include "CTerminalText.h"
#include "CToolContext.h"
#include "SDocumentFinding.h"

#include <QFileInfo>
#include <QTextStream>

using namespace LumoraMeasurement;

int CCheckCommand::Run(const QStringList& arguments)
{
    CToolContext context(QStringLiteral("check"), QStringLiteral("FILE..."),
                         QStringLiteral("Checks configuration documents and prints every "
                                        "finding as file:line:column: message."));
    int iExit = 0;
    if (!context.Parse(arguments, -1, iExit))
    {
        return iExit;
    }
    QTextStream out(stdout);
    bool bFound = false;
    for (const QString& sFile : context.Positionals())
    {
        if (!QFileInfo(sFile).isFile())
        {
            out.flush();
            return context.Fail(QStringLiteral("no file '") + sFile + QLatin1Char('\''));
        }
        QVector<SDocumentFinding> findings;
        bFound |= !CDocumentCheck::CheckFile(sFile, findings);
        for (const SDocumentFinding& finding : findings)
        {
            // A finding quotes the document, which may hold anything.
            out << CTerminalText::Escaped(finding.ToString(), true) << '\n';
        }
    }
    return context.Finish(out, bFound ? CToolContext::c_iExitFindings : CToolContext::c_iExitOk);
}
