#pragma once
// Text of the application: held as wide characters, offered narrow (UTF-8)
// and wide. The narrow form is rebuilt on demand and stays valid until the
// string is next changed or destroyed.

#include <string>

class VelString
{
public:
    VelString();
    VelString(const char* text);     // UTF-8; null gives the empty string
    VelString(const wchar_t* text);  // null gives the empty string
    VelString(const VelString& other);
    ~VelString();

    VelString& operator=(const VelString& other);
    VelString& operator=(const char* text);

    // Replaces the content with printf-style formatted text and returns it.
    VelString& format(const char* fmt, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;

    const char* getStringA() const;     // UTF-8
    const wchar_t* getStringW() const;
    int length() const;                 // number of (wide) characters
    bool isEmpty() const { return m_text.empty(); }

    // The character at an index; 0 outside [0, length()).
    wchar_t operator[](int index) const;

    VelString operator+(const VelString& other) const;
    VelString& operator+=(const VelString& other);
    bool operator==(const VelString& other) const { return m_text == other.m_text; }
    bool operator!=(const VelString& other) const { return m_text != other.m_text; }

    // Conversions between UTF-8 and wide text; invalid UTF-8 bytes become U+FFFD.
    static std::wstring widen(const char* utf8, size_t size);
    static std::string narrow(const wchar_t* text, size_t size);
    // Appends one code point as UTF-8; surrogates and values past U+10FFFF
    // become U+FFFD.
    static void appendUtf8(std::string& out, unsigned long codePoint);

private:
    std::wstring m_text;
    mutable std::string m_narrow;
    mutable bool m_narrowValid = false;
};
