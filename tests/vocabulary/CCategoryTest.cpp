#include "CCategory.h"

#include <gtest/gtest.h>

#include <memory>

using namespace LumoraMeasurement;

TEST(CCategory, NamesOfTheCategories)
{
    struct SRow
    {
        int m_iCategory;
        const char* m_pszName;
    };
    const SRow rows[] = {{1, "General"}, {2, "Digital"}, {3, "Analogue"},
                         {4, "Unknown"}, {0, "Unknown"}, {5, "Unknown"}};
    const auto category = std::make_unique<CCategory>();
    for (const SRow& row : rows)
    {
        SCOPED_TRACE(row.m_iCategory);
        EXPECT_EQ(
            category->GetCategoryAsString(static_cast<ECategory>(row.m_iCategory)).toStdString(),
            row.m_pszName);
    }
    EXPECT_EQ(CCategory::c_sCategoryAnalog.toStdString(), "Analogue");
}
