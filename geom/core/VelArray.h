#pragma once
// VelArray: the growable array of every library and of every interface
// between them.
//
// Storage is one contiguous block from VelMemoryControllerController, filled
// with zero bytes and (in the object-copy form) default-constructed slot by
// slot. Growth is linear: a request for n slots raises the physical length to
// the smallest multiple of the grow length that holds n. Only an explicit
// setPhysicalLength() ever returns storage before destruction or assignment.
//
// Element access (operator[], at, first, last) is unchecked: the index must
// lie in [0, logicalLength()). The changing operations that take an index
// (setAt with a negative index, insertAt, removeAt, swap, removeFirst and
// removeLast on an empty array) do nothing when it is out of range. When the
// allocator refuses storage, the array stays as it was.
//
// sort() hands the element block to qsort, which moves elements as bytes:
// use it for value types without self-references (all geometry types are).

#include "geom/core/VelArrayReallocators.h"
#include "roots/VelMemoryControllerController.h"

#include <cassert>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <type_traits>

template <class T, class R = VelArrayObjectCopyReallocator<T>>
class VelArray
{
public:
    using value_type = T;
    using Reallocator = R;
    using Compare = int (*)(const void*, const void*);

    explicit VelArray(int physicalLength = 0, int growLength = 8)
        : mLogicalLen(0), mPhysicalLen(0), mGrowLen(growLength == 0 ? 8 : growLength), mpArray(nullptr)
    {
        if (physicalLength > 0)
            setPhysicalLength(physicalLength);
    }

    VelArray(const VelArray& src) : mLogicalLen(0), mPhysicalLen(0), mGrowLen(1), mpArray(nullptr) { *this = src; }

    ~VelArray() { release(); }

    VelArray& operator=(const VelArray& src)
    {
        if (this == &src)
            return *this;
        if (src.mPhysicalLen <= 0) {
            release();
            mGrowLen = src.mGrowLen;
            return *this;
        }
        // Allocate before releasing so that a refused allocation leaves us intact.
        T* block = newBlock(src.mPhysicalLen, src.mpArray, src.mLogicalLen);
        if (!block)
            return *this;
        release();
        mpArray = block;
        mPhysicalLen = src.mPhysicalLen;
        mLogicalLen = src.mLogicalLen;
        mGrowLen = src.mGrowLen;
        return *this;
    }

    // Queries
    int logicalLength() const { return mLogicalLen; }
    int length() const { return mLogicalLen; }
    int physicalLength() const { return mPhysicalLen; }
    int growLength() const { return mGrowLen; }
    bool isEmpty() const { return mLogicalLen == 0; }

    T& operator[](int i)
    {
        assert(i >= 0 && i < mLogicalLen);
        return mpArray[i];
    }
    const T& operator[](int i) const
    {
        assert(i >= 0 && i < mLogicalLen);
        return mpArray[i];
    }
    const T& at(int i) const { return (*this)[i]; }
    T& at(int i) { return (*this)[i]; }
    T& first() { return (*this)[0]; }
    const T& first() const { return (*this)[0]; }
    T& last() { return (*this)[mLogicalLen - 1]; }
    const T& last() const { return (*this)[mLogicalLen - 1]; }

    // The element block (null when no storage is held).
    T* asArrayPtr() { return mpArray; }
    const T* asArrayPtr() const { return mpArray; }

    // Changes
    VelArray& setLogicalLength(int n)
    {
        if (n < 0)
            return *this;
        if (n > mPhysicalLen && !growTo(n))
            return *this;
        mLogicalLen = n;
        return *this;
    }

    VelArray& setPhysicalLength(int n)
    {
        if (n < 0 || (n == 0 && !mpArray))
            return *this;
        if (n == 0) {
            release();
            return *this;
        }
        const int keep = mLogicalLen < n ? mLogicalLen : n;
        T* block = newBlock(n, mpArray, keep);
        if (!block)
            return *this;
        if (mpArray) {
            R::destroy(mpArray, mPhysicalLen);
            freeBlock(mpArray);
        }
        mpArray = block;
        mPhysicalLen = n;
        mLogicalLen = keep;
        return *this;
    }

    VelArray& setGrowLength(int n)
    {
        mGrowLen = n;
        return *this;
    }

    int append(const T& value)
    {
        setAt(mLogicalLen, value);
        return mLogicalLen - 1;
    }

    VelArray& append(const VelArray& other)
    {
        const int count = other.mLogicalLen;
        if (count == 0)
            return *this;
        const int old = mLogicalLen;
        if (static_cast<long long>(old) + count > INT_MAX)
            return *this;
        if (old + count > mPhysicalLen && !growTo(old + count))
            return *this;
        // For a.append(a) the source block is our own (possibly new) block.
        const T* src = (&other == this) ? mpArray : other.mpArray;
        R::copy(mpArray + old, src, count);
        mLogicalLen = old + count;
        return *this;
    }

    VelArray& insertAt(int i, const T& value)
    {
        if (i < 0 || i > mLogicalLen)
            return *this;
        const T copy(value);  // value may live inside this array
        if (mLogicalLen + 1 > mPhysicalLen && !growTo(mLogicalLen + 1))
            return *this;
        for (int k = mLogicalLen; k > i; --k)
            mpArray[k] = mpArray[k - 1];
        mpArray[i] = copy;
        ++mLogicalLen;
        return *this;
    }

    VelArray& setAt(int i, const T& value)
    {
        if (i < 0)
            return *this;
        if (i >= mLogicalLen || !mpArray) {
            const T copy(value);
            if (i == INT_MAX || (i + 1 > mPhysicalLen && !growTo(i + 1)))
                return *this;
            mLogicalLen = i + 1;
            mpArray[i] = copy;
            return *this;
        }
        mpArray[i] = value;  // self-assignment of an element is harmless
        return *this;
    }

    VelArray& removeAt(int i)
    {
        if (i < 0 || i >= mLogicalLen)
            return *this;
        for (int k = i + 1; k < mLogicalLen; ++k)
            mpArray[k - 1] = mpArray[k];
        --mLogicalLen;
        return *this;
    }

    VelArray& removeFirst() { return removeAt(0); }

    VelArray& removeLast()
    {
        if (mLogicalLen > 0)
            --mLogicalLen;
        return *this;
    }

    bool find(const T& value, int& index, int start = 0) const
    {
        if (start < 0)
            start = 0;
        for (int k = start; k < mLogicalLen; ++k) {
            if (mpArray[k] == value) {
                index = k;
                return true;
            }
        }
        return false;
    }

    bool contains(const T& value, int start = 0) const
    {
        int index = 0;
        return find(value, index, start);
    }

    bool remove(const T& value, int start = 0)
    {
        int index = 0;
        if (!find(value, index, start))
            return false;
        removeAt(index);
        return true;
    }

    VelArray& setAll(const T& value)
    {
        const T copy(value);
        for (int k = 0; k < mLogicalLen; ++k)
            mpArray[k] = copy;
        return *this;
    }

    VelArray& swap(int i, int j)
    {
        if (i < 0 || j < 0 || i >= mLogicalLen || j >= mLogicalLen || i == j)
            return *this;
        T tmp(mpArray[i]);
        mpArray[i] = mpArray[j];
        mpArray[j] = tmp;
        return *this;
    }

    VelArray& reverse()
    {
        for (int k = 0; k < mLogicalLen / 2; ++k)
            swap(k, mLogicalLen - 1 - k);
        return *this;
    }

    VelArray& sort(Compare compare)
    {
        if (mLogicalLen > 0 && compare)
            std::qsort(static_cast<void*>(mpArray), static_cast<size_t>(mLogicalLen), sizeof(T), compare);
        return *this;
    }

    // Sorts the elements from index `from` to index `to`, both included.
    VelArray& sort(int from, int to, Compare compare)
    {
        if (!compare || from < 0 || to >= mLogicalLen || from >= to)
            return *this;
        std::qsort(static_cast<void*>(mpArray + from), static_cast<size_t>(to - from + 1), sizeof(T), compare);
        return *this;
    }

private:
    // Raises the physical length to the smallest multiple of the grow length
    // that holds n. False when the allocator refuses or the size overflows.
    bool growTo(int n)
    {
        if (n <= mPhysicalLen)
            return true;
        const long long step = mGrowLen > 0 ? mGrowLen : 8;
        const long long target = step * ((static_cast<long long>(n) - 1) / step + 1);
        if (target > INT_MAX)
            return false;
        const int before = mPhysicalLen;
        setPhysicalLength(static_cast<int>(target));
        return mPhysicalLen != before;
    }

    // A prepared block of n slots whose first `count` slots hold copies of
    // src[0 .. count). For trivially copyable elements, constructing a slot and
    // then assigning to it leaves exactly the source's bytes, so those slots
    // are filled by one block copy instead.
    static T* newBlock(int n, const T* src = nullptr, int count = 0)
    {
        const long slots = n;
        const unsigned size = sizeof(T);
        unsigned char* raw = VelMemoryControllerController::allocateArray(slots, size);
        if (!raw)
            return nullptr;
        T* block = reinterpret_cast<T*>(raw);
        if (!src)
            count = 0;
        if (std::is_trivially_copyable<T>::value) {
            if (count > 0)
                std::memcpy(raw, static_cast<const void*>(src), sizeof(T) * static_cast<size_t>(count));
            std::memset(raw + sizeof(T) * static_cast<size_t>(count), 0, sizeof(T) * static_cast<size_t>(n - count));
            R::construct(block + count, n - count);
        } else {
            std::memset(raw, 0, sizeof(T) * static_cast<size_t>(n));
            R::construct(block, n);
            R::copy(block, src, count);
        }
        return block;
    }

    static void freeBlock(T* block)
    {
        unsigned char* raw = reinterpret_cast<unsigned char*>(block);
        VelMemoryControllerController::deallocateArray(raw);
    }

    void release()
    {
        if (mpArray) {
            R::destroy(mpArray, mPhysicalLen);
            freeBlock(mpArray);
        }
        mpArray = nullptr;
        mPhysicalLen = 0;
        mLogicalLen = 0;
    }

    // Field order is part of the layout shared by the libraries.
    int mLogicalLen;
    int mPhysicalLen;
    int mGrowLen;
    T* mpArray;
    R mReallocator;
};
