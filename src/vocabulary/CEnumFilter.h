#pragma once

namespace LumoraMeasurement
{

/// Decides which rows of a representation table a selection list offers. The base accepts
/// every stored id; derived filters narrow the choice by channel context.
class CEnumFilter
{
public:
    virtual ~CEnumFilter() = default;
    virtual bool IsUsable(long lId) const;
};

} // namespace LumoraMeasurement
