#include "CFilterTestLineField.h"

#include <iterator>

namespace LumoraMeasurement
{

const CFilterTestLineField::SAdmission CFilterTestLineField::c_Admissions[] = {
    {Standards({eTVStandard_M_NTSC}), Entries({eTestLineField_Field1, eTestLineField_Field2})},
};

CFilterTestLineField::CFilterTestLineField(ETVStandards eStandard)
    : CStandardEnumFilter(eStandard, c_Admissions, std::size(c_Admissions))
{
}

} // namespace LumoraMeasurement
