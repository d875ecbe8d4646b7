#include "COutputFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>

COutputFile::COutputFile(const QString& sPath)
    : m_sPath(sPath), m_bStandardOutput(sPath == QLatin1String("-"))
{
}

COutputFile::~COutputFile()
{
    Discard();
}

QString COutputFile::DisplayName() const
{
    return m_bStandardOutput ? QStringLiteral("standard output") : m_sPath;
}

void COutputFile::SetError(const QString& sCause)
{
    m_sLastError =
        QStringLiteral("cannot write '") + DisplayName() + QStringLiteral("': ") + sCause;
}

bool COutputFile::Open()
{
    m_sLastError.clear();
    Discard();
    if (m_sPath.isEmpty())
    {
        SetError(QStringLiteral("no file name"));
        return false;
    }
    if (m_bStandardOutput)
    {
        // Whatever the caller printed before goes out first, in order.
        std::fflush(stdout);
        auto pFile = std::make_unique<QFile>();
        const bool bOpened =
            pFile->open(stdout, QIODevice::WriteOnly, QFileDevice::DontCloseHandle);
        return DoTake(std::move(pFile), bOpened);
    }
    const QFileInfo target(m_sPath);
    if (target.isDir())
    {
        SetError(QStringLiteral("it is a folder"));
        return false;
    }
    // Renaming onto a device or a pipe would replace it with a plain file.
    m_bDirect = target.exists() && !target.isFile();
    if (m_bDirect)
    {
        auto pFile = std::make_unique<QFile>(m_sPath);
        const bool bOpened = pFile->open(QIODevice::WriteOnly);
        return DoTake(std::move(pFile), bOpened);
    }
    if (!QFileInfo(target.absolutePath()).isDir())
    {
        SetError(QStringLiteral("no folder '") + target.absolutePath() + QLatin1Char('\''));
        return false;
    }
    auto pSave = std::make_unique<QSaveFile>(m_sPath);
    const bool bOpened = pSave->open(QIODevice::WriteOnly);
    return DoTake(std::move(pSave), bOpened);
}

// The three ways of opening fail alike: one place keeps a device only when it opened.
bool COutputFile::DoTake(std::unique_ptr<QFileDevice> pDevice, bool bOpened)
{
    if (!bOpened)
    {
        SetError(pDevice->errorString());
        return false;
    }
    m_pDevice = std::move(pDevice);
    return true;
}

QIODevice& COutputFile::Device()
{
    Q_ASSERT(m_pDevice);
    return *m_pDevice;
}

bool COutputFile::Commit()
{
    if (!m_pDevice)
    {
        if (m_sLastError.isEmpty())
        {
            SetError(QStringLiteral("not open"));
        }
        return false;
    }
    auto* pSave =
        (m_bStandardOutput || m_bDirect) ? nullptr : static_cast<QSaveFile*>(m_pDevice.get());
    bool bOk = false;
    if (pSave != nullptr)
    {
        // QSaveFile remembers a failed write and then refuses to commit, but not one of the
        // buffered bytes that commit() itself writes: the flush reports those.
        bOk = pSave->flush() && pSave->commit();
    }
    else
    {
        bOk = m_pDevice->error() == QFileDevice::NoError && m_pDevice->flush() &&
              m_pDevice->error() == QFileDevice::NoError;
        if (m_bStandardOutput)
        {
            bOk = std::fflush(stdout) == 0 && bOk && std::ferror(stdout) == 0;
        }
    }
    if (!bOk)
    {
        const QString sCause = m_pDevice->errorString();
        SetError(sCause.isEmpty() ? QStringLiteral("write failed") : sCause);
        Discard();
        return false;
    }
    if (pSave == nullptr)
    {
        m_pDevice->close();
    }
    m_pDevice.reset();
    return true;
}

void COutputFile::Discard()
{
    if (!m_pDevice)
    {
        return;
    }
    if (!m_bStandardOutput && !m_bDirect)
    {
        static_cast<QSaveFile*>(m_pDevice.get())->cancelWriting();
    }
    // A QSaveFile destroyed without commit() removes its temporary file.
    m_pDevice.reset();
}
