#pragma once
// Implementation interface behind VelDOMNode. A back end derives from it;
// the virtual operations keep this order.

#include "dom/VelDOM.h"

class VelDOMDocument;
class VelDOMNode;
class VelDOMNodeList;
class VelDOMNodeContentImp;

class VelDOMNodeImp
{
public:
    // Takes ownership of `content` (may be null) and points it back here.
    explicit VelDOMNodeImp(VelDOMNodeContentImp* content);

    virtual VelDOM::Error getOwnerDocument(VelDOMDocument& out) = 0;
    virtual VelDOM::Error appendChild(VelDOMNode& child) = 0;
    virtual VelDOM::Error getParentNode(VelDOMNode& out) = 0;
    virtual int getNodeType() = 0;
    virtual VelDOM::Error getChildNodes(VelDOMNodeList& out) = 0;
    virtual ~VelDOMNodeImp();
    // A new implementation object on the same underlying node; the caller owns it.
    virtual VelDOMNodeImp* clone() = 0;
    // The content implementation for a node of the given type, or null.
    virtual VelDOMNodeContentImp* createContentImp(int nodeType) = 0;

    VelDOMNodeContentImp* getContentImp() const { return m_contentImp; }

    VelDOMNodeImp(const VelDOMNodeImp&) = delete;
    VelDOMNodeImp& operator=(const VelDOMNodeImp&) = delete;

protected:
    // For back ends that can only make their content once constructed.
    void adoptContentImp(VelDOMNodeContentImp* content);

    VelDOMNodeContentImp* m_contentImp;
};
