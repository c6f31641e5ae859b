#include "dom/xerces/VelXercesDOMNodeInternal.h"
#include "dom/VelDOMDocument.h"
#include "dom/VelDOMNode.h"
#include "dom/VelDOMNodeList.h"
#include "dom/xerces/VelXercesDOMDocumentInternal.h"
#include "dom/xerces/VelXercesDOMElementInternal.h"
#include "dom/xerces/VelXercesDOMNodeListInternal.h"
#include "dom/xerces/VelXercesDOMTextInternal.h"

#include <xercesc/util/PlatformUtils.hpp>

#include <cstdio>

using namespace xercesc;

VelXercesDocumentHolder::VelXercesDocumentHolder(DOMDocument* doc) : document(doc)
{
    // Counted: only pairs with the Terminate below.
    XMLPlatformUtils::Initialize();
}

VelXercesDocumentHolder::~VelXercesDocumentHolder()
{
    try {
        if (document)
            document->release();
        XMLPlatformUtils::Terminate();
    } catch (...) {
    }
}

VelXercesDOMNode::VelXercesDOMNode(VelXercesDocumentRef doc, DOMNode* node)
    : VelXercesDOMNode(std::move(doc), node, false)
{
}

VelXercesDOMNode::VelXercesDOMNode(VelXercesDocumentRef doc, DOMNode* node, bool declaration)
    : VelDOMNodeImp(nullptr), m_doc(std::move(doc)), m_node(node), m_declaration(declaration)
{
    adoptContentImp(createContentImp(getNodeType()));
}

VelXercesDOMNode::~VelXercesDOMNode() = default;

VelXercesDOMNode* VelXercesDOMNode::declarationOf(const VelXercesDocumentRef& doc)
{
    return new VelXercesDOMNode(doc, nullptr, true);
}

VelDOMNodeImp* VelXercesDOMNode::wrap(const VelXercesDocumentRef& doc, DOMNode* node)
{
    return node ? new VelXercesDOMNode(doc, node) : nullptr;
}

VelXercesDOMNode* VelXercesDOMNode::of(const VelDOMNode& handle)
{
    return dynamic_cast<VelXercesDOMNode*>(handle.getNodeImp());
}

VelDOM::Error VelXercesDOMNode::getOwnerDocument(VelDOMDocument& out)
{
    if (m_declaration) {
        out = VelDOMDocument(wrap(m_doc, m_doc ? m_doc->document : nullptr));
        return VelDOM::eOk;
    }
    if (!m_node)
        return VelDOM::eInvalidArgument;
    out = VelDOMDocument(wrap(m_doc, m_node->getOwnerDocument()));
    return VelDOM::eOk;
}

VelDOM::Error VelXercesDOMNode::appendChild(VelDOMNode& child)
{
    VelXercesDOMNode* other = of(child);
    if (!m_node || !other || !other->m_node)
        return VelDOM::eInvalidArgument;
    try {
        if (m_doc)
            ++m_doc->revision;
        m_node->appendChild(other->m_node);
    } catch (...) {
        // Wrong document, a node into its own subtree, a second root.
        return VelDOM::eInvalidArgument;
    }
    return VelDOM::eOk;
}

VelDOM::Error VelXercesDOMNode::getParentNode(VelDOMNode& out)
{
    if (m_declaration) {
        out = VelDOMNode(wrap(m_doc, m_doc ? m_doc->document : nullptr));
        return VelDOM::eOk;
    }
    if (!m_node)
        return VelDOM::eInvalidArgument;
    out = VelDOMNode(wrap(m_doc, m_node->getParentNode()));
    return VelDOM::eOk;
}

int VelXercesDOMNode::getNodeType()
{
    if (m_declaration)
        return VelDOM::eXMLDeclNode;
    return m_node ? static_cast<int>(m_node->getNodeType()) : VelDOM::eNoNode;
}

VelDOM::Error VelXercesDOMNode::getChildNodes(VelDOMNodeList& out)
{
    if (m_declaration) {
        out = VelDOMNodeList(VelXercesDOMNodeList::childrenOf(m_doc, nullptr, false));
        return VelDOM::eOk;
    }
    if (!m_node)
        return VelDOM::eInvalidArgument;
    const bool withDeclaration =
        m_node->getNodeType() == DOMNode::DOCUMENT_NODE && m_doc && m_doc->hasDeclaration;
    out = VelDOMNodeList(VelXercesDOMNodeList::childrenOf(m_doc, m_node, withDeclaration));
    return VelDOM::eOk;
}

VelDOMNodeImp* VelXercesDOMNode::clone() { return new VelXercesDOMNode(m_doc, m_node, m_declaration); }

VelDOMNodeContentImp* VelXercesDOMNode::createContentImp(int nodeType)
{
    switch (nodeType) {
    case VelDOM::eElementNode: return new VelXercesDOMElement();
    case VelDOM::eTextNode: return new VelXercesDOMText();
    case VelDOM::eDocumentNode: return new VelXercesDOMDocument();
    default: break;
    }
    char message[64];
    std::snprintf(message, sizeof message, "VelXercesDOMNode::createContentImp(%d) failed", nodeType);
    VelDOM::error(message, this);
    return nullptr;
}
