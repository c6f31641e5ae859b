#include "roots/KivFileFilerCallBack.h"

KivFileFilerCallBack::KivFileFilerCallBack(const VelString& path, Mode mode) : m_mode(mode)
{
    m_file = std::fopen(path.getStringA(), mode == eWrite ? "wb" : "rb");
}

KivFileFilerCallBack::~KivFileFilerCallBack() { close(); }

bool KivFileFilerCallBack::close()
{
    if (!m_file)
        return !m_failed;
    const bool ok = std::fclose(m_file) == 0;
    m_file = nullptr;
    m_failed = m_failed || !ok;
    return !m_failed;
}

bool KivFileFilerCallBack::saveBytes(const void* data, int size)
{
    if (!m_file || m_mode != eWrite || size < 0 || (size > 0 && !data))
        return false;
    if (size == 0)
        return true;
    const bool ok = std::fwrite(data, 1, static_cast<size_t>(size), m_file) == static_cast<size_t>(size);
    m_failed = m_failed || !ok;
    return ok;
}

bool KivFileFilerCallBack::restoreBytes(void* data, int size)
{
    if (!m_file || m_mode != eRead || size < 0 || (size > 0 && !data))
        return false;
    if (size == 0)
        return true;
    return std::fread(data, 1, static_cast<size_t>(size), m_file) == static_cast<size_t>(size);
}
