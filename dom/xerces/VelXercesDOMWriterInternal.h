#pragma once
// Writing a document: the node writer on a Xerces formatter, the narrow
// writer for code-page files, and the process-wide writer settings.

#include "dom/xerces/VelXercesDOMNodeInternal.h"

#include <xercesc/framework/XMLFormatter.hpp>

#include <cstdio>
#include <string>

namespace VelXercesDOMWriter
{
struct Settings
{
    int newLines = 0;               // of the current write
    int terminate = 0;              // of the current write
    std::string outputEncoding;     // settled by the first formatter write
    xercesc::XMLFormatter* formatter = nullptr;  // during a write
    bool narrowWriter = false;
};

Settings& settings();

// The output encoding of the process, settled on first use: the encoding
// of the document's XML declaration, else (or when the parser cannot
// write that encoding) UTF-8.
const std::string& settleOutputEncoding(const VelXercesDocumentHolder& doc);
// Forgets the settled encoding (tests only).
void resetOutputEncoding();

// The document node through the formatter, honouring settings().newLines.
void writeFormatted(xercesc::XMLFormatter& formatter, xercesc::XMLFormatTarget& target,
                    const VelXercesDocumentHolder& doc);

// The document node in the given code page, with "\r\n" line breaks.
void writeNarrow(std::FILE* file, const VelXercesDocumentHolder& doc, int codePage);

bool isUtf8(const std::string& encoding);

// Bytes of the formatter's output back to text.
VelString decode(const std::string& bytes, const std::string& encoding);
}
