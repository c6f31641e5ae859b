#pragma once
// Parser error handler: warnings pass, errors and fatal errors are remembered.

#include <xercesc/sax/ErrorHandler.hpp>
#include <xercesc/sax/SAXParseException.hpp>

class VelXercesDOMTreeErrorReporter : public xercesc::ErrorHandler
{
public:
    void warning(const xercesc::SAXParseException& e) override;
    void error(const xercesc::SAXParseException& e) override;
    void fatalError(const xercesc::SAXParseException& e) override;
    void resetErrors() override;

    bool getSawErrors() const { return m_sawErrors; }

private:
    bool m_sawErrors = false;
};
