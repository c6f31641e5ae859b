#include "roots/odbc/VelOdbc.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace {

std::string trim(const std::string& s)
{
    const char* ws = " \t\r\n";
    const size_t a = s.find_first_not_of(ws);
    if (a == std::string::npos)
        return std::string();
    const size_t b = s.find_last_not_of(ws);
    return s.substr(a, b - a + 1);
}

bool parseInt(const std::string& text, int& out)
{
    if (text.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || end == text.c_str() || *end != '\0' || v < INT_MIN || v > INT_MAX)
        return false;
    out = static_cast<int>(v);
    return true;
}

} // namespace

int vel_odbc_getDefault(const char* key, int& value, bool quiet)
{
    if (!key || !*key)
        return 0;
    const char* path = std::getenv("KIV_DEFAULTS_FILE");
    if (!path || !*path)
        return 0;
    std::ifstream in(path);
    if (!in)
        return 0;
    const std::string wanted = trim(key);
    std::string line;
    while (std::getline(in, line)) {
        const std::string t = trim(line);
        if (t.empty() || t[0] == '#' || t[0] == ';')
            continue;
        const size_t eq = t.find('=');
        if (eq == std::string::npos || trim(t.substr(0, eq)) != wanted)
            continue;
        int parsed = 0;
        if (!parseInt(trim(t.substr(eq + 1)), parsed)) {
            if (!quiet)
                std::fprintf(stderr, "kivodbc: default \"%s\" in %s is not an integer\n", wanted.c_str(), path);
            return 0;
        }
        value = parsed;
        return 1;
    }
    return 0;
}

int vel_odbc_getDefault(const VelString& key, int& value, bool quiet)
{
    return vel_odbc_getDefault(key.getStringA(), value, quiet);
}
