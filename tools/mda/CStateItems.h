#pragma once

#include "EMeasurementItems.h"

#include <QString>
#include <QVector>

/// The measurement items whose stored number is the id of a state (locks, switches, carriers
/// present or missing): drawn as states with their words, not as numbers.
class CStateItems
{
public:
    /// The words by id; false for a numeric item.
    static bool GetWords(LumoraMeasurement::EMeasurementItems eItem, QVector<QString>& vWords);
    /// The id of sText (a number or one of the words); -1 when it is neither.
    static int GetStateIndex(const QVector<QString>& vWords, const QString& sText);
};
