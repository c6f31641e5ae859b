#include "roots/VelString.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

VelString::VelString() = default;

VelString::VelString(const char* text)
{
    if (text)
        m_text = widen(text, std::strlen(text));
}

VelString::VelString(const wchar_t* text)
{
    if (text)
        m_text = text;
}

VelString::VelString(const VelString& other) : m_text(other.m_text) {}

VelString::~VelString() = default;

VelString& VelString::operator=(const VelString& other)
{
    if (this != &other) {
        m_text = other.m_text;
        m_narrowValid = false;
    }
    return *this;
}

VelString& VelString::operator=(const char* text)
{
    m_text = text ? widen(text, std::strlen(text)) : std::wstring();
    m_narrowValid = false;
    return *this;
}

VelString& VelString::format(const char* fmt, ...)
{
    if (!fmt) {
        m_text.clear();
        m_narrowValid = false;
        return *this;
    }
    char small[256];
    va_list args;
    va_start(args, fmt);
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(small, sizeof small, fmt, args);
    va_end(args);
    if (needed < 0) {
        m_text.clear();
    } else if (static_cast<size_t>(needed) < sizeof small) {
        m_text = widen(small, static_cast<size_t>(needed));
    } else {
        std::vector<char> big(static_cast<size_t>(needed) + 1);
        std::vsnprintf(big.data(), big.size(), fmt, copy);
        m_text = widen(big.data(), static_cast<size_t>(needed));
    }
    va_end(copy);
    m_narrowValid = false;
    return *this;
}

const char* VelString::getStringA() const
{
    if (!m_narrowValid) {
        m_narrow = narrow(m_text.data(), m_text.size());
        m_narrowValid = true;
    }
    return m_narrow.c_str();
}

const wchar_t* VelString::getStringW() const { return m_text.c_str(); }

int VelString::length() const { return static_cast<int>(m_text.size()); }

wchar_t VelString::operator[](int index) const
{
    if (index < 0 || static_cast<size_t>(index) >= m_text.size())
        return 0;
    return m_text[static_cast<size_t>(index)];
}

VelString VelString::operator+(const VelString& other) const
{
    VelString result(*this);
    result += other;
    return result;
}

VelString& VelString::operator+=(const VelString& other)
{
    m_text += other.m_text;  // safe for s += s: std::wstring copies first
    m_narrowValid = false;
    return *this;
}

std::wstring VelString::widen(const char* utf8, size_t size)
{
    std::wstring out;
    out.reserve(size);
    const auto* s = reinterpret_cast<const unsigned char*>(utf8);
    size_t i = 0;
    while (i < size) {
        const unsigned char c = s[i];
        unsigned long cp = 0xFFFD;
        size_t extra = 0;
        if (c < 0x80) {
            cp = c;
        } else if ((c & 0xE0) == 0xC0) {
            cp = c & 0x1F;
            extra = 1;
        } else if ((c & 0xF0) == 0xE0) {
            cp = c & 0x0F;
            extra = 2;
        } else if ((c & 0xF8) == 0xF0) {
            cp = c & 0x07;
            extra = 3;
        } else {
            out.push_back(static_cast<wchar_t>(0xFFFD));
            ++i;
            continue;
        }
        bool ok = i + extra < size;  // a sequence cut off by the end is invalid
        for (size_t k = 1; ok && k <= extra; ++k) {
            if ((s[i + k] & 0xC0) != 0x80)
                ok = false;
            else
                cp = (cp << 6) | (s[i + k] & 0x3F);
        }
        if (ok) {
            static const unsigned long minimum[4] = {0, 0x80, 0x800, 0x10000};
            if (cp < minimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
                ok = false;
        }
        if (!ok) {
            out.push_back(static_cast<wchar_t>(0xFFFD));
            ++i;  // resynchronise on the next byte
            continue;
        }
        if (sizeof(wchar_t) == 2 && cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<wchar_t>(cp));
        }
        i += extra + 1;
    }
    return out;
}

std::string VelString::narrow(const wchar_t* text, size_t size)
{
    std::string out;
    out.reserve(size);
    for (size_t i = 0; i < size; ++i) {
        unsigned long cp = static_cast<unsigned long>(text[i]);
        if (sizeof(wchar_t) == 2 && cp >= 0xD800 && cp <= 0xDBFF && i + 1 < size) {
            const unsigned long low = static_cast<unsigned long>(text[i + 1]);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        appendUtf8(out, cp);
    }
    return out;
}

void VelString::appendUtf8(std::string& out, unsigned long cp)
{
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        cp = 0xFFFD;
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}
