#include "dom/xerces/VelXercesStringsInternal.h"

#include <cstring>

namespace
{
bool isXmlChar(unsigned long c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0x10FFFF);
}

// Next code point of UTF-16 text; unpaired surrogates become U+FFFD.
unsigned long nextCodePoint(const XMLCh* text, size_t size, size_t& i)
{
    const unsigned long c = text[i++];
    if (c >= 0xD800 && c <= 0xDBFF && i < size) {
        const unsigned long low = text[i];
        if (low >= 0xDC00 && low <= 0xDFFF) {
            ++i;
            return 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        }
    }
    if (c >= 0xD800 && c <= 0xDFFF)
        return 0xFFFD;
    return c;
}

size_t lengthOf(const XMLCh* text)
{
    size_t n = 0;
    while (text[n])
        ++n;
    return n;
}
}

VelXString VelXercesStrings::fromWide(const wchar_t* text, size_t size)
{
    VelXString out;
    out.reserve(size);
    for (size_t i = 0; i < size; ++i) {
        unsigned long c = static_cast<unsigned long>(text[i]);
        if (sizeof(wchar_t) == 2) {
            out.push_back(static_cast<XMLCh>(c));
            continue;
        }
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            c = 0xFFFD;
        if (c >= 0x10000) {
            c -= 0x10000;
            out.push_back(static_cast<XMLCh>(0xD800 + (c >> 10)));
            out.push_back(static_cast<XMLCh>(0xDC00 + (c & 0x3FF)));
        } else {
            out.push_back(static_cast<XMLCh>(c));
        }
    }
    return out;
}

VelXString VelXercesStrings::fromVelString(const VelString& text)
{
    return fromWide(text.getStringW(), static_cast<size_t>(text.length()));
}

VelXString VelXercesStrings::fromUtf8(const char* text)
{
    if (!text)
        return VelXString();
    const std::wstring wide = VelString::widen(text, std::strlen(text));
    return fromWide(wide.data(), wide.size());
}

VelString VelXercesStrings::toVelString(const XMLCh* text)
{
    return text ? toVelString(text, lengthOf(text)) : VelString();
}

VelString VelXercesStrings::toVelString(const XMLCh* text, size_t size)
{
    if (!text)
        return VelString();
    std::wstring wide;
    wide.reserve(size);
    for (size_t i = 0; i < size;) {
        if (sizeof(wchar_t) == 2)
            wide.push_back(static_cast<wchar_t>(text[i++]));
        else
            wide.push_back(static_cast<wchar_t>(nextCodePoint(text, size, i)));
    }
    return VelString(wide.c_str());
}

void VelXercesStrings::appendUtf8(std::string& out, const XMLCh* text, size_t size)
{
    for (size_t i = 0; i < size;)
        VelString::appendUtf8(out, nextCodePoint(text, size, i));
}

std::string VelXercesStrings::narrowText(const VelString& text)
{
    const wchar_t* w = text.getStringW();
    const size_t n = static_cast<size_t>(text.length());
    size_t bytes = 0;
    size_t end = 0;
    for (; end < n && w[end] != 0; ++end) {
        const unsigned long c = static_cast<unsigned long>(w[end]);
        bytes += c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 || c > 0x10FFFF ? 3 : 4;
    }
    if (sizeof(wchar_t) == 2) {
        // Surrogate pairs: rare enough for the general conversion.
        std::string s = text.getStringA();
        return s;
    }
    std::string out(bytes, '\0');
    char* p = &out[0];
    for (size_t i = 0; i < end; ++i) {
        unsigned long c = static_cast<unsigned long>(w[i]);
        if (c < 0x80) {
            *p++ = static_cast<char>(c);
            continue;
        }
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            c = 0xFFFD;
        if (c < 0x800) {
            *p++ = static_cast<char>(0xC0 | (c >> 6));
            *p++ = static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            *p++ = static_cast<char>(0xE0 | (c >> 12));
            *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            *p++ = static_cast<char>(0x80 | (c & 0x3F));
        } else {
            *p++ = static_cast<char>(0xF0 | (c >> 18));
            *p++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            *p++ = static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string VelXercesStrings::toUtf8(const XMLCh* text)
{
    std::string out;
    if (text)
        appendUtf8(out, text, lengthOf(text));
    return out;
}

bool VelXercesStrings::isXmlText(const VelString& text)
{
    const wchar_t* w = text.getStringW();
    const int n = text.length();
    for (int i = 0; i < n; ++i) {
        unsigned long c = static_cast<unsigned long>(w[i]);
        if (sizeof(wchar_t) == 2 && c >= 0xD800 && c <= 0xDFFF)
            continue;  // pairs were checked by the conversion from UTF-8
        if (!isXmlChar(c))
            return false;
    }
    return true;
}

bool VelXercesStrings::isXmlText(const char* utf8)
{
    return utf8 && isXmlText(VelString(utf8));
}
