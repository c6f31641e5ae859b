#pragma once
// Implementation interface behind VelDOMNodeList.

#include "dom/VelDOM.h"

class VelDOMNode;

class VelDOMNodeListImp
{
public:
    VelDOMNodeListImp();
    virtual VelDOM::Error item(long index, VelDOMNode& out) = 0;
    virtual ~VelDOMNodeListImp();
    virtual long length() = 0;
    // A new implementation object on the same list; the caller owns it.
    virtual VelDOMNodeListImp* clone() = 0;

    VelDOMNodeListImp(const VelDOMNodeListImp&) = delete;
    VelDOMNodeListImp& operator=(const VelDOMNodeListImp&) = delete;
};
