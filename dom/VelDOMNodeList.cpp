#include "dom/VelDOMNodeList.h"
#include "dom/VelDOMNodeListImp.h"

VelDOMNodeList::VelDOMNodeList() : m_imp(nullptr) {}

VelDOMNodeList::VelDOMNodeList(VelDOMNodeListImp* imp) : m_imp(imp) {}

VelDOMNodeList::VelDOMNodeList(const VelDOMNodeList& orig) : m_imp(orig.m_imp ? orig.m_imp->clone() : nullptr) {}

VelDOMNodeList::~VelDOMNodeList() { delete m_imp; }

VelDOMNodeList& VelDOMNodeList::operator=(const VelDOMNodeList& rhs)
{
    if (this != &rhs) {
        VelDOMNodeListImp* copy = rhs.m_imp ? rhs.m_imp->clone() : nullptr;
        delete m_imp;
        m_imp = copy;
    }
    return *this;
}

long VelDOMNodeList::length() const { return m_imp ? m_imp->length() : 0; }

VelDOM::Error VelDOMNodeList::item(long index, VelDOMNode& out) const
{
    return m_imp ? m_imp->item(index, out) : VelDOM::eInvalidArgument;
}
