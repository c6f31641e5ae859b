#include "dom/VelDOMDocument.h"
#include "dom/VelDOMDocumentImp.h"

VelDOMDocument::VelDOMDocument() = default;

VelDOMDocument::VelDOMDocument(VelDOMNodeImp* imp) : VelDOMNode(imp) {}

VelDOMDocument::VelDOMDocument(const VelDOMNode& node) : VelDOMNode(node) {}

VelDOMDocument::VelDOMDocument(const VelDOMDocument& orig) : VelDOMNode(orig) {}

VelDOMDocument& VelDOMDocument::operator=(const VelDOMDocument& rhs)
{
    VelDOM::error("VelDOMDocument operator=(VelDOMText& rhs)", this);
    assign(rhs);
    return *this;
}

VelDOMDocumentImp* VelDOMDocument::documentImp() const
{
    return dynamic_cast<VelDOMDocumentImp*>(getContentImp());
}

VelDOMElement VelDOMDocument::createElement(const char* tag)
{
    VelDOMDocumentImp* imp = documentImp();
    return imp ? VelDOMElement(imp->createElement(tag)) : VelDOMElement();
}

VelDOMText VelDOMDocument::createTextNode(const char* text)
{
    VelDOMDocumentImp* imp = documentImp();
    return imp ? VelDOMText(imp->createTextNode(text)) : VelDOMText();
}

VelDOMElement VelDOMDocument::getDocumentElement() const
{
    VelDOMDocumentImp* imp = documentImp();
    return imp ? VelDOMElement(imp->getDocumentElement()) : VelDOMElement();
}
