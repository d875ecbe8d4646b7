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
    virtual bool IsUsable(long lId) const;
};

} // namespace LumoraMeasurement
