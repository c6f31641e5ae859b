#pragma once
// Conversions between the library's strings (UTF-8 / wide) and the parser's
// UTF-16 strings.

#include "roots/VelString.h"

#include <xercesc/util/XercesDefs.hpp>

#include <string>

using VelXString = std::basic_string<XMLCh>;

namespace VelXercesStrings
{
VelXString fromWide(const wchar_t* text, size_t size);
VelXString fromVelString(const VelString& text);
VelXString fromUtf8(const char* text);  // null gives the empty string
VelString toVelString(const XMLCh* text);  // null gives the empty string
VelString toVelString(const XMLCh* text, size_t size);
std::string toUtf8(const XMLCh* text);
void appendUtf8(std::string& out, const XMLCh* text, size_t size);
// The string's UTF-8 text up to its first NUL, as getStringA gives it, in
// one pass without the string's own per-character conversion.
std::string narrowText(const VelString& text);

// True when every character may appear in an XML 1.0 document.
bool isXmlText(const VelString& text);
bool isXmlText(const char* utf8);
}
