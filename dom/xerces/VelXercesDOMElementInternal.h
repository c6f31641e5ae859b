#pragma once
// Element part of the Xerces node adapter.

#include "dom/VelDOMElementImp.h"

#include <xercesc/dom/DOMElement.hpp>

class VelXercesDOMElement : public VelDOMElementImp
{
public:
    VelDOM::Error removeAttribute(const VelString& name) override;
    long getNumAttributes() override;
    VelString getAttributeValueAt(long index) override;
    VelString getAttributeNameAt(long index) override;
    VelDOM::Error setAttribute(const VelString& name, const VelString& value) override;
    VelDOM::Error appendTextElement(const VelString& name, const VelString& text) override;
    VelString getTagName() override;
    VelString getAttribute(const VelString& name) override;
    int getElementsByTagName(const VelString& name, VelDOMNodeList& list) override;

private:
    xercesc::DOMElement* element() const;  // null when the owner holds no element
};
