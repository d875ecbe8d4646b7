// Reads the tables from a static constructor that runs before the library's own static
// initialisation (this object is linked ahead of the library objects). A table built by a
// plain static initialiser would still be empty here.
#include "CEnumTemplate.h"
#include "ETVStandards.h"

#include <cstdio>

using namespace LumoraMeasurement;

namespace
{

struct SEarlyReader
{
    QString m_sText;
    ETVStandards m_eFromId;
    int m_iRows;

    SEarlyReader()
        : m_sText(CEnumTemplate<ETVStandards>::ToString(eTVStandard_DVBT2)),
          m_eFromId(CEnumTemplate<ETVStandards>::ToEnum(13)),
          m_iRows(CEnumTemplate<ETVStandards>::ToStringList().size())
    {
    }
};

SEarlyReader g_EarlyReader;

int Check(bool bOk, const char* pszWhat)
{
    if (!bOk)
    {
        std::fprintf(stderr, "static initialisation order: %s\n", pszWhat);
    }
    return bOk ? 0 : 1;
}

} // namespace

int main()
{
    int failures = 0;
    failures += Check(g_EarlyReader.m_sText == QStringLiteral("DVB-T2 (digital)"), "enum text");
    failures += Check(g_EarlyReader.m_eFromId == eTVStandard_DTMB, "enum from id");
    failures += Check(g_EarlyReader.m_iRows == 23, "row count");
    std::printf("%d passed, %d failed\n", 3 - failures, failures);
    return failures == 0 ? 0 : 1;
}
