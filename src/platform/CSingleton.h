#pragma once

#include "MainDataAccess_export.h"

namespace OrvelFramework
{

/// The one process-wide instance of T, created on first use (thread-safe, never destroyed
/// before the other statics that may log while they are torn down).
template <typename T> class MDA_EXPORT CSingleton
{
public:
    /// The instance, created on first use; the library and the application share it.
    static T& GetInstance()
    {
        static T* s_pInstance = new T();
        return *s_pInstance;
    }

    CSingleton() = delete;
};

} // namespace OrvelFramework
