#include "dom/VelDOM.h"
#include "dom/VelDOMTraceInternal.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace
{
const char* const kLogName = "VelDOMErrorLog.txt";

// Plain data only: handles of static lifetime trace from their destructors at
// process exit, so the log must not be destroyed before them.
struct TraceLog
{
    int level;
    bool opened;       // an open was attempted
    std::FILE* file;
    std::string* path; // explicit target, or null for the default folder
};

TraceLog gLog = {1, false, nullptr, nullptr};

std::string defaultPath()
{
    const char* dir = std::getenv("VELDOM_LOG_DIR");
    if (!dir || !*dir)
        dir = std::getenv("TMPDIR");
    if (!dir || !*dir)
        dir = "/tmp";
    std::string p(dir);
    if (p.back() != '/')
        p += '/';
    return p + kLogName;
}

std::FILE* logFile()
{
    if (!gLog.opened) {
        gLog.opened = true;
        const std::string p = gLog.path ? *gLog.path : defaultPath();
        // The default folder may be shared: never follow a planted link.
        const int fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd >= 0) {
            gLog.file = ::fdopen(fd, "w");
            if (!gLog.file)
                ::close(fd);
        }
    }
    return gLog.file;
}
}

VelDOM::Error VelDOM::checkString(const char* s, int allowEmpty)
{
    if (!s)
        return eInvalidArgument;
    if (allowEmpty)
        return eOk;
    return *s ? eOk : eEmptyOrMissing;
}

void VelDOM::error(const char* message, void* object)
{
    const int level = gLog.level;
    bool write = false;
    switch (level) {
    case 1: write = object == nullptr; break;
    case 2: write = object != nullptr; break;
    case 3: write = true; break;
    default: break;
    }
    if (!write)
        return;
    std::FILE* f = logFile();
    if (!f)
        return;
    if (!message)
        message = "";
    if (level == 1)
        std::fprintf(f, "%s\n", message);
    else
        std::fprintf(f, "%ju:%s\n", static_cast<std::uintmax_t>(reinterpret_cast<std::uintptr_t>(object)), message);
    std::fflush(f);
}

int VelDOMTrace::level() { return gLog.level; }

void VelDOMTrace::setLevel(int level) { gLog.level = level; }

std::string VelDOMTrace::logPath() { return gLog.path ? *gLog.path : defaultPath(); }

void VelDOMTrace::redirect(const std::string& path)
{
    if (gLog.file)
        std::fclose(gLog.file);
    gLog.file = nullptr;
    gLog.opened = false;
    delete gLog.path;
    gLog.path = path.empty() ? nullptr : new std::string(path);
}
