#include "roots/VelMemoryControllerController.h"

#include <cstdlib>
#include <limits>

namespace {
unsigned long long g_maxBlock = 0;
long g_outstanding = 0;
}

unsigned char* VelMemoryControllerController::allocateArray(const long& count, const unsigned& elementSize)
{
    if (count <= 0 || elementSize == 0)
        return nullptr;
    const unsigned long long n = static_cast<unsigned long long>(count);
    if (n > std::numeric_limits<size_t>::max() / elementSize)
        return nullptr;
    const unsigned long long bytes = n * elementSize;
    if (g_maxBlock != 0 && bytes > g_maxBlock)
        return nullptr;
    auto* p = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(bytes)));
    if (p)
        ++g_outstanding;
    return p;
}

void VelMemoryControllerController::deallocateArray(unsigned char*& storage)
{
    if (!storage)
        return;
    std::free(storage);
    --g_outstanding;
}

void VelMemoryControllerController::setMaxBlockSize(unsigned long long bytes) { g_maxBlock = bytes; }

unsigned long long VelMemoryControllerController::maxBlockSize() { return g_maxBlock; }

long VelMemoryControllerController::outstandingBlocks() { return g_outstanding; }
