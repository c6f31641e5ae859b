#include "dom/xerces/VelXercesDOMElementInternal.h"
#include "dom/VelDOMNodeList.h"
#include "dom/xerces/VelXercesDOMNodeInternal.h"
#include "dom/xerces/VelXercesDOMNodeListInternal.h"

#include <xercesc/dom/DOMAttr.hpp>
#include <xercesc/dom/DOMDocument.hpp>
#include <xercesc/dom/DOMNamedNodeMap.hpp>
#include <xercesc/dom/DOMNodeList.hpp>
#include <xercesc/dom/DOMText.hpp>

using namespace xercesc;

DOMElement* VelXercesDOMElement::element() const
{
    auto* owner = static_cast<VelXercesDOMNode*>(m_nodeImp);
    if (!owner || !owner->node() || owner->node()->getNodeType() != DOMNode::ELEMENT_NODE)
        return nullptr;
    return static_cast<DOMElement*>(owner->node());
}

VelDOM::Error VelXercesDOMElement::removeAttribute(const VelString& name)
{
    const VelDOM::Error check = VelDOM::checkString(name.getStringA(), 0);
    if (check != VelDOM::eOk)
        return check;
    DOMElement* e = element();
    if (!e)
        return VelDOM::eNoImplementation;
    try {
        e->removeAttribute(VelXercesStrings::fromVelString(name).c_str());
    } catch (...) {
        return VelDOM::eInvalidArgument;
    }
    return VelDOM::eOk;
}

long VelXercesDOMElement::getNumAttributes()
{
    DOMElement* e = element();
    return e ? static_cast<long>(e->getAttributes()->getLength()) : 0;
}

VelString VelXercesDOMElement::getAttributeValueAt(long index)
{
    DOMElement* e = element();
    if (!e || index < 0 || index >= getNumAttributes())
        return VelString();
    return VelXercesStrings::toVelString(e->getAttributes()->item(static_cast<XMLSize_t>(index))->getNodeValue());
}

VelString VelXercesDOMElement::getAttributeNameAt(long index)
{
    DOMElement* e = element();
    if (!e || index < 0 || index >= getNumAttributes())
        return VelString();
    return VelXercesStrings::toVelString(e->getAttributes()->item(static_cast<XMLSize_t>(index))->getNodeName());
}

VelDOM::Error VelXercesDOMElement::setAttribute(const VelString& name, const VelString& value)
{
    VelDOM::Error check = VelDOM::checkString(name.getStringA(), 0);
    if (check == VelDOM::eOk)
        check = VelDOM::checkString(value.getStringA(), 1);
    if (check != VelDOM::eOk)
        return check;
    DOMElement* e = element();
    if (!e)
        return VelDOM::eNoImplementation;
    if (!VelXercesStrings::isXmlText(value))
        return VelDOM::eInvalidArgument;
    try {
        e->setAttribute(VelXercesStrings::fromVelString(name).c_str(), VelXercesStrings::fromVelString(value).c_str());
    } catch (...) {
        return VelDOM::eInvalidArgument;  // a name XML does not allow
    }
    return VelDOM::eOk;
}

VelDOM::Error VelXercesDOMElement::appendTextElement(const VelString& name, const VelString& text)
{
    VelDOM::Error check = VelDOM::checkString(name.getStringA(), 0);
    if (check == VelDOM::eOk)
        check = VelDOM::checkString(text.getStringA(), 1);
    if (check != VelDOM::eOk)
        return check;
    DOMElement* e = element();
    if (!e)
        return VelDOM::eNoImplementation;
    if (!VelXercesStrings::isXmlText(text))
        return VelDOM::eInvalidArgument;
    try {
        DOMDocument* doc = e->getOwnerDocument();
        DOMElement* child = doc->createElement(VelXercesStrings::fromVelString(name).c_str());
        DOMText* content = doc->createTextNode(VelXercesStrings::fromVelString(text).c_str());
        child->appendChild(content);
        auto* owner = static_cast<VelXercesDOMNode*>(m_nodeImp);
        if (owner->documentRef())
            ++owner->documentRef()->revision;
        e->appendChild(child);  // last, so a refusal leaves the tree as it was
    } catch (...) {
        return VelDOM::eInvalidArgument;
    }
    return VelDOM::eOk;
}

VelString VelXercesDOMElement::getTagName()
{
    DOMElement* e = element();
    return e ? VelXercesStrings::toVelString(e->getTagName()) : VelString();
}

VelString VelXercesDOMElement::getAttribute(const VelString& name)
{
    DOMElement* e = element();
    return e ? VelXercesStrings::toVelString(e->getAttribute(VelXercesStrings::fromVelString(name).c_str()))
             : VelString();
}

int VelXercesDOMElement::getElementsByTagName(const VelString& name, VelDOMNodeList& list)
{
    DOMElement* e = element();
    if (!e)
        return 0;
    auto* owner = static_cast<VelXercesDOMNode*>(m_nodeImp);
    DOMNodeList* found = e->getElementsByTagName(VelXercesStrings::fromVelString(name).c_str());
    list = VelDOMNodeList(VelXercesDOMNodeList::fromList(owner->documentRef(), found));
    return found ? static_cast<int>(found->getLength()) : 0;
}
