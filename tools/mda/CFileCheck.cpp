#include "CFileCheck.h"

#include "CDocumentCheck.h"
#include "SDocumentFinding.h"

#include <QFileInfo>
#include <QTextStream>

using namespace LumoraMeasurement;

bool CFileCheck::DoCheck(const QStringList& vFiles, QStringList& vFindings)
{
    bool bClean = true;
    for (const QString& sFile : vFiles)
    {
        if (sFile.isEmpty())
        {
            continue;
        }
        QVector<SDocumentFinding> findings;
        bClean &= CDocumentCheck::CheckFile(sFile, findings);
        for (const SDocumentFinding& finding : findings)
        {
            vFindings.append(finding.ToString());
        }
        bClean &= findings.isEmpty();
    }
    return bClean;
}

bool CFileCheck::DoCheckBeforeUse(const QStringList& vFiles, bool bForce, QString& sReason)
{
    QStringList vFindings;
    if (DoCheck(vFiles, vFindings))
    {
        return true;
    }
    QTextStream err(stderr);
    for (const QString& sFinding : vFindings)
    {
        err << sFinding << '\n';
    }
    err.flush();
    for (const QString& sFile : vFiles)
    {
        if (!sFile.isEmpty() && !QFileInfo(sFile).isReadable())
        {
            sReason = QStringLiteral("cannot read '") + sFile + QLatin1Char('\'');
            return false;
        }
    }
    if (bForce)
    {
        return true;
    }
    sReason = QStringLiteral("the files given have the findings above; --force judges with "
                             "them anyway");
    return false;
}
