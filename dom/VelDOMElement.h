#pragma once
// Handle on an element. Built from a handle on another kind of node, it
// behaves as an element handle without implementation.

#include "dom/VelDOMNode.h"
#include "roots/VelString.h"

class VelDOMElementImp;
class VelDOMNodeList;

class VelDOMElement : public VelDOMNode
{
public:
    VelDOMElement();
    explicit VelDOMElement(VelDOMNodeImp* imp);
    VelDOMElement(const VelDOMNode& node);
    VelDOMElement(const VelDOMElement& orig);
    VelDOMElement& operator=(const VelDOMElement& rhs);

    virtual VelDOM::Error removeAttribute(const VelString& name);
    virtual VelDOM::Error setAttribute(const VelString& name, const VelString& value);
    // Appends a child element `name` holding the text `text`.
    virtual VelDOM::Error appendTextElement(const VelString& name, const VelString& text);

    VelString getTagName() const;
    VelString getAttribute(const VelString& name) const;  // empty when absent
    VelDOM::Error getAttribute(const VelString& name, VelString& value) const;
    // eEmptyOrMissing (output untouched) unless the text starts with a number.
    VelDOM::Error getAttribute(const VelString& name, double& value) const;
    VelDOM::Error getAttribute(const VelString& name, long& value) const;
    // eOk only for an element whose one child is a text node.
    VelDOM::Error getChildTextValue(VelString& value) const;
    // Fills `list` with the matching descendants ("*" for all); returns their number.
    int getElementsByTagName(const VelString& name, VelDOMNodeList& list) const;
    long getNumAttributes() const;
    VelString getAttributeNameAt(long index) const;   // empty outside 0..count-1
    VelString getAttributeValueAt(long index) const;

private:
    VelDOMElementImp* elementImp() const;
};
