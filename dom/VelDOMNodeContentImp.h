#pragma once
// Base of the kind-specific part of a node implementation (document,
// element, text). It is owned by its VelDOMNodeImp and points back to it.

class VelDOMNodeImp;

class VelDOMNodeContentImp
{
public:
    VelDOMNodeContentImp();
    virtual ~VelDOMNodeContentImp();

    VelDOMNodeImp* getNodeImp() const { return m_nodeImp; }
    void setNodeImp(VelDOMNodeImp* nodeImp) { m_nodeImp = nodeImp; }

    VelDOMNodeContentImp(const VelDOMNodeContentImp&) = delete;
    VelDOMNodeContentImp& operator=(const VelDOMNodeContentImp&) = delete;

protected:
    VelDOMNodeImp* m_nodeImp;
};
