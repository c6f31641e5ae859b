#pragma once
// The narrow code page of the process, in the numbering of the code-page
// names the writer knows. On this platform it follows the code set of the
// current C locale (LC_CTYPE, as set by setlocale).

#include <string>

namespace VelDOMCodePage
{
// 0 for a code set without a known number.
int fromCodeSet(const char* codeSet);
int current();
// "windows-%d" for 1250..1258, ISO-8859-1/-2/-5 for 28591/28592/28595,
// "UTF-8" for every other.
std::string name(int codePage);
// The narrow writer serves code pages other than 1252 whose name is not UTF-8.
bool wantsNarrowWriter(int codePage);
}
