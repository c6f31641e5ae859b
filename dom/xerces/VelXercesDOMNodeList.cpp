#include "dom/xerces/VelXercesDOMNodeListInternal.h"
#include "dom/VelDOMNode.h"

using namespace xercesc;

VelXercesDOMNodeList::VelXercesDOMNodeList(VelXercesDocumentRef doc, DOMNode* parent, DOMNodeList* list,
                                           bool withDeclaration)
    : m_doc(std::move(doc)), m_parent(parent), m_list(list), m_withDeclaration(withDeclaration)
{
}

VelXercesDOMNodeList* VelXercesDOMNodeList::childrenOf(const VelXercesDocumentRef& doc, DOMNode* parent,
                                                       bool withDeclaration)
{
    return new VelXercesDOMNodeList(doc, parent, nullptr, withDeclaration);
}

VelXercesDOMNodeList* VelXercesDOMNodeList::fromList(const VelXercesDocumentRef& doc, DOMNodeList* list)
{
    return new VelXercesDOMNodeList(doc, nullptr, list, false);
}

VelXercesDOMNodeList::~VelXercesDOMNodeList() = default;

bool VelXercesDOMNodeList::cacheValid() const { return m_doc && m_revision == m_doc->revision; }

DOMNode* VelXercesDOMNodeList::child(long index)
{
    if (!cacheValid()) {
        m_cursorIndex = -1;
        m_length = -1;
        m_revision = m_doc ? m_doc->revision : 0;
    }
    DOMNode* n = nullptr;
    long at = 0;
    if (m_cursorIndex >= 0 && index >= m_cursorIndex) {
        n = m_cursorNode;
        at = m_cursorIndex;
    } else if (m_cursorIndex >= 0 && index > m_cursorIndex / 2) {
        n = m_cursorNode;
        for (at = m_cursorIndex; n && at > index; --at)
            n = n->getPreviousSibling();
    } else {
        n = m_parent->getFirstChild();
    }
    for (; n && at < index; ++at)
        n = n->getNextSibling();
    if (n) {
        m_cursorIndex = index;
        m_cursorNode = n;
    }
    return n;
}

VelDOM::Error VelXercesDOMNodeList::item(long index, VelDOMNode& out)
{
    if (index < 0 || index >= length())
        return VelDOM::eIndexOutOfRange;
    if (m_withDeclaration) {
        if (index == 0) {
            out = VelDOMNode(VelXercesDOMNode::declarationOf(m_doc));
            return VelDOM::eOk;
        }
        --index;
    }
    DOMNode* n = m_parent ? child(index) : m_list->item(static_cast<XMLSize_t>(index));
    out = VelDOMNode(VelXercesDOMNode::wrap(m_doc, n));
    return VelDOM::eOk;
}

long VelXercesDOMNodeList::length()
{
    long count = 0;
    if (m_parent) {
        if (!cacheValid() || m_length < 0) {
            if (!cacheValid()) {
                m_cursorIndex = -1;
                m_revision = m_doc ? m_doc->revision : 0;
            }
            m_length = 0;
            for (DOMNode* n = m_parent->getFirstChild(); n; n = n->getNextSibling())
                ++m_length;
        }
        count = m_length;
    } else if (m_list) {
        count = static_cast<long>(m_list->getLength());
    }
    return count + (m_withDeclaration ? 1 : 0);
}

VelDOMNodeListImp* VelXercesDOMNodeList::clone()
{
    return new VelXercesDOMNodeList(m_doc, m_parent, m_list, m_withDeclaration);
}
