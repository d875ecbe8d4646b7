#pragma once

#include "MainDataAccess_export.h"

namespace LumoraMeasurement
{

/// Decides which rows of a representation table a selection list offers. The base accepts
/// every stored id; derived filters narrow the choice by channel context.
class MDA_EXPORT CEnumFilter
{
public:
    virtual ~CEnumFilter() = default;
    /// True when the row with stored id lId may be offered; the base offers every row.
    virtual bool IsUsable(long lId) const;
};

} // namespace LumoraMeasurement
