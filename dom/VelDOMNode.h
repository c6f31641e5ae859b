#pragma once
// Handle on a node of a document. The handle owns an implementation object;
// copies get their own implementation on the same underlying node, so two
// handles on one node see the same node, and destroying a handle never
// destroys the node (the document keeps its nodes while any handle on it
// lives).

#include "dom/VelDOM.h"

class VelDOMDocument;
class VelDOMNodeContentImp;
class VelDOMNodeImp;
class VelDOMNodeList;

class VelDOMNode
{
public:
    VelDOMNode();
    // Takes ownership of `imp`; the status is eNullNode when it is null.
    explicit VelDOMNode(VelDOMNodeImp* imp);
    VelDOMNode(const VelDOMNode& orig);
    virtual ~VelDOMNode();
    VelDOMNode& operator=(const VelDOMNode& rhs);

    int getNodeType() const;  // a VelDOM::NodeType; 0 without implementation
    VelDOM::Error appendChild(VelDOMNode& child);
    // `out` becomes a null handle when there is no parent (owner document).
    VelDOM::Error getParentNode(VelDOMNode& out) const;
    VelDOM::Error getChildNodes(VelDOMNodeList& out) const;
    VelDOM::Error getOwnerDocument(VelDOMDocument& out) const;

    bool isNull() const { return m_imp == nullptr; }
    VelDOM::Error getErrorStatus() const { return m_errorStatus; }
    VelDOMNodeImp* getNodeImp() const { return m_imp; }
    VelDOMNodeContentImp* getContentImp() const;

    // Write the subtree to the trace log, two spaces of indent per level.
    void dump(long level = 0);
    // As dump, and also sets the attribute PARSELEVEL on every element.
    void dumpParseLevel(long level = 0);

protected:
    void assign(const VelDOMNode& rhs);

    VelDOMNodeImp* m_imp;
    VelDOM::Error m_errorStatus;

private:
    void dumpTree(long level, bool markLevels);
};
