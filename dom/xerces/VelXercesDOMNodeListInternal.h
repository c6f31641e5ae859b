#pragma once
// Node-list adapter of the Xerces back end. The child list of a document
// with an XML declaration starts with the declaration.

#include "dom/VelDOMNodeListImp.h"
#include "dom/xerces/VelXercesDOMNodeInternal.h"

#include <xercesc/dom/DOMNodeList.hpp>

class VelXercesDOMNodeList : public VelDOMNodeListImp
{
public:
    // The children of `parent` (null: an empty list).
    static VelXercesDOMNodeList* childrenOf(const VelXercesDocumentRef& doc, xercesc::DOMNode* parent,
                                            bool withDeclaration);
    // A list the parser made (a search result).
    static VelXercesDOMNodeList* fromList(const VelXercesDocumentRef& doc, xercesc::DOMNodeList* list);

    VelDOM::Error item(long index, VelDOMNode& out) override;
    ~VelXercesDOMNodeList() override;
    long length() override;
    VelDOMNodeListImp* clone() override;

private:
    VelXercesDOMNodeList(VelXercesDocumentRef doc, xercesc::DOMNode* parent, xercesc::DOMNodeList* list,
                         bool withDeclaration);
    bool cacheValid() const;
    xercesc::DOMNode* child(long index);

    VelXercesDocumentRef m_doc;
    xercesc::DOMNode* m_parent;
    xercesc::DOMNodeList* m_list;
    bool m_withDeclaration;
    // The parser's child lists walk from the first child on every access;
    // a cursor keeps a walk over all children linear.
    long m_cursorIndex = -1;
    xercesc::DOMNode* m_cursorNode = nullptr;
    long m_length = -1;
    unsigned long m_revision = 0;
};
