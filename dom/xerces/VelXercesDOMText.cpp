#include "dom/xerces/VelXercesDOMTextInternal.h"
#include "dom/xerces/VelXercesDOMNodeInternal.h"

using namespace xercesc;

DOMText* VelXercesDOMText::text() const
{
    auto* owner = static_cast<VelXercesDOMNode*>(m_nodeImp);
    if (!owner || !owner->node() || owner->node()->getNodeType() != DOMNode::TEXT_NODE)
        return nullptr;
    return static_cast<DOMText*>(owner->node());
}

VelDOM::Error VelXercesDOMText::setValue(const char* value)
{
    const VelDOM::Error check = VelDOM::checkString(value, 0);
    if (check != VelDOM::eOk)
        return check;
    DOMText* t = text();
    if (!t)
        return VelDOM::eNoImplementation;
    if (!VelXercesStrings::isXmlText(value))
        return VelDOM::eInvalidArgument;
    try {
        t->setData(VelXercesStrings::fromUtf8(value).c_str());
    } catch (...) {
        return VelDOM::eInvalidArgument;
    }
    return VelDOM::eOk;
}

VelString VelXercesDOMText::getValue()
{
    DOMText* t = text();
    return t ? VelXercesStrings::toVelString(t->getData()) : VelString();
}
