#include "dom/VelDOMUtilites.h"
#include "dom/xerces/VelXercesDOMUtilitiesInternal.h"

#include <new>

VelDOMUtilites* VelDOMUtilites::Utilities = nullptr;

VelDOMUtilites::VelDOMUtilites() : m_errorStatus(VelDOM::eNotInitialized) {}

VelDOMUtilites::~VelDOMUtilites() = default;

VelDOMDocument VelDOMUtilites::readDocumentFromText(const VelString& xmlText)
{
    using TextForm = VelDOMDocument (VelDOMUtilites::*)(VelString);
    return (this->*static_cast<TextForm>(&VelDOMUtilites::readDocument))(xmlText);
}

VelDOMDocument VelDOMUtilites::readDocumentFromFile(const VelString& fileName)
{
    using FileForm = VelDOMDocument (VelDOMUtilites::*)(const VelString&);
    return (this->*static_cast<FileForm>(&VelDOMUtilites::readDocument))(fileName);
}

VelDOMUtilites* VelDOMUtilites::getUtilities(VelDOM::Platform p)
{
    VelDOM::error("VelDOMUtilites::getUtilities(VelDOM::Platform p)", nullptr);
    if (Utilities)
        return Utilities;
    if (p == VelDOM::eXerces)
        Utilities = new (std::nothrow) VelXercesDOMUtilities();
    return Utilities;
}

void VelDOMUtilites::releaseUtilities()
{
    VelDOM::error("VelDOMUtilites::releaseUtilities()", nullptr);
    VelDOMUtilites* instance = Utilities;
    Utilities = nullptr;
    delete instance;
}
