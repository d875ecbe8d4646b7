#include "CCategory.h"

namespace LumoraMeasurement
{

QString CCategory::GetCategoryAsString(ECategory eCategory)
{
    switch (eCategory)
    {
    case eCategory_General:
        return c_sCategoryGeneral;
    case eCategory_Digital:
        return c_sCategoryDigital;
    case eCategory_Analog:
        return c_sCategoryAnalog;
    default:
        return QStringLiteral("Unknown");
    }
}

} // namespace LumoraMeasurement
