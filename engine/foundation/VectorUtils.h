// The program's idioms for a vector that owns the objects its pointers point at.
#pragma once

#include <algorithm>
#include <type_traits>
#include <vector>

namespace KeystrelEngine {

// Deletes every non-null element through its virtual destructor, then clears the vector.
template <typename T> void DestroyAllAndClear(std::vector<T*>& v)
{
    static_assert(std::has_virtual_destructor_v<T>, "DestroyAllAndClear is for polymorphic objects");
    for (T* element : v)
        delete element;
    v.clear();
}

// Frees every element of a plain record type, then clears the vector.
template <typename T> void DeleteAllAndClear(std::vector<T*>& v)
{
    static_assert(!std::has_virtual_destructor_v<T>, "DeleteAllAndClear is for plain records");
    for (T* element : v)
        delete element;
    v.clear();
}

// Removes the null elements and keeps the order of the others.
template <typename T> void RemoveNullPointers(std::vector<T*>& v)
{
    v.erase(std::remove(v.begin(), v.end(), nullptr), v.end());
}

} // namespace KeystrelEngine
