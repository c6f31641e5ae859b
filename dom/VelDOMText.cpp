#include "dom/VelDOMText.h"
#include "dom/VelDOMTextImp.h"

VelDOMText::VelDOMText() = default;

VelDOMText::VelDOMText(VelDOMNodeImp* imp) : VelDOMNode(imp) {}

VelDOMText::VelDOMText(const VelDOMNode& node) : VelDOMNode(node) {}

VelDOMText::VelDOMText(const VelDOMText& orig) : VelDOMNode(orig) {}

VelDOMText& VelDOMText::operator=(const VelDOMText& rhs)
{
    VelDOM::error("VelDOMText operator=(VelDOMText& rhs)", this);
    assign(rhs);
    return *this;
}

VelDOMTextImp* VelDOMText::textImp() const { return dynamic_cast<VelDOMTextImp*>(getContentImp()); }

VelDOM::Error VelDOMText::setValue(const char* text)
{
    VelDOMTextImp* imp = textImp();
    return imp ? imp->setValue(text) : VelDOM::eNoImplementation;
}

VelString VelDOMText::getValue()
{
    VelDOMTextImp* imp = textImp();
    return imp ? imp->getValue() : VelString();
}
