#pragma once
// A filer channel over a byte buffer in memory: writes append to the buffer,
// reads consume it from a cursor. Used to copy bodies and in tests.

#include "roots/KivFilerCallBack.h"

#include <cstddef>
#include <vector>

class KivMemoryFilerCallBack : public KivFilerCallBack
{
public:
    KivMemoryFilerCallBack() = default;
    explicit KivMemoryFilerCallBack(std::vector<unsigned char> bytes) : m_bytes(std::move(bytes)) {}

    bool saveBytes(const void* data, int size) override;
    bool restoreBytes(void* data, int size) override;

    const std::vector<unsigned char>& bytes() const { return m_bytes; }
    std::vector<unsigned char>& bytes() { return m_bytes; }
    size_t readPosition() const { return m_readPos; }
    void rewind() { m_readPos = 0; }
    void clear()
    {
        m_bytes.clear();
        m_readPos = 0;
    }

private:
    std::vector<unsigned char> m_bytes;
    size_t m_readPos = 0;
};
