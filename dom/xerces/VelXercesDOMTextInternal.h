#pragma once
// Text part of the Xerces node adapter.

#include "dom/VelDOMTextImp.h"

#include <xercesc/dom/DOMText.hpp>

class VelXercesDOMText : public VelDOMTextImp
{
public:
    VelDOM::Error setValue(const char* text) override;
    VelString getValue() override;

private:
    xercesc::DOMText* text() const;  // null when the owner holds no text node
};
