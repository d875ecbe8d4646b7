// Reads a recorded measurement session back: loads it through the result model, lists the
// limit violations, the channel matrix with its tile colours, and writes the CSV export.
//
// Usage: example_read_session <measconfig file> <session id> <csv file>

#include "CEnumTemplate.h"
#include "CMatrixStateColorHandler.h"
#include "CMeasConfigData.h"
#include "CMeasurementResultData.h"
#include "CRDMatrixData.h"
#include "ELevelUnit.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

using namespace LumoraMeasurement;
using namespace OrvelFramework;

namespace
{

// [read]
bool ReadSession(const QString& sConfigFile, long lSessionId, const QString& sCsvFile)
{
    CMeasConfigData config;
    if (!config.Read(sConfigFile))
    {
        return false;
    }
    // Reads device settings, channel table and limits named by the configuration, opens the
    // database they name and judges every stored value against the limits.
    CMeasurementResultData session(lSessionId, eLevelUnit_dBmV);
    if (!session.LoadData(config))
    {
        return false;
    }
    std::printf("%s: %ld scans, limit violations: %ld\n",
                qPrintable(session.GetSessionData().Description()), session.GetNumberOfScans(),
                session.GetNumberOfErrorsInSession());
    for (long i = 0; i < session.GetNumberOfErrorsInSession(); ++i)
    {
        std::printf("  scan %ld, %s: %s\n", session.GetScanIdOfError(i),
                    qPrintable(session.GetChannelNameOfSessionError(i)),
                    qPrintable(session.GetChannelErrorDescriptionOfSessionError(i)));
    }

    // One tile per channel; its index picks the colour from the palette.
    CRDMatrixData matrix;
    session.CreateChannelMatrixData(matrix);
    const std::vector<CRDColor> palette = CMatrixStateColorHandler().GetMatrixStateColors();
    for (int i = 0; i < matrix.GetItemCount(); ++i)
    {
        const CRDMatrixItem& tile = matrix.GetItem(i);
        const CRDColor& colour = palette.at(static_cast<size_t>(tile.GetIndex()));
        std::printf("  tile %s: colour %d (#%02x%02x%02x)\n", qPrintable(tile.GetName()),
                    tile.GetIndex(), colour.GetRed(), colour.GetGreen(), colour.GetBlue());
    }

    // The session line, then one line per stored value.
    QFile csv(sCsvFile);
    if (!csv.open(QIODevice::WriteOnly | QIODevice::Truncate))
    {
        return false;
    }
    const QStringList lines = session.GetCSVExport();
    csv.write((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    std::printf("%d CSV lines\n", static_cast<int>(lines.size()));
    return csv.flush();
}
// [read]

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    bool bNumber = false;
    const long lSessionId = argc == 4 ? QString::fromLocal8Bit(argv[2]).toLong(&bNumber) : 0;
    if (!bNumber)
    {
        std::fprintf(stderr, "usage: example_read_session <measconfig file> <session id> <csv>\n");
        return 2;
    }
    if (!ReadSession(QString::fromLocal8Bit(argv[1]), lSessionId, QString::fromLocal8Bit(argv[3])))
    {
        std::fprintf(stderr, "cannot read session %ld\n", lSessionId);
        return 1;
    }
    return 0;
}
