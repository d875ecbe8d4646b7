#include "CImportStaging.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace LumoraMeasurement
{

namespace
{

const QString c_sUnpacked = QStringLiteral("unpacked");
const QString c_sPrevious = QStringLiteral("previous");
constexpr int c_iNameAttempts = 100;

int OpenFolder(const QString& sPath)
{
    return ::open(QFile::encodeName(sPath).constData(),
                  O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

// Some network and user-space file systems have no locks at all.
bool IsLockingUnsupported(int iErrno)
{
    return iErrno == ENOLCK || iErrno == EOPNOTSUPP || iErrno == ENOSYS || iErrno == EINVAL;
}

// Holds an exclusive lock on a folder for as long as it lives (released by the kernel too when
// the process dies, so a killed import never blocks the next).
class CFolderLock
{
public:
    explicit CFolderLock(const QString& sPath) : m_iFd(OpenFolder(sPath))
    {
        m_bLocked = m_iFd >= 0 && ::flock(m_iFd, LOCK_EX) == 0;
        m_iError = m_bLocked ? 0 : errno;
    }
    // A folder that did not open (-1) is refused by close() and nothing else happens.
    ~CFolderLock() { ::close(m_iFd); }
    CFolderLock(const CFolderLock&) = delete;
    CFolderLock& operator=(const CFolderLock&) = delete;
    bool IsLocked() const { return m_bLocked; }
    int Error() const { return m_iError; }

private:
    int m_iFd;
    bool m_bLocked = false;
    int m_iError = 0;
};

int Move(const QString& sFrom, const QString& sTo, unsigned int uiFlags)
{
    const QByteArray baFrom = QFile::encodeName(sFrom);
    const QByteArray baTo = QFile::encodeName(sTo);
#ifdef RENAME_EXCHANGE
    return ::renameat2(AT_FDCWD, baFrom.constData(), AT_FDCWD, baTo.constData(), uiFlags);
#else
    Q_UNUSED(uiFlags);
    return ::rename(baFrom.constData(), baTo.constData());
#endif
}

} // namespace

CImportStaging::~CImportStaging()
{
    if (!m_sFolder.isEmpty())
    {
        QDir(m_sFolder).removeRecursively();
    }
    // Unlocked only once removed: nobody else touches a folder that is still locked.
    if (m_iLock >= 0)
    {
        ::close(m_iLock);
    }
}

bool CImportStaging::Fail(const QString& sWhat, int iErrno)
{
    m_sLastError = iErrno == 0 ? sWhat : sWhat + QStringLiteral(": ") + qt_error_string(iErrno);
    return false;
}

bool CImportStaging::DoCreate(const QString& sParent)
{
    const QString sClean = QDir::cleanPath(sParent);
    // The parent's lock makes clean-up and creation one step: a folder just made is locked
    // before any other import can look at it. Without locks a stale folder cannot be told from
    // a running import's, and none is removed.
    const CFolderLock parentLock(sClean);
    if (parentLock.IsLocked())
    {
        DoRemoveStale(sClean);
    }
    else if (!IsLockingUnsupported(parentLock.Error()))
    {
        return Fail(QStringLiteral("cannot lock '%1'").arg(sClean), parentLock.Error());
    }

    QString sFolder;
    int iError = EEXIST;
    for (int i = 0; i < c_iNameAttempts && iError == EEXIST; ++i)
    {
        sFolder = sClean + QLatin1Char('/') + c_sPrefix +
                  QString::number(QRandomGenerator::global()->generate(), 16);
        iError = ::mkdir(QFile::encodeName(sFolder).constData(), 0700) == 0 ? 0 : errno;
    }
    if (iError != 0)
    {
        return Fail(QStringLiteral("cannot create an unpacking folder in '%1'").arg(sClean),
                    iError);
    }
    m_sFolder = sFolder;
    m_iLock = OpenFolder(sFolder);
    if (m_iLock < 0 || (::flock(m_iLock, LOCK_EX | LOCK_NB) != 0 && !IsLockingUnsupported(errno)))
    {
        iError = errno;
        return Fail(QStringLiteral("cannot lock '%1'").arg(sFolder), iError);
    }
    if (::mkdir(QFile::encodeName(GetUnpackFolder()).constData(), 0700) != 0)
    {
        iError = errno;
        return Fail(QStringLiteral("cannot create '%1'").arg(GetUnpackFolder()), iError);
    }
    return true;
}

QString CImportStaging::GetUnpackFolder() const
{
    return m_sFolder.isEmpty() ? QString() : m_sFolder + QLatin1Char('/') + c_sUnpacked;
}

// A staging folder nobody holds a lock on belongs to an import that was killed.
void CImportStaging::DoRemoveStale(const QString& sParent)
{
    const QFileInfoList lEntries = QDir(sParent).entryInfoList(
        QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    for (const QFileInfo& entry : lEntries)
    {
        // Compared here: a name filter would also take ".IMPORT-x", an import folder's name.
        if (!entry.fileName().startsWith(c_sPrefix))
        {
            continue;
        }
        if (entry.isSymLink() || !entry.isDir())
        {
            QFile::remove(entry.filePath());
            continue;
        }
        const int iFd = OpenFolder(entry.filePath());
        if (iFd >= 0 && ::flock(iFd, LOCK_EX | LOCK_NB) == 0)
        {
            QDir(entry.filePath()).removeRecursively();
        }
        if (iFd >= 0)
        {
            ::close(iFd);
        }
    }
}

bool CImportStaging::DoReplace(const QString& sFolder)
{
    const QString sUnpacked = GetUnpackFolder();
    if (sUnpacked.isEmpty())
    {
        return Fail(QStringLiteral("nothing was unpacked"), 0);
    }
    const QString sTarget = QDir::cleanPath(sFolder);
    const QString sFailed = QStringLiteral("cannot move the import into '%1'").arg(sTarget);
#ifdef RENAME_EXCHANGE
    // Swapped in one step: the folder never disappears, and a concurrent import of the same
    // name finds either the old or the new one complete (the last one in stays).
    if (Move(sUnpacked, sTarget, RENAME_NOREPLACE) == 0)
    {
        return true;
    }
    if (errno == EEXIST && Move(sUnpacked, sTarget, RENAME_EXCHANGE) == 0)
    {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS)
    {
        return Fail(sFailed, errno);
    }
#endif
    // Without the exchange the old folder goes aside first and comes back when the new one
    // cannot take its place; the gap between the two moves is short.
    const QString sPrevious = m_sFolder + QLatin1Char('/') + c_sPrevious;
    const bool bAside = Move(sTarget, sPrevious, 0) == 0;
    const int iAsideError = bAside ? 0 : errno;
    if (!bAside && iAsideError != ENOENT)
    {
        return Fail(QStringLiteral("cannot move '%1' aside").arg(sTarget), iAsideError);
    }
    if (Move(sUnpacked, sTarget, 0) == 0)
    {
        return true;
    }
    const int iError = errno;
    if (bAside)
    {
        Move(sPrevious, sTarget, 0);
    }
    return Fail(sFailed, iError);
}

} // namespace LumoraMeasurement
