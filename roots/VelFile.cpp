#include "roots/VelFile.h"

#include <cerrno>
#include <cstdarg>

int velfopen(FILE** file, const char* name, const char* mode)
{
    if (!file)
        return -1;
    *file = nullptr;
    if (!name || !mode)
        return -1;
    errno = 0;
    *file = std::fopen(name, mode);
    if (*file)
        return 0;
    return errno ? errno : -1;
}

int velfprintf(FILE* file, const char* fmt, ...)
{
    if (!file || !fmt)
        return -1;
    va_list args;
    va_start(args, fmt);
    const int n = std::vfprintf(file, fmt, args);
    va_end(args);
    return n;
}

int velfclose(FILE* file)
{
    if (!file)
        return 0;
    return std::fclose(file);
}
