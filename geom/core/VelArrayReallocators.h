#pragma once
// How VelArray moves its elements when it replaces its storage.
//
// Both policies are empty classes; the array keeps one as its last field.
//   VelArrayObjectCopyReallocator: slots are default-constructed in zeroed
//     storage, filled by assignment and destroyed one by one.
//   VelArrayMemCopyReallocator: elements travel as raw bytes; no constructor
//     or destructor ever runs. Only for trivially copyable element types.

#include <cstring>
#include <new>
#include <type_traits>

template <class T>
class VelArrayObjectCopyReallocator
{
public:
    static void construct(T* slots, int count)
    {
        for (int i = 0; i < count; ++i)
            ::new (static_cast<void*>(slots + i)) T();
    }
    static void destroy(T* slots, int count)
    {
        if (!std::is_trivially_destructible<T>::value)
            for (int i = 0; i < count; ++i)
                slots[i].~T();
    }
    static void copy(T* to, const T* from, int count)
    {
        for (int i = 0; i < count; ++i)
            to[i] = from[i];
    }
};

template <class T>
class VelArrayMemCopyReallocator
{
    static_assert(std::is_trivially_copyable<T>::value,
                  "the memory-copy reallocator moves elements as raw bytes");

public:
    static void construct(T*, int) {}
    static void destroy(T*, int) {}
    static void copy(T* to, const T* from, int count)
    {
        if (count > 0)
            std::memmove(static_cast<void*>(to), static_cast<const void*>(from), sizeof(T) * static_cast<size_t>(count));
    }
};
