#include "CLoggingCategories.h"
#include "CUtilJson.h"

#include "ConfigTestTools.h"

#include <QLoggingCategory>

using namespace ConfigTest;
using OrvelFramework::CLoggingCategories;

namespace
{

// Qt's message handler is a plain function: the caught messages live here, as "type|category|text".
QStringList& Caught()
{
    static QStringList s_lCaught;
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
            [](QtMsgType eType, const QMessageLogContext& context, const QString& sText)
            {
                Caught() << QStringLiteral("%1|%2|%3")
                                .arg(eType)
                                .arg(QString::fromLatin1(context.category), sText);
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

TEST_F(LoggingCategoriesTest, OneCategoryPerSubsystemAndMessagesReachQtOnlyWhenItIsOn)
{
    using C = CLoggingCategories;
    const std::pair<const QLoggingCategory&, const char*> rows[] = {
        {C::Platform(), "mda.platform"}, {C::Vocabulary(), "mda.vocabulary"},
        {C::Config(), "mda.config"},     {C::Channels(), "mda.channels"},
        {C::Database(), "mda.database"}, {C::Results(), "mda.results"},
        {C::Exchange(), "mda.exchange"},
    };
    for (const auto& [category, pszName] : rows)
    {
        SCOPED_TRACE(pszName);
        EXPECT_STREQ(category.categoryName(), pszName);
        EXPECT_TRUE(!category.isDebugEnabled() && !category.isInfoEnabled() &&
                    category.isWarningEnabled() && category.isCriticalEnabled());
    }

    const QString sMissing = m_Dir.filePath(QStringLiteral("missing.json"));
    const QString sText = QStringLiteral("Could not load JSON file: %1.").arg(sMissing);
    const auto Load = [&sMissing]
    {
        QJsonObject jObject;
        return LumoraMeasurement::CUtilJson::LoadJsonFile(sMissing, jObject);
    };
    // Off by default: the in-memory log has it, Qt's handler sees nothing.
    EXPECT_TRUE(!Load() && Caught().isEmpty());
    EXPECT_EQ(TakeLog(), QStringList{sText + '\n'});

    // The usual rules switch them.
    QLoggingCategory::setFilterRules(QStringLiteral("mda.*.info=true\nmda.exchange.warning=false"));
    EXPECT_TRUE(C::Config().isInfoEnabled() && C::Database().isInfoEnabled() &&
                !C::Exchange().isWarningEnabled());
    EXPECT_FALSE(Load());
    EXPECT_EQ(TakeLog(), QStringList{sText + '\n'});
    EXPECT_EQ(Caught(), QStringList{QStringLiteral("%1|mda.config|").arg(QtInfoMsg) + sText});

    // With the in-memory log off, Qt's logging still gets the message.
    Caught().clear();
    OrvelFramework::CLoggingDataProvider::m_bIsLoggingPossible.store(false);
    EXPECT_TRUE(!Load() && LogStream().GetMessages().isEmpty());
    EXPECT_EQ(Caught(), QStringList{QStringLiteral("%1|mda.config|").arg(QtInfoMsg) + sText});
}

} // namespace
