#pragma once
// Element part of a node implementation.

#include "dom/VelDOM.h"
#include "dom/VelDOMNodeContentImp.h"
#include "roots/VelString.h"

class VelDOMNodeList;

class VelDOMElementImp : public VelDOMNodeContentImp
{
public:
    ~VelDOMElementImp() override;
    virtual VelDOM::Error removeAttribute(const VelString& name) = 0;
    virtual long getNumAttributes() = 0;
    virtual VelString getAttributeValueAt(long index) = 0;
    virtual VelString getAttributeNameAt(long index) = 0;
    virtual VelDOM::Error setAttribute(const VelString& name, const VelString& value) = 0;
    virtual VelDOM::Error appendTextElement(const VelString& name, const VelString& text) = 0;
    virtual VelString getTagName() = 0;
    virtual VelString getAttribute(const VelString& name) = 0;
    virtual int getElementsByTagName(const VelString& name, VelDOMNodeList& list) = 0;
};
