#include "dom/VelDOMFiler.h"
#include "roots/VelString.h"

#include <cstdio>
#include <string>
#include <vector>

VelDOMElement VelDOMFiler::InvalidElement;

namespace
{
enum class ArgKind { Int, Long, LongLong, Double, LongDouble, Invalid };

// The one conversion of a caller's number format decides how the value is
// passed; anything printf could misread (%s, %n, *, two conversions) is refused.
ArgKind argumentKind(const char* format, bool integral)
{
    ArgKind kind = ArgKind::Invalid;
    int conversions = 0;
    for (const char* p = format; *p; ++p) {
        if (*p != '%')
            continue;
        ++p;
        if (*p == '%')
            continue;
        while (*p == '-' || *p == '+' || *p == ' ' || *p == '#' || *p == '0' || *p == '\'')
            ++p;
        while (*p >= '0' && *p <= '9')
            ++p;
        if (*p == '.') {
            ++p;
            while (*p >= '0' && *p <= '9')
                ++p;
        }
        int longs = 0;
        bool shorts = false;
        bool bigL = false;
        while (*p == 'l' || *p == 'h' || *p == 'L') {
            if (*p == 'l')
                ++longs;
            else if (*p == 'h')
                shorts = true;
            else
                bigL = true;
            ++p;
        }
        if (!*p)
            return ArgKind::Invalid;
        const char c = *p;
        ++conversions;
        if (integral) {
            if (bigL || longs > 2 || (shorts && longs) || std::string("diouxX").find(c) == std::string::npos)
                return ArgKind::Invalid;
            kind = longs == 2 ? ArgKind::LongLong : longs == 1 ? ArgKind::Long : ArgKind::Int;
        } else {
            if (shorts || longs > 1 || (bigL && longs) || std::string("fFeEgGaA").find(c) == std::string::npos)
                return ArgKind::Invalid;
            kind = bigL ? ArgKind::LongDouble : ArgKind::Double;
        }
    }
    return conversions == 1 ? kind : ArgKind::Invalid;
}

template <typename T>
bool printTo(std::string& out, const char* format, T value)
{
    const int needed = std::snprintf(nullptr, 0, format, value);
    if (needed < 0)
        return false;
    std::vector<char> buffer(static_cast<size_t>(needed) + 1);
    std::snprintf(buffer.data(), buffer.size(), format, value);
    out.assign(buffer.data(), static_cast<size_t>(needed));
    return true;
}

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#endif
bool formatLong(std::string& out, long value, const char* format)
{
    if (!format)
        format = "%ld";
    switch (argumentKind(format, true)) {
    case ArgKind::Int: return printTo(out, format, static_cast<int>(value));
    case ArgKind::Long: return printTo(out, format, value);
    case ArgKind::LongLong: return printTo(out, format, static_cast<long long>(value));
    default: return false;
    }
}

bool formatDouble(std::string& out, double value, const char* format)
{
    if (!format)
        format = "%lf";
    switch (argumentKind(format, false)) {
    case ArgKind::Double: return printTo(out, format, value);
    case ArgKind::LongDouble: return printTo(out, format, static_cast<long double>(value));
    default: return false;
    }
}
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
}

VelDOMFiler::VelDOMFiler(VelDOMDocument& doc)
    : m_document(doc), m_currentNode(doc), m_currentElement(doc.getDocumentElement())
{
}

VelDOM::Error VelDOMFiler::setCurrentNode(VelDOMNode& node)
{
    m_currentNode = node;
    if (node.getNodeType() == VelDOM::eElementNode)
        m_currentElement = VelDOMElement(node);
    return VelDOM::eOk;
}

VelDOM::Error VelDOMFiler::appendElement(const char* name, const char* text)
{
    if (!name || !text)
        return VelDOM::eInvalidArgument;
    return m_currentElement.appendTextElement(VelString(name), VelString(text));
}

VelDOM::Error VelDOMFiler::appendElement(const char* name, long value, const char* format)
{
    std::string text;
    if (!name || !formatLong(text, value, format))
        return VelDOM::eInvalidArgument;
    return m_currentElement.appendTextElement(VelString(name), VelString(text.c_str()));
}

VelDOM::Error VelDOMFiler::appendElement(const char* name, double value, const char* format)
{
    std::string text;
    if (!name || !formatDouble(text, value, format))
        return VelDOM::eInvalidArgument;
    return m_currentElement.appendTextElement(VelString(name), VelString(text.c_str()));
}

VelDOM::Error VelDOMFiler::setAttribute(const char* name, const char* value)
{
    if (!name || !value)
        return VelDOM::eInvalidArgument;
    return m_currentElement.setAttribute(VelString(name), VelString(value));
}

VelDOM::Error VelDOMFiler::setAttribute(const char* name, long value, const char* format)
{
    std::string text;
    if (!name || !formatLong(text, value, format))
        return VelDOM::eInvalidArgument;
    return m_currentElement.setAttribute(VelString(name), VelString(text.c_str()));
}

VelDOM::Error VelDOMFiler::setAttribute(const char* name, double value, const char* format)
{
    std::string text;
    if (!name || !formatDouble(text, value, format))
        return VelDOM::eInvalidArgument;
    return m_currentElement.setAttribute(VelString(name), VelString(text.c_str()));
}
