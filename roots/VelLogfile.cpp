#include "roots/VelLogfile.h"

#include <cstdio>
#include <cstring>

int VelLogfile::s_logStatus = 0;

VelLogfile::VelLogfile(const VelString& fileName) : m_fileName(fileName) {}

VelLogfile::~VelLogfile() = default;

int VelLogfile::appendWithSave(const VelString& text)
{
    if (!s_logStatus || m_fileName.isEmpty())
        return 0;
    std::FILE* f = std::fopen(m_fileName.getStringA(), "a");
    if (!f)
        return 0;
    const char* bytes = text.getStringA();
    const size_t size = std::strlen(bytes);
    const bool ok = std::fwrite(bytes, 1, size, f) == size && std::fflush(f) == 0;
    return (std::fclose(f) == 0 && ok) ? 1 : 0;
}

void VelLogfile::setLogStatus(int on) { s_logStatus = on ? 1 : 0; }

int VelLogfile::logStatus() { return s_logStatus; }
