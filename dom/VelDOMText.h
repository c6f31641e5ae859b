#pragma once
// Handle on a text node. Built from a handle on another kind of node, it
// behaves as a text handle without implementation.

#include "dom/VelDOMNode.h"
#include "roots/VelString.h"

class VelDOMTextImp;

class VelDOMText : public VelDOMNode
{
public:
    VelDOMText();
    explicit VelDOMText(VelDOMNodeImp* imp);
    VelDOMText(const VelDOMNode& node);
    VelDOMText(const VelDOMText& orig);
    VelDOMText& operator=(const VelDOMText& rhs);

    virtual VelDOM::Error setValue(const char* text);  // UTF-8
    virtual VelString getValue();

private:
    VelDOMTextImp* textImp() const;
};
