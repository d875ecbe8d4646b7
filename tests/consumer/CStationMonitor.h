#pragma once

#include <QObject>
#include <QString>

// A user's own Qt class written with the plain Qt keywords: it must compile next to the
// library's headers and its link interface.
class CStationMonitor : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

signals:
    void standardNamed(const QString& sText);

public slots:
    void nameStandard(int iStandard);
};
