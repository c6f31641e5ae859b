#pragma once
// The Xerces back end of VelDOMUtilites.

#include "dom/VelDOMUtilites.h"

#include <xercesc/sax/InputSource.hpp>

class VelXercesDOMUtilities : public VelDOMUtilites
{
public:
    VelXercesDOMUtilities();
    ~VelXercesDOMUtilities() override;

    VelDOMDocument createDocument(const char* rootTag) override;
    VelDOM::Error init() override;
    VelDOM::Error terminate() override;
    VelDOMDocument readDocument(VelString xmlText) override;
    VelDOMDocument readDocument(const VelString& fileName) override;
    VelDOM::Error writeDocument(VelDOMDocument& doc, VelString& target, int toFile, int newLines,
                                int terminate) override;
    VelDOM::Error writeDocument(VelDOMDocument& doc, const char* fileName) override;

    // Starts the parser platform; throws when it cannot. Replaceable so that
    // tests can make initialisation fail.
    static void (*platformInitializer)();

private:
    bool ready();
    VelDOMDocument parse(const xercesc::InputSource& source);

    bool m_platformHeld;
};
