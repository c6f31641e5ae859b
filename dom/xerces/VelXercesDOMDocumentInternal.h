#pragma once
// Document part of the Xerces node adapter.

#include "dom/VelDOMDocumentImp.h"

#include <xercesc/dom/DOMDocument.hpp>

class VelXercesDOMDocument : public VelDOMDocumentImp
{
public:
    VelDOMNodeImp* getDocumentElement() override;
    VelDOMNodeImp* createElement(const char* tag) override;
    VelDOMNodeImp* createTextNode(const char* text) override;

private:
    xercesc::DOMDocument* document() const;  // null when the owner holds no document
};
