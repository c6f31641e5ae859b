#pragma once
// Node adapter of the Xerces back end, and the shared ownership of a parsed
// or created document that makes handles keep their document alive.

#include "dom/VelDOMNodeImp.h"
#include "dom/xerces/VelXercesStringsInternal.h"

#include <xercesc/dom/DOMDocument.hpp>
#include <xercesc/dom/DOMNode.hpp>

#include <memory>

// Owns a Xerces document. The parser platform stays initialised while any
// document is held, so handles outlive VelDOMUtilites::releaseUtilities.
// Xerces keeps no XML declaration node; its content is kept here and shown
// to walkers as node type 13, the document's first child.
struct VelXercesDocumentHolder
{
    explicit VelXercesDocumentHolder(xercesc::DOMDocument* doc);  // takes ownership
    ~VelXercesDocumentHolder();

    VelXercesDocumentHolder(const VelXercesDocumentHolder&) = delete;
    VelXercesDocumentHolder& operator=(const VelXercesDocumentHolder&) = delete;

    xercesc::DOMDocument* document;
    bool hasDeclaration = false;
    VelXString version;
    VelXString encoding;
    VelXString standalone;  // empty when the declaration gives none
    // Bumped by every change of a child list, so that lists may cache.
    unsigned long revision = 0;
};

using VelXercesDocumentRef = std::shared_ptr<VelXercesDocumentHolder>;

class VelXercesDOMNode : public VelDOMNodeImp
{
public:
    // `node` may be null: the adapter then has no node to work on.
    VelXercesDOMNode(VelXercesDocumentRef doc, xercesc::DOMNode* node);
    // The adapter of the document's XML declaration.
    static VelXercesDOMNode* declarationOf(const VelXercesDocumentRef& doc);
    // An adapter on `node`, or null for no node.
    static VelDOMNodeImp* wrap(const VelXercesDocumentRef& doc, xercesc::DOMNode* node);
    // The adapter behind a handle, or null when it is not one of ours.
    static VelXercesDOMNode* of(const VelDOMNode& handle);

    VelDOM::Error getOwnerDocument(VelDOMDocument& out) override;
    VelDOM::Error appendChild(VelDOMNode& child) override;
    VelDOM::Error getParentNode(VelDOMNode& out) override;
    int getNodeType() override;
    VelDOM::Error getChildNodes(VelDOMNodeList& out) override;
    ~VelXercesDOMNode() override;
    VelDOMNodeImp* clone() override;
    VelDOMNodeContentImp* createContentImp(int nodeType) override;

    xercesc::DOMNode* node() const { return m_node; }
    const VelXercesDocumentRef& documentRef() const { return m_doc; }
    bool isDeclaration() const { return m_declaration; }

private:
    VelXercesDOMNode(VelXercesDocumentRef doc, xercesc::DOMNode* node, bool declaration);

    VelXercesDocumentRef m_doc;
    xercesc::DOMNode* m_node;
    bool m_declaration;
};
