#pragma once
// Formatter output: the bytes go unchanged into a buffer, which the writer
// then hands to the file or the caller's string.

#include <xercesc/framework/XMLFormatter.hpp>

#include <string>

class VelXercesDOMPrintFormatTarget : public xercesc::XMLFormatTarget
{
public:
    explicit VelXercesDOMPrintFormatTarget(std::string& out) : m_out(out) {}

    void writeChars(const XMLByte* const toWrite, const XMLSize_t count, xercesc::XMLFormatter* const formatter) override;
    void flush() override;

private:
    std::string& m_out;
};
