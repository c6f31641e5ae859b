#pragma once
// Handle on a list of nodes (children, or the result of a search). The list
// is live: it follows later changes of the tree.

#include "dom/VelDOM.h"

class VelDOMNode;
class VelDOMNodeListImp;

class VelDOMNodeList
{
public:
    VelDOMNodeList();
    explicit VelDOMNodeList(VelDOMNodeListImp* imp);  // takes ownership
    VelDOMNodeList(const VelDOMNodeList& orig);
    virtual ~VelDOMNodeList();
    VelDOMNodeList& operator=(const VelDOMNodeList& rhs);

    virtual long length() const;  // 0 without implementation
    // eIndexOutOfRange outside 0..length-1; eInvalidArgument without implementation.
    virtual VelDOM::Error item(long index, VelDOMNode& out) const;

    bool isNull() const { return m_imp == nullptr; }
    VelDOMNodeListImp* getNodeListImp() const { return m_imp; }

private:
    VelDOMNodeListImp* m_imp;
};
