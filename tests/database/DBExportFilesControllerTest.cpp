#include "CDBExportFilesController.h"
#include "CDBSessionControler.h"
#include "DBControllerTestBase.h"

#include <stdexcept>

using namespace LumoraMeasurement;

namespace
{

using CDBExportFilesControllerTest = MdaTest::CDBControllerTest;

TEST_P(CDBExportFilesControllerTest, FileComesBackByteForByteAndIsReplacedById)
{
    CDBExportFilesController files(Db());
    const QString sFirst = WriteFile("package.zip", MdaTest::AllBytes());
    ASSERT_TRUE(files.CreateDbEntryFromFile("pkg", sFirst, "first"));
    const QString sTarget = m_Files.filePath("restored.zip");
    ASSERT_TRUE(files.GetMeasurementFileFromDb("pkg", sTarget));
    EXPECT_EQ(MdaTest::ReadBytes(sTarget), MdaTest::AllBytes());
    EXPECT_EQ(CDBSessionControler(Db()).GetFileHashValue(sTarget), MdaTest::c_pszAllBytesMd5);

    ASSERT_TRUE(files.CreateDbEntryFromFile("pkg", WriteFile("second", "abc"), "second"));
    files.ReadAvailableFiles();
    ASSERT_EQ(files.GetRowCount(), 1u);
    EXPECT_EQ(files.GetDescription(0), "second");
    ASSERT_TRUE(files.GetMeasurementFileFromDb("pkg", sTarget));
    EXPECT_EQ(MdaTest::ReadBytes(sTarget), QByteArray("abc"));

    EXPECT_FALSE(files.CreateDbEntryFromFile("other", m_Files.filePath("missing"), "d"));
    EXPECT_FALSE(files.GetMeasurementFileFromDb("pkg", m_Files.filePath("no/dir/file.zip")));
    EXPECT_FALSE(QFile::exists(m_Files.filePath("no")));

    // A missing id neither creates nor truncates the target.
    EXPECT_FALSE(files.GetMeasurementFileFromDb("absent", m_Files.filePath("new")));
    EXPECT_FALSE(QFile::exists(m_Files.filePath("new")));
    EXPECT_FALSE(files.GetMeasurementFileFromDb("absent", sTarget));
    EXPECT_EQ(MdaTest::ReadBytes(sTarget), QByteArray("abc"));
    EXPECT_EQ(files.GetData("absent").GetUniqueId(), "absent");

    // A stored text that decodes to no byte at all writes no file.
    ASSERT_TRUE(files.Create("void", "====", ""));
    EXPECT_FALSE(files.GetMeasurementFileFromDb("void", m_Files.filePath("void")));
    EXPECT_EQ(Db().LastError(),
              "Cannot write \"" + m_Files.filePath("void") + "\": no byte to write");
    EXPECT_FALSE(QFile::exists(m_Files.filePath("void")));
}

TEST_P(CDBExportFilesControllerTest, ListInStoringOrderWithCheckedIndex)
{
    CDBExportFilesController files(Db());
    ASSERT_TRUE(files.Create("b", "Yg==", "second letter"));
    ASSERT_TRUE(files.Create("a", "YQ==", ""));
    CDBExportFiles c("c", "Yw==", "old");
    ASSERT_TRUE(files.Create(c.GetUniqueId(), c.GetExportFile(), c.GetDescription()));
    c.SetDescription("new");
    c.SetExportFile("Y2M=");
    ASSERT_TRUE(files.Update(c));
    EXPECT_FALSE(files.Update(CDBExportFiles("never stored", "eA==", "x")));

    EXPECT_EQ(files.GetRowCount(), 0u);
    files.ReadAvailableFiles();
    files.ReadAvailableFiles();
    ASSERT_EQ(files.GetRowCount(), 3u);
    EXPECT_EQ(QStringList({files.GetUniqueId(0), files.GetUniqueId(1), files.GetUniqueId(2)}),
              QStringList({"b", "a", "c"}));
    EXPECT_EQ(
        QStringList({files.GetDescription(0), files.GetDescription(1), files.GetDescription(2)}),
        QStringList({"second letter", "", "new"}));
    EXPECT_EQ(files.GetData("c").GetExportFile(), "Y2M=");
    EXPECT_EQ(files.GetData("a").GetExportFile(), "YQ==");

    EXPECT_THROW(files.GetUniqueId(3), std::out_of_range);
    EXPECT_THROW(files.GetDescription(3), std::out_of_range);
    EXPECT_EQ(files.GetTimeOfLastUpdate(0), "TODO0");
    EXPECT_EQ(files.GetTimeOfLastUpdate(3), "TODO3");
    files.Clear();
    EXPECT_EQ(files.GetRowCount(), 0u);
    EXPECT_THROW(files.GetUniqueId(0), std::out_of_range);
}

MDA_INSTANTIATE_BACKEND_TESTS(CDBExportFilesControllerTest);

} // namespace
