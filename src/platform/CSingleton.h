#pragma once

namespace OrvelFramework
{

/// The one process-wide instance of T, created on first use (thread-safe, never destroyed
/// before the other statics that may log while they are torn down).
template <typename T> class CSingleton
{
public:
    static T& GetInstance()
    {
        static T* s_pInstance = new T();
        return *s_pInstance;
    }

    CSingleton() = delete;
};

} // namespace OrvelFramework
