#pragma once
// Raw storage of the growable arrays.

class VelMemoryControllerController
{
public:
    // Uninitialised storage for count elements of elementSize bytes, or null
    // when count or elementSize is not positive, the size overflows, the block
    // exceeds the configured limit or the system has no memory.
    static unsigned char* allocateArray(const long& count, const unsigned& elementSize);

    // Releases storage from allocateArray; null is ignored. The caller's
    // pointer is left as it is: callers set it to null themselves.
    static void deallocateArray(unsigned char*& storage);

    // Largest block (in bytes) that allocateArray hands out; 0 means no limit
    // (the default). Lets callers and tests bound memory use and exercise the
    // out-of-memory paths of the arrays.
    static void setMaxBlockSize(unsigned long long bytes);
    static unsigned long long maxBlockSize();

    // Blocks currently handed out and not yet released.
    static long outstandingBlocks();
};
