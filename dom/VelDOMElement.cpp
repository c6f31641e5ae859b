#include "dom/VelDOMElement.h"
#include "dom/VelDOMElementImp.h"
#include "dom/VelDOMNodeList.h"
#include "dom/VelDOMText.h"

#include <cstdio>

VelDOMElement::VelDOMElement() = default;

VelDOMElement::VelDOMElement(VelDOMNodeImp* imp) : VelDOMNode(imp) {}

VelDOMElement::VelDOMElement(const VelDOMNode& node) : VelDOMNode(node) {}

VelDOMElement::VelDOMElement(const VelDOMElement& orig) : VelDOMNode(orig) {}

VelDOMElement& VelDOMElement::operator=(const VelDOMElement& rhs)
{
    VelDOM::error("VelDOMElement operator=(VelDOMElement& rhs)", this);
    assign(rhs);
    return *this;
}

VelDOMElementImp* VelDOMElement::elementImp() const
{
    return dynamic_cast<VelDOMElementImp*>(getContentImp());
}

VelDOM::Error VelDOMElement::removeAttribute(const VelString& name)
{
    VelDOMElementImp* imp = elementImp();
    return imp ? imp->removeAttribute(name) : VelDOM::eEmptyOrMissing;
}

VelDOM::Error VelDOMElement::setAttribute(const VelString& name, const VelString& value)
{
    VelDOMElementImp* imp = elementImp();
    return imp ? imp->setAttribute(name, value) : VelDOM::eInvalidArgument;
}

VelDOM::Error VelDOMElement::appendTextElement(const VelString& name, const VelString& text)
{
    VelDOMElementImp* imp = elementImp();
    return imp ? imp->appendTextElement(name, text) : VelDOM::eInvalidArgument;
}

VelString VelDOMElement::getTagName() const
{
    VelDOMElementImp* imp = elementImp();
    return imp ? imp->getTagName() : VelString();
}

VelString VelDOMElement::getAttribute(const VelString& name) const
{
    VelDOMElementImp* imp = elementImp();
    return imp ? imp->getAttribute(name) : VelString();
}

VelDOM::Error VelDOMElement::getAttribute(const VelString& name, VelString& value) const
{
    value = getAttribute(name);
    return VelDOM::eOk;
}

VelDOM::Error VelDOMElement::getAttribute(const VelString& name, double& value) const
{
    const VelString text = getAttribute(name);
    double scanned = 0;
    if (text.isEmpty() || std::sscanf(text.getStringA(), "%lf", &scanned) != 1)
        return VelDOM::eEmptyOrMissing;
    value = scanned;
    return VelDOM::eOk;
}

VelDOM::Error VelDOMElement::getAttribute(const VelString& name, long& value) const
{
    const VelString text = getAttribute(name);
    long scanned = 0;
    if (text.isEmpty() || std::sscanf(text.getStringA(), "%ld", &scanned) != 1)
        return VelDOM::eEmptyOrMissing;
    value = scanned;
    return VelDOM::eOk;
}

VelDOM::Error VelDOMElement::getChildTextValue(VelString& value) const
{
    VelDOMNodeList children;
    if (getChildNodes(children) != VelDOM::eOk || children.length() != 1)
        return VelDOM::eEmptyOrMissing;
    VelDOMNode child;
    if (children.item(0, child) != VelDOM::eOk || child.getNodeType() != VelDOM::eTextNode)
        return VelDOM::eEmptyOrMissing;
    value = VelDOMText(child).getValue();
    return VelDOM::eOk;
}

int VelDOMElement::getElementsByTagName(const VelString& name, VelDOMNodeList& list) const
{
    VelDOMElementImp* imp = elementImp();
    return imp ? imp->getElementsByTagName(name, list) : 0;
}

long VelDOMElement::getNumAttributes() const
{
    VelDOMElementImp* imp = elementImp();
    return imp ? imp->getNumAttributes() : 0;
}

VelString VelDOMElement::getAttributeNameAt(long index) const
{
    VelDOMElementImp* imp = elementImp();
    return imp ? imp->getAttributeNameAt(index) : VelString();
}

VelString VelDOMElement::getAttributeValueAt(long index) const
{
    VelDOMElementImp* imp = elementImp();
    return imp ? imp->getAttributeValueAt(index) : VelString();
}
