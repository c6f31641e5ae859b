#pragma once
// Handle on a document. Documents come from VelDOMUtilites (create, read);
// the document and all its nodes live while any handle on one of them does.

#include "dom/VelDOMElement.h"
#include "dom/VelDOMNode.h"
#include "dom/VelDOMText.h"

class VelDOMDocumentImp;

class VelDOMDocument : public VelDOMNode
{
public:
    VelDOMDocument();
    explicit VelDOMDocument(VelDOMNodeImp* imp);
    VelDOMDocument(const VelDOMNode& node);
    VelDOMDocument(const VelDOMDocument& orig);
    VelDOMDocument& operator=(const VelDOMDocument& rhs);

    // New nodes of this document, not yet in the tree; null handles for a
    // null or empty tag, a name the parser rejects, or text that XML cannot hold.
    virtual VelDOMElement createElement(const char* tag);
    virtual VelDOMText createTextNode(const char* text);

    VelDOMElement getDocumentElement() const;

private:
    VelDOMDocumentImp* documentImp() const;
};
