#include "CLoggingCategories.h"
#include "CUtilJson.h"

#include "ConfigTestTools.h"

#include <QJsonObject>
#include <QLoggingCategory>

using namespace ConfigTest;
using OrvelFramework::CLoggingCategories;

namespace
{

struct SCaught
{
    QtMsgType m_eType;
    QString m_sCategory;
    QString m_sText;
};

// Qt's message handler is a plain function: the caught messages live here.
QList<SCaught>& Caught()
{
    static QList<SCaught> s_lCaught;
    return s_lCaught;
}

class LoggingCategoriesTest : public LogTest
{
protected:
    void SetUp() override
    {
        LogTest::SetUp();
        Caught().clear();
        m_Previous = qInstallMessageHandler(
            [](QtMsgType eType, const QMessageLogContext& context, const QString& sText) {
                Caught().append({eType, QString::fromLatin1(context.category), sText});
            });
    }
    void TearDown() override
    {
        qInstallMessageHandler(m_Previous);
        QLoggingCategory::setFilterRules(QString());
        LogTest::TearDown();
    }

    QtMessageHandler m_Previous = nullptr;
};

TEST_F(LoggingCategoriesTest, OneCategoryPerSubsystemInfoOffWarningOn)
{
    const struct
    {
        const QLoggingCategory& m_Category;
        const char* m_pszName;
    } rows[] = {
        {CLoggingCategories::Platform(), "mda.platform"},
        {CLoggingCategories::Vocabulary(), "mda.vocabulary"},
        {CLoggingCategories::Config(), "mda.config"},
        {CLoggingCategories::Channels(), "mda.channels"},
        {CLoggingCategories::Database(), "mda.database"},
        {CLoggingCategories::Results(), "mda.results"},
        {CLoggingCategories::Exchange(), "mda.exchange"},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.m_pszName);
        EXPECT_STREQ(row.m_Category.categoryName(), row.m_pszName);
        EXPECT_FALSE(row.m_Category.isDebugEnabled());
        EXPECT_FALSE(row.m_Category.isInfoEnabled());
        EXPECT_TRUE(row.m_Category.isWarningEnabled());
        EXPECT_TRUE(row.m_Category.isCriticalEnabled());
    }
    // The usual rules switch them.
    QLoggingCategory::setFilterRules(QStringLiteral("mda.*.info=true\nmda.exchange.warning=false"));
    EXPECT_TRUE(CLoggingCategories::Config().isInfoEnabled());
    EXPECT_TRUE(CLoggingCategories::Database().isInfoEnabled());
    EXPECT_FALSE(CLoggingCategories::Exchange().isWarningEnabled());
}

TEST_F(LoggingCategoriesTest, ALibraryMessageReachesQtOnlyWhenItsCategoryIsOn)
{
    const QString sMissing = m_Dir.filePath(QStringLiteral("missing.json"));
    QJsonObject jObject;

    // Off by default: the in-memory log has it, Qt's handler sees nothing.
    EXPECT_FALSE(LumoraMeasurement::CUtilJson::LoadJsonFile(sMissing, jObject));
    EXPECT_EQ(TakeLog(),
              QStringList{QStringLiteral("Could not load JSON file: %1.\n").arg(sMissing)});
    EXPECT_TRUE(Caught().isEmpty());

    QLoggingCategory::setFilterRules(QStringLiteral("mda.config.info=true"));
    EXPECT_FALSE(LumoraMeasurement::CUtilJson::LoadJsonFile(sMissing, jObject));
    EXPECT_EQ(TakeLog(),
              QStringList{QStringLiteral("Could not load JSON file: %1.\n").arg(sMissing)});
    ASSERT_EQ(Caught().size(), 1);
    EXPECT_EQ(Caught()[0].m_eType, QtInfoMsg);
    EXPECT_EQ(Caught()[0].m_sCategory, QStringLiteral("mda.config"));
    EXPECT_EQ(Caught()[0].m_sText, QStringLiteral("Could not load JSON file: %1.").arg(sMissing));

    // With the in-memory log off, Qt's logging still gets the message.
    Caught().clear();
    OrvelFramework::CLoggingDataProvider::m_bIsLoggingPossible.store(false);
    EXPECT_FALSE(LumoraMeasurement::CUtilJson::LoadJsonFile(sMissing, jObject));
    EXPECT_TRUE(LogStream().GetMessages().isEmpty());
    ASSERT_EQ(Caught().size(), 1);
    EXPECT_EQ(Caught()[0].m_sCategory, QStringLiteral("mda.config"));
}

} // namespace
