#pragma once

#include <QStringList>

/// `mda export MEASCONFIG ARCHIVE [--store]` packs a measurement configuration with its
/// files into an archive (and with --store keeps it in the database too); `mda import
/// ARCHIVE [--into SUBFOLDER]` unpacks one below the user data folder as a second
/// installation would and prints the folder.
class CExchangeCommand
{
public:
    static int RunExport(const QStringList& arguments);
    static int RunImport(const QStringList& arguments);
};
