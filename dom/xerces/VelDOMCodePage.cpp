#include "dom/xerces/VelDOMCodePageInternal.h"

#include <cctype>
#include <cstdlib>
#include <langinfo.h>

namespace
{
// Upper case without separators: "ISO-8859-1", "iso8859_1" -> "ISO88591".
std::string normalised(const char* s)
{
    std::string out;
    for (; s && *s; ++s)
        if (std::isalnum(static_cast<unsigned char>(*s)))
            out.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(*s))));
    return out;
}

bool startsWith(const std::string& s, const char* prefix, std::string& rest)
{
    const std::string p(prefix);
    if (s.compare(0, p.size(), p) != 0)
        return false;
    rest = s.substr(p.size());
    return true;
}

int number(const std::string& digits)
{
    if (digits.empty() || digits.size() > 5)
        return -1;
    for (char c : digits)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return -1;
    return std::atoi(digits.c_str());
}
}

int VelDOMCodePage::fromCodeSet(const char* codeSet)
{
    const std::string s = normalised(codeSet);
    std::string rest;
    if (s == "UTF8")
        return 65001;
    if (s == "ANSIX341968" || s == "ASCII" || s == "USASCII")
        return 20127;
    if (startsWith(s, "ISO8859", rest)) {
        const int part = number(rest);
        if (part >= 1 && part <= 16 && part != 12)
            return 28590 + part;
        return 0;
    }
    if (startsWith(s, "WINDOWS", rest) || startsWith(s, "CP", rest)) {
        const int cp = number(rest);
        return cp > 0 ? cp : 0;
    }
    if (s == "KOI8R")
        return 20866;
    if (s == "KOI8U")
        return 21866;
    if (s == "EUCJP")
        return 20932;
    if (s == "SHIFTJIS" || s == "SJIS")
        return 932;
    if (s == "GBK" || s == "GB2312")
        return 936;
    if (s == "EUCKR")
        return 949;
    if (s == "BIG5")
        return 950;
    return 0;
}

int VelDOMCodePage::current() { return fromCodeSet(nl_langinfo(CODESET)); }

std::string VelDOMCodePage::name(int codePage)
{
    if (codePage >= 1250 && codePage <= 1258)
        return "windows-" + std::to_string(codePage);
    switch (codePage) {
    case 28591: return "ISO-8859-1";
    case 28592: return "ISO-8859-2";
    case 28595: return "ISO-8859-5";
    default: return "UTF-8";
    }
}

bool VelDOMCodePage::wantsNarrowWriter(int codePage) { return codePage != 1252 && name(codePage) != "UTF-8"; }
