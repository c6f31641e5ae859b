#pragma once
// Back end of the XML document layer: creates, reads and writes documents.
// One instance per process, made by getUtilities and destroyed by
// releaseUtilities. Documents already handed out stay usable after release.

#include "dom/VelDOM.h"
#include "dom/VelDOMDocument.h"
#include "roots/VelString.h"

class VelDOMUtilites
{
public:
    VelDOMUtilites();
    virtual ~VelDOMUtilites();

    // A new document whose root element is `rootTag`, preceded by the XML
    // declaration version 1.0, encoding UTF-8; null for a null, empty or
    // invalid tag.
    virtual VelDOMDocument createDocument(const char* rootTag) = 0;
    // Status afterwards: eOk or eInitFailed; both return eOk.
    virtual VelDOM::Error init() = 0;
    virtual VelDOM::Error terminate() = 0;

    // The two readDocument forms differ only in how the string is passed, so
    // an ordinary call `readDocument(s)` is ambiguous. Call them through
    // readDocumentFromText / readDocumentFromFile below, or name the form:
    //   using TextForm = VelDOMDocument (VelDOMUtilites::*)(VelString);
    //   (u->*static_cast<TextForm>(&VelDOMUtilites::readDocument))(s);
    // Both give a null document for anything that does not parse.

    // Parses the string's UTF-8 text (up to its first NUL) as the document.
    virtual VelDOMDocument readDocument(VelString xmlText) = 0;
    // Parses the file of that name (UTF-8); empty name gives a null document.
    virtual VelDOMDocument readDocument(const VelString& fileName) = 0;

    // With toFile non-zero `target` names the file (an existing file is left
    // untouched when the write is refused); otherwise `target` receives the
    // text. newLines adds line breaks; terminate ends the output with a NUL.
    virtual VelDOM::Error writeDocument(VelDOMDocument& doc, VelString& target, int toFile, int newLines,
                                        int terminate) = 0;
    // Writes the file with line breaks. Under a locale whose code set is a
    // narrow code page other than UTF-8 and windows-1252 (ISO-8859-1, -2,
    // -5, windows-1250/1251/1253..1258) the file is written in that code
    // page and the result is eNoImplementation.
    virtual VelDOM::Error writeDocument(VelDOMDocument& doc, const char* fileName) = 0;

    // Unambiguous forms of the two readDocument slots.
    VelDOMDocument readDocumentFromText(const VelString& xmlText);
    VelDOMDocument readDocumentFromFile(const VelString& fileName);

    VelDOM::Error getErrorStatus() const { return m_errorStatus; }
    void setErrorStatus(VelDOM::Error status) { m_errorStatus = status; }

    // The process's instance, made on first request; null for an unknown
    // platform when there is none yet.
    static VelDOMUtilites* getUtilities(VelDOM::Platform p);
    static void releaseUtilities();

    static VelDOMUtilites* Utilities;

    VelDOMUtilites(const VelDOMUtilites&) = delete;
    VelDOMUtilites& operator=(const VelDOMUtilites&) = delete;

protected:
    VelDOM::Error m_errorStatus;
};
