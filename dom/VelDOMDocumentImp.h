#pragma once
// Document part of a node implementation. Each operation returns a new node
// implementation owned by the caller, or null.

#include "dom/VelDOMNodeContentImp.h"

class VelDOMDocumentImp : public VelDOMNodeContentImp
{
public:
    ~VelDOMDocumentImp() override;
    virtual VelDOMNodeImp* getDocumentElement() = 0;
    virtual VelDOMNodeImp* createElement(const char* tag) = 0;
    virtual VelDOMNodeImp* createTextNode(const char* text) = 0;
};
