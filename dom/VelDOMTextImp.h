#pragma once
// Text part of a node implementation.

#include "dom/VelDOM.h"
#include "dom/VelDOMNodeContentImp.h"
#include "roots/VelString.h"

class VelDOMTextImp : public VelDOMNodeContentImp
{
public:
    ~VelDOMTextImp() override;
    virtual VelDOM::Error setValue(const char* text) = 0;
    virtual VelString getValue() = 0;
};
