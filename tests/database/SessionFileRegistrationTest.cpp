#include "CTableExportedChannelSettings.h"
#include "DBControllerTestBase.h"

#include <QCryptographicHash>
#include <QFile>
#include <QMap>
#include <QRegularExpression>

#include <array>
#include <atomic>
#include <chrono>
#include <thread>
#include <tuple>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace LumoraMeasurement;

namespace
{

constexpr qint64 c_llBound = CDBSessionControler::c_llMaxRegisteredFileSize;

class CSessionFileRegistrationTest : public MdaTest::CDBControllerTest
{
protected:
    /// Rows of the session table and of the two tables of registered files.
    std::array<long, 3> Counts()
    {
        const QVariantList counts = Exec("SELECT (SELECT COUNT(*) FROM session), (SELECT COUNT(*) "
                                         "FROM exported_channel_settings), (SELECT COUNT(*) FROM "
                                         "exported_limit_values)");
        return {counts.value(0, -1).toInt(), counts.value(1, -1).toInt(),
                counts.value(2, -1).toInt()};
    }

    /// A file of llSize bytes, zero but for a few marks (its first and last byte, and one at
    /// each given offset), holding no disk space for the zeros.
    QString SparseFile(const QString& sName, qint64 llSize, const QList<qint64>& marks = {})
    {
        QFile file(m_Files.filePath(sName));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(llSize));
        char cMark = 'a';
        for (qint64 llAt : QList<qint64>{0, llSize - 1} + marks)
        {
            EXPECT_TRUE(llAt < 0 || (file.seek(llAt) && file.putChar(cMark++)));
        }
        return file.fileName();
    }

    /// The stored hash and copy of a registered channel table.
    std::pair<QString, QString> Stored(long lId)
    {
        using OrvelFramework::CTableExportedChannelSettings;
        QMap<QString, QString> columns;
        for (const auto& pair : CTableExportedChannelSettings(Db()).Get(QString::number(lId)))
        {
            columns[pair.GetColumn()] = pair.GetValue();
        }
        return {columns[CTableExportedChannelSettings::c_sColumnHash],
                columns[CTableExportedChannelSettings::c_sColumnFile]};
    }
};

/// Runs call. Should it still wait for a writer on the pipe after a few seconds, the pipe's
/// writing end is opened once so that the call comes back, and the wait is reported.
template <typename TCall> auto WithoutWaitingOnPipe(const QString& sPipe, TCall call)
{
    std::atomic<bool> bDone{false}, bWaited{false};
    const QByteArray name = QFile::encodeName(sPipe);
    std::thread watchdog(
        [&]
        {
            // About five seconds in steps of 20 ms.
            for (int iStep = 0; !bDone; ++iStep)
            {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                const int iFd = iStep > 250 ? ::open(name.constData(), O_WRONLY | O_NONBLOCK) : -1;
                if (iFd >= 0)
                {
                    bWaited = true;
                    ::close(iFd);
                }
            }
        });
    const auto result = call();
    bDone = true;
    watchdog.join();
    EXPECT_FALSE(bWaited) << "waited for a writer on " << name.constData();
    return result;
}

/// The process's peak resident size since the last ResetPeak(), in bytes.
qint64 PeakBytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    EXPECT_TRUE(status.open(QIODevice::ReadOnly));
    const QRegularExpression line(QStringLiteral("^VmHWM:\\s*(\\d+) kB$"),
                                  QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = line.match(QString::fromLatin1(status.readAll()));
    EXPECT_TRUE(match.hasMatch());
    return match.captured(1).toLongLong() * 1024;
}

/// Starts a new peak at the present resident size and returns it.
qint64 ResetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    EXPECT_TRUE(clear.open(QIODevice::WriteOnly) && clear.write("5") == 1)
        << clear.errorString().toStdString();
    return PeakBytes();
}

// A pipe waited for a writer for ever, /dev/zero filled the memory until the process died, a
// folder or a file beyond the bound was stored as an empty copy as if it were the file, a socket
// as a missing file. Refused unread; the session is still recorded, without the copy.
TEST_P(CSessionFileRegistrationTest, PipesDevicesFoldersAndOversizeFilesAreRefusedUnread)
{
    const QString sPipe = m_Files.filePath("pipe");
    ASSERT_EQ(::mkfifo(QFile::encodeName(sPipe).constData(), 0600), 0);
    const QString sFolder = m_Files.filePath("folder.json");
    ASSERT_TRUE(QDir().mkdir(sFolder));
    const QString sSocket = m_Files.filePath("socket");
    ASSERT_EQ(::mknod(QFile::encodeName(sSocket).constData(), S_IFSOCK | 0600, 0), 0);
    const QString sOver = SparseFile("over.json", c_llBound + 1);
    const QString sChannels = WriteFile("channels.json", "{\"channels\":[]}");

    const struct
    {
        const char* pszCase;
        QString sPath, sReason, sHash = {}; // what hashing alone gives; none by default
    } c_Rows[] = {
        {"named pipe", sPipe,
         "Cannot read \"" + sPipe + "\": it is a named pipe, not a regular file"},
        {"device", "/dev/zero",
         "Cannot read \"/dev/zero\": it is a character device, not a regular file"},
        {"folder", sFolder, "Cannot read \"" + sFolder + "\": it is a folder, not a regular file"},
        {"socket", sSocket, "Cannot read \"" + sSocket + "\": it is a socket, not a regular file"},
        {"one byte over the bound", sOver,
         "Cannot read \"" + sOver +
             "\": it holds 16777217 bytes, more than the 16777216 a channel table or limit file "
             "may hold",
         // Hashing alone holds no copy, so it has no bound.
         "5e6840ed38d0d2aeee3fca2bb3a10c69"},
    };
    CDBSessionControler sessions(Db());
    for (const auto& row : c_Rows)
    {
        SCOPED_TRACE(row.pszCase);
        const auto guarded = [&](auto call) { return WithoutWaitingOnPipe(sPipe, call); };
        const std::array<long, 3> before = Counts();
        long lId = -7;
        EXPECT_FALSE(guarded([&] { return sessions.AddChannelSettingsFileToDB(row.sPath, lId); }));
        EXPECT_EQ(sessions.LastError(), row.sReason);
        EXPECT_FALSE(guarded([&] { return sessions.AddLimitValuesFileToDB(row.sPath, lId); }));
        EXPECT_EQ(sessions.LastError(), row.sReason);
        EXPECT_EQ(std::tuple(lId, Counts()), std::tuple(-7, before));
        // A stale reason, so that the read must give its own.
        Db().Fail(QStringLiteral("an earlier failure"));
        EXPECT_EQ(guarded([&] { return sessions.GetFileData(row.sPath); }), "");
        EXPECT_EQ(sessions.LastError(), row.sReason);
        EXPECT_EQ(guarded([&] { return sessions.GetFileHashValue(row.sPath); }), row.sHash);

        Db().Fail(QStringLiteral("an earlier failure"));
        long lSession = 0;
        EXPECT_TRUE(guarded([&] { return CreateSession(lSession, "", row.sPath, sChannels); }));
        EXPECT_EQ(sessions.LastError(), row.sReason);
        const std::array<long, 3> after = Counts();
        EXPECT_EQ(after, (std::array<long, 3>{before[0] + 1, before[1], before[2] + 1}));
        EXPECT_EQ(MdaTest::Fields(sessions.GetData(lSession)).mid(13),
                  QStringList({QString::number(after[2]), "0"}));
    }
    // A file that opens but cannot be read is refused with the reader's reason.
    long lId = -7;
    EXPECT_FALSE(sessions.AddChannelSettingsFileToDB("/proc/self/mem", lId));
    EXPECT_EQ(sessions.LastError(), "Cannot read \"/proc/self/mem\": Input/output error");
    // One that says it is empty and goes on past the bound is cut there.
    EXPECT_FALSE(sessions.AddChannelSettingsFileToDB("/proc/self/pagemap", lId));
    EXPECT_EQ(sessions.LastError(),
              "Cannot read \"/proc/self/pagemap\": it grew beyond 16777216 bytes while read");
    EXPECT_EQ(lId, -7);
}

// A file of a few hundred MB was held three times over, and one of 1.1 GB ended the process.
// One at the bound is read in pieces, stored exactly, and costs a few times its size at most.
TEST_P(CSessionFileRegistrationTest, LargeFilesAreNotHeldSeveralTimesOver)
{
    CDBSessionControler sessions(Db());
    const QString sAt = SparseFile("at.json", c_llBound, {3 * 64 * 1024 - 1, 3 * 64 * 1024});
    const QByteArray whole = MdaTest::ReadBytes(sAt);
    ASSERT_EQ(whole.size(), c_llBound);

    long lId = 0;
    [[maybe_unused]] const qint64 llBase = ResetPeak(); // no peak is read under the sanitizers
    ASSERT_TRUE(sessions.AddChannelSettingsFileToDB(sAt, lId))
        << sessions.LastError().toStdString();
    // The copy is one UTF-16 text of 2.7 times the file; SQLite makes two UTF-8 copies of it
    // (5.5 in all), Qt's PostgreSQL driver writes it into the statement text several times
    // over (11 in all).
#if !defined(__SANITIZE_ADDRESS__)
    // The sanitizers' shadow and quarantine memory is no peak of ours.
    const qint64 llPeak = PeakBytes() - llBase;
    EXPECT_LT(llPeak, (GetParam() == MdaTest::EBackend::Sqlite ? 7 : 13) * c_llBound) << llPeak;
#endif

    const auto [sHash, sFile] = Stored(lId);
    EXPECT_EQ(sHash, QCryptographicHash::hash(whole, QCryptographicHash::Md5).toHex());
    EXPECT_TRUE(sFile == QString::fromLatin1(whole.toBase64()))
        << "stored copy of " << sFile.size() << " characters";
}

// Pieces are encoded one by one: a piece whose length is not a multiple of three would put
// padding in the middle of the stored copy, and an encoding slip shows against Qt's own.
TEST_P(CSessionFileRegistrationTest, StoredCopyIsTheWholeFileAtEveryPieceBoundary)
{
    constexpr int c_iPiece = 3 * 64 * 1024;
    CDBSessionControler sessions(Db());
    for (int iSize : {1, 2, 3, 4, 5, c_iPiece - 1, c_iPiece, c_iPiece + 1, 2 * c_iPiece + 2})
    {
        SCOPED_TRACE(iSize);
        // Every byte value, in an order that puts each one at every place of a group of three.
        const QByteArray content = MdaTest::AllBytes(iSize, 7);
        const QString sPath = WriteFile(QString::number(iSize), content);
        long lId = 0;
        // The first one without standard input (a service): it is read as descriptor 0.
        const int iStdin = ::dup(0);
        ::close(iSize == 1 ? 0 : -1);
        const bool bAdded = sessions.AddChannelSettingsFileToDB(sPath, lId);
        ASSERT_TRUE(::dup2(iStdin, 0) == 0 && ::close(iStdin) == 0 && bAdded);
        const auto [sHash, sFile] = Stored(lId);
        EXPECT_EQ(sHash, QCryptographicHash::hash(content, QCryptographicHash::Md5).toHex());
        EXPECT_TRUE(sFile == QString::fromLatin1(content.toBase64()));
        EXPECT_EQ(sessions.GetFileData(sPath), sFile);
        EXPECT_EQ(sessions.GetFileHashValue(sPath), sHash);
        QByteArray bytes;
        EXPECT_TRUE(sessions.GetChannelSettingsFileData(QString::number(lId), bytes) &&
                    bytes == content);
    }
    QByteArray bytes("stale");
    EXPECT_TRUE(!sessions.GetChannelSettingsFileData("999999", bytes) && bytes.isEmpty());
}

// A session row the database refused left both copies behind, registered to no session. The
// copies and the row are one transaction; a copy the database refuses is left out alone and
// the session records file id 0.
TEST_P(CSessionFileRegistrationTest, RefusedSessionRowLeavesNoOrphanCopies)
{
    const QString sChannels = WriteFile("channels.json", "{\"channels\":[]}");
    const QString sLimits = WriteFile("limits.json", "{}");
    // Table refusing inserts, session created, rows added to the tables Counts() counts.
    const std::tuple<const char*, bool, std::array<long, 3>> c_Rows[] = {
        {"session", false, {0, 0, 0}},
        {"exported_channel_settings", true, {1, 0, 1}},
        {"exported_limit_values", true, {1, 1, 0}},
    };
    CDBSessionControler sessions(Db());
    for (const auto& [pszTable, bCreated, added] : c_Rows)
    {
        SCOPED_TRACE(pszTable);
        Refuse({pszTable}, {"INSERT"});
        const std::array<long, 3> before = Counts();
        long lSession = -7;
        EXPECT_EQ(CreateSession(lSession, "", sChannels, sLimits), bCreated);
        // A refused session leaves the id as it was and says why.
        EXPECT_TRUE(bCreated || lSession == -7) << lSession;
        EXPECT_TRUE(bCreated || sessions.LastError().contains("refused"))
            << sessions.LastError().toStdString();
        EXPECT_EQ(Counts(), (std::array<long, 3>{before[0] + added[0], before[1] + added[1],
                                                 before[2] + added[2]}));
        if (bCreated)
        {
            // A file id is 0 exactly where no copy was added, and the other one leads to it.
            const QStringList ids = MdaTest::Fields(sessions.GetData(lSession)).mid(13);
            EXPECT_EQ(QList<bool>({ids[0] != "0", ids[1] != "0"}),
                      QList<bool>({added[2] == 1, added[1] == 1}));
            const QString sOut = m_Files.filePath("out.json");
            EXPECT_TRUE(added[2] == 0 || sessions.GetLimitValuesFileFromDB(ids[0], sOut));
            EXPECT_TRUE(added[1] == 0 || sessions.GetChannelSettingsFileFromDB(ids[1], sOut));
            EXPECT_EQ(MdaTest::ReadBytes(sOut), added[2] == 1 ? "{}" : "{\"channels\":[]}");
        }
        Refuse({pszTable}, {"INSERT"}, true);
    }
}

MDA_INSTANTIATE_BACKEND_TESTS(CSessionFileRegistrationTest);

} // namespace
