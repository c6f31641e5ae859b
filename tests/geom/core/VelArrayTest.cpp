#include "geom/core/VelArray.h"
#include "geom/core/VelGeomPoint2d.h"
#include "geom/core/VelGeomPoint3d.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Counts constructions and destructions to check the object-copy form's
// slot handling.
struct Tracked {
    static int alive;
    static int constructed;
    int value;
    Tracked() : value(-1)
    {
        ++alive;
        ++constructed;
    }
    Tracked(int v) : value(v)
    {
        ++alive;
        ++constructed;
    }
    Tracked(const Tracked& o) : value(o.value)
    {
        ++alive;
        ++constructed;
    }
    Tracked& operator=(const Tracked& o) = default;
    ~Tracked() { --alive; }
    bool operator==(const Tracked& o) const { return value == o.value; }
};
int Tracked::alive = 0;
int Tracked::constructed = 0;

int compareInts(const void* a, const void* b)
{
    const int x = *static_cast<const int*>(a), y = *static_cast<const int*>(b);
    return x < y ? -1 : (x > y ? 1 : 0);
}

// Restores the allocator limit however a test ends.
struct AllocationLimit {
    explicit AllocationLimit(unsigned long long bytes) { VelMemoryControllerController::setMaxBlockSize(bytes); }
    ~AllocationLimit() { VelMemoryControllerController::setMaxBlockSize(0); }
};

} // namespace

TEST(VelArray, LayoutIsThreeIntsThenTheBlockPointer)
{
    struct Expected {
        int logical, physical, grow;
        void* data;
        char policy;
    };
    EXPECT_EQ(sizeof(VelArray<int>), sizeof(Expected));
    VelArray<int> a(10, 4);
    a.setLogicalLength(3);
    const int* raw = reinterpret_cast<const int*>(&a);
    EXPECT_EQ(raw[0], 3);
    EXPECT_EQ(raw[1], 10);
    EXPECT_EQ(raw[2], 4);
}

TEST(VelArray, LinearGrowthInStepsOfTheGrowLength)
{
    VelArray<int> a;
    EXPECT_EQ(a.growLength(), 8);
    EXPECT_EQ(a.physicalLength(), 0);
    EXPECT_EQ(a.asArrayPtr(), nullptr);
    std::vector<int> reallocatedAt;
    const int* block = a.asArrayPtr();
    for (int i = 0; i < 25; ++i) {
        EXPECT_EQ(a.append(i), i);
        if (a.asArrayPtr() != block) {
            reallocatedAt.push_back(i + 1);
            block = a.asArrayPtr();
        }
    }
    EXPECT_EQ(reallocatedAt, (std::vector<int>{1, 9, 17, 25}));
    EXPECT_EQ(a.physicalLength(), 32);
    for (int i = 0; i < 25; ++i)
        EXPECT_EQ(a[i], i);

    VelArray<int> zeroGrow(0, 0);
    EXPECT_EQ(zeroGrow.growLength(), 8);
    VelArray<int> step3(0, 3);
    step3.setLogicalLength(7);
    EXPECT_EQ(step3.physicalLength(), 9);  // smallest multiple of 3 holding 7
}

TEST(VelArray, SetAtPastTheEndExtendsWithZeroSlots)
{
    VelArray<VelGeomPoint3d> a;
    a.setAt(5, VelGeomPoint3d(1, 2, 3));
    EXPECT_EQ(a.length(), 6);
    EXPECT_EQ(a.physicalLength(), 8);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(a[i].x + a[i].y + a[i].z, 0.0);
    EXPECT_EQ(a[5].z, 3.0);
    a.setAt(-1, VelGeomPoint3d(9, 9, 9));  // refused
    EXPECT_EQ(a.length(), 6);

    VelArray<int*> ptrs;
    ptrs.setLogicalLength(4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(ptrs[i], nullptr);
}

TEST(VelArray, ShrinkingTheLogicalLengthKeepsSlotContents)
{
    VelArray<int> a;
    for (int i = 0; i < 10; ++i)
        a.append(i * 10);
    const int phys = a.physicalLength();
    a.setLogicalLength(3);
    EXPECT_EQ(a.physicalLength(), phys);
    a.setLogicalLength(10);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(a[i], i * 10);
    // Growing past the storage reallocates and keeps only the logical elements.
    a.setLogicalLength(3);
    a.setLogicalLength(17);
    EXPECT_EQ(a.physicalLength(), 24);
    EXPECT_EQ(a[2], 20);
    for (int i = 3; i < 17; ++i)
        EXPECT_EQ(a[i], 0);
}

TEST(VelArray, SetPhysicalLengthCutsAndReleases)
{
    VelArray<int> a;
    for (int i = 0; i < 10; ++i)
        a.append(i);
    a.setPhysicalLength(4);
    EXPECT_EQ(a.physicalLength(), 4);
    EXPECT_EQ(a.length(), 4);
    EXPECT_EQ(a[3], 3);
    a.setPhysicalLength(-2);
    EXPECT_EQ(a.physicalLength(), 4);
    const long blocks = VelMemoryControllerController::outstandingBlocks();
    a.setPhysicalLength(0);
    EXPECT_EQ(VelMemoryControllerController::outstandingBlocks(), blocks - 1);
    EXPECT_EQ(a.asArrayPtr(), nullptr);
    EXPECT_EQ(a.length(), 0);
    EXPECT_EQ(a.physicalLength(), 0);
    a.setPhysicalLength(0);  // nothing held: nothing happens
    EXPECT_EQ(VelMemoryControllerController::outstandingBlocks(), blocks - 1);
}

TEST(VelArray, InsertRemoveAndSelfAliasing)
{
    VelArray<std::string> a;
    a.append("x");
    a.append("y");
    a.append("z");
    a.insertAt(0, a[2]);  // the value lives inside the array
    EXPECT_EQ(a.length(), 4);
    EXPECT_EQ(a[0], "z");
    EXPECT_EQ(a[1], "x");
    EXPECT_EQ(a[3], "z");
    a.insertAt(4, "end");  // at the logical length: appends
    EXPECT_EQ(a.last(), "end");
    a.insertAt(9, "never");  // out of range: refused
    EXPECT_EQ(a.length(), 5);

    // Growth while inserting an element of the array itself.
    VelArray<std::string> full(0, 2);
    full.append("a");
    full.append("b");
    full.insertAt(1, full[1]);
    EXPECT_EQ(full.length(), 3);
    EXPECT_EQ(full[0], "a");
    EXPECT_EQ(full[1], "b");
    EXPECT_EQ(full[2], "b");
    full.setAt(3, full[0]);  // setAt past the end with a reallocation
    EXPECT_EQ(full[3], "a");

    const int phys = a.physicalLength();
    a.removeAt(0);
    EXPECT_EQ(a.first(), "x");
    a.removeFirst();
    a.removeLast();
    EXPECT_EQ(a.length(), 2);
    EXPECT_EQ(a.physicalLength(), phys);  // storage is kept
    a.removeAt(5);
    EXPECT_EQ(a.length(), 2);
    VelArray<int> empty;
    empty.removeLast();
    empty.removeFirst();
    EXPECT_EQ(empty.length(), 0);
}

TEST(VelArray, AppendArraysIncludingItself)
{
    VelArray<int> a;
    VelArray<int> b;
    a.append(b);
    EXPECT_EQ(a.physicalLength(), 0);  // empty source: nothing happens
    for (int i = 0; i < 6; ++i)
        a.append(i);
    a.append(a);  // grows from 8 to 16 while copying from itself
    ASSERT_EQ(a.length(), 12);
    EXPECT_EQ(a.physicalLength(), 16);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(a[i], i % 6);
}

TEST(VelArray, FindContainsRemoveUseTheElementEquality)
{
    VelArray<int> a;
    for (int v : {4, 7, 9, 1, 6, 9})
        a.append(v);
    int index = -1;
    EXPECT_TRUE(a.find(9, index, 3));
    EXPECT_EQ(index, 5);
    EXPECT_TRUE(a.find(9, index));
    EXPECT_EQ(index, 2);
    index = -1;
    EXPECT_FALSE(a.find(9, index, 6));  // start at the logical length
    EXPECT_FALSE(a.find(3, index));
    EXPECT_EQ(index, -1);
    EXPECT_TRUE(a.contains(4));
    EXPECT_FALSE(a.contains(4, 1));
    EXPECT_TRUE(a.remove(9, 3));
    EXPECT_EQ(a.length(), 5);
    EXPECT_EQ(a[2], 9);

    // 3D points find within 1e-8 per coordinate, 2D points within gTol.
    VelArray<VelGeomPoint3d> p3;
    p3.append(VelGeomPoint3d(1, 1, 1));
    EXPECT_TRUE(p3.contains(VelGeomPoint3d(1 + 0.9e-8, 1, 1)));
    EXPECT_FALSE(p3.contains(VelGeomPoint3d(1 + 1.1e-8, 1, 1)));
    VelArray<VelGeomPoint2d> p2;
    p2.append(VelGeomPoint2d(1, 1));
    EXPECT_TRUE(p2.contains(VelGeomPoint2d(1 + 0.5e-10, 1)));
    EXPECT_FALSE(p2.contains(VelGeomPoint2d(1 + 1e-9, 1)));
}

TEST(VelArray, SwapReverseSetAllAndSortRanges)
{
    VelArray<int> a;
    for (int v : {5, 4, 3, 2, 1})
        a.append(v);
    a.sort(1, 3, compareInts);
    EXPECT_EQ(a[0], 5);
    EXPECT_EQ(a[1], 2);
    EXPECT_EQ(a[2], 3);
    EXPECT_EQ(a[3], 4);
    EXPECT_EQ(a[4], 1);
    a.sort(compareInts);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(a[i], i + 1);
    a.reverse();
    EXPECT_EQ(a[0], 5);
    EXPECT_EQ(a[2], 3);
    EXPECT_EQ(a[4], 1);
    a.swap(0, 4);
    EXPECT_EQ(a[0], 1);
    EXPECT_EQ(a[4], 5);
    a.swap(0, 7);  // out of range: refused
    EXPECT_EQ(a[0], 1);
    a.setAll(8);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(a[i], 8);
    VelArray<int> empty;
    empty.sort(compareInts);
    empty.reverse();
    EXPECT_TRUE(empty.isEmpty());
}

TEST(VelArray, CopiesAreIndependentAndTakeTheSourceShape)
{
    VelArray<int> a(0, 5);
    for (int i = 0; i < 7; ++i)
        a.append(i);
    VelArray<int> b(a);
    EXPECT_EQ(b.length(), 7);
    EXPECT_EQ(b.physicalLength(), 10);
    EXPECT_EQ(b.growLength(), 5);
    EXPECT_NE(b.asArrayPtr(), a.asArrayPtr());
    b[0] = 100;
    EXPECT_EQ(a[0], 0);
    VelArray<int> c(0, 1);
    c = a;
    c = c;  // self-assignment leaves it unchanged
    EXPECT_EQ(c.length(), 7);
    EXPECT_EQ(c[6], 6);
    VelArray<int> empty(0, 3);
    c = empty;
    EXPECT_EQ(c.length(), 0);
    EXPECT_EQ(c.physicalLength(), 0);
    EXPECT_EQ(c.growLength(), 3);
}

TEST(VelArray, ObjectCopyFormConstructsAndDestroysEverySlot)
{
    Tracked::alive = 0;
    {
        VelArray<Tracked> a;
        a.append(Tracked(1));
        // One block of 8 slots, every slot constructed (the temporary is gone).
        EXPECT_EQ(Tracked::alive, 8);
        for (int i = 2; i <= 9; ++i)
            a.append(Tracked(i));
        EXPECT_EQ(Tracked::alive, 16);  // the old block's 8 slots were destroyed
        EXPECT_EQ(a[8].value, 9);
        EXPECT_EQ(a[0].value, 1);
        a.setPhysicalLength(4);
        EXPECT_EQ(Tracked::alive, 4);
        VelArray<Tracked> b(a);
        EXPECT_EQ(Tracked::alive, 8);
    }
    EXPECT_EQ(Tracked::alive, 0);
}

TEST(VelArray, MemCopyFormMovesBytesAndIsADistinctType)
{
    VelArray<double, VelArrayMemCopyReallocator<double>> a(0, 2);
    for (int i = 0; i < 5; ++i)
        a.append(i * 0.5);
    EXPECT_EQ(a.physicalLength(), 6);
    VelArray<double, VelArrayMemCopyReallocator<double>> b = a;
    EXPECT_EQ(b[4], 2.0);
    EXPECT_EQ(b.physicalLength(), 6);
    a.setLogicalLength(6);
    EXPECT_EQ(a[5], 0.0);  // new storage is zero-filled
    static_assert(!std::is_same<VelArray<double>, VelArray<double, VelArrayMemCopyReallocator<double>>>::value,
                  "the two forms are distinct types");
}

TEST(VelArray, RefusedAllocationLeavesTheArrayAsItWas)
{
    VelArray<int> a;
    for (int i = 0; i < 8; ++i)
        a.append(i);
    {
        AllocationLimit limit(8 * sizeof(int));
        a.append(99);  // needs a 16-slot block: refused
        EXPECT_EQ(a.length(), 8);
        EXPECT_EQ(a.physicalLength(), 8);
        a.insertAt(0, 5);
        EXPECT_EQ(a[0], 0);
        a.setLogicalLength(12);
        EXPECT_EQ(a.length(), 8);
        VelArray<int> big;
        for (int i = 0; i < 20; ++i)
            big.append(i);
        a = big;  // cannot allocate 24 slots: a keeps its content
        EXPECT_EQ(a.length(), 8);
        EXPECT_EQ(a[7], 7);
        VelArray<int> fresh(100);
        EXPECT_EQ(fresh.physicalLength(), 0);
    }
    a.append(99);
    EXPECT_EQ(a.length(), 9);
}
