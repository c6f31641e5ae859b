#include "roots/KivMemoryFilerCallBack.h"

#include <cstring>

bool KivMemoryFilerCallBack::saveBytes(const void* data, int size)
{
    if (size < 0 || (size > 0 && !data))
        return false;
    const auto* p = static_cast<const unsigned char*>(data);
    m_bytes.insert(m_bytes.end(), p, p + size);
    return true;
}

bool KivMemoryFilerCallBack::restoreBytes(void* data, int size)
{
    if (size < 0 || (size > 0 && !data))
        return false;
    if (static_cast<size_t>(size) > m_bytes.size() - m_readPos)
        return false;
    if (size > 0)
        std::memcpy(data, m_bytes.data() + m_readPos, static_cast<size_t>(size));
    m_readPos += static_cast<size_t>(size);
    return true;
}
