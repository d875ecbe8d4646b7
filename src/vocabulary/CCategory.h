#pragma once

#include "MainDataAccess_export.h"

#include "ECategory.h"

#include <QString>

namespace LumoraMeasurement
{

/// Gives the display name of a category as the result views head their groups.
class MDA_EXPORT CCategory
{
public:
    // Inline so that any translation unit including this header sees them initialised first.
    /// The display name of the general category.
    static inline const QString c_sCategoryGeneral = QStringLiteral("General");
    /// The display name of the digital category.
    static inline const QString c_sCategoryDigital = QStringLiteral("Digital");
    /// The display name of the analogue category.
    static inline const QString c_sCategoryAnalog = QStringLiteral("Analogue");

    CCategory() = default;
    virtual ~CCategory() = default;

    /// "General", "Digital" or "Analogue"; "Unknown" for any other category.
    static QString GetCategoryAsString(ECategory eCategory);
};

} // namespace LumoraMeasurement
