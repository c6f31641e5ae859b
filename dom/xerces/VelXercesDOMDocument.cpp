#include "dom/xerces/VelXercesDOMDocumentInternal.h"
#include "dom/xerces/VelXercesDOMNodeInternal.h"

#include <xercesc/dom/DOMElement.hpp>
#include <xercesc/dom/DOMText.hpp>

using namespace xercesc;

DOMDocument* VelXercesDOMDocument::document() const
{
    auto* owner = static_cast<VelXercesDOMNode*>(m_nodeImp);
    if (!owner || !owner->node() || owner->node()->getNodeType() != DOMNode::DOCUMENT_NODE)
        return nullptr;
    return static_cast<DOMDocument*>(owner->node());
}

VelDOMNodeImp* VelXercesDOMDocument::getDocumentElement()
{
    DOMDocument* doc = document();
    if (!doc)
        return nullptr;
    return VelXercesDOMNode::wrap(static_cast<VelXercesDOMNode*>(m_nodeImp)->documentRef(), doc->getDocumentElement());
}

VelDOMNodeImp* VelXercesDOMDocument::createElement(const char* tag)
{
    DOMDocument* doc = document();
    if (!doc || VelDOM::checkString(tag, 0) != VelDOM::eOk)
        return nullptr;
    try {
        DOMElement* e = doc->createElement(VelXercesStrings::fromUtf8(tag).c_str());
        return VelXercesDOMNode::wrap(static_cast<VelXercesDOMNode*>(m_nodeImp)->documentRef(), e);
    } catch (...) {
        return nullptr;
    }
}

VelDOMNodeImp* VelXercesDOMDocument::createTextNode(const char* text)
{
    DOMDocument* doc = document();
    if (!doc || VelDOM::checkString(text, 1) != VelDOM::eOk || !VelXercesStrings::isXmlText(text))
        return nullptr;
    try {
        DOMText* t = doc->createTextNode(VelXercesStrings::fromUtf8(text).c_str());
        return VelXercesDOMNode::wrap(static_cast<VelXercesDOMNode*>(m_nodeImp)->documentRef(), t);
    } catch (...) {
        return nullptr;
    }
}
