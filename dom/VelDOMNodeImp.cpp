#include "dom/VelDOMNodeImp.h"
#include "dom/VelDOMNodeContentImp.h"

VelDOMNodeImp::VelDOMNodeImp(VelDOMNodeContentImp* content) : m_contentImp(nullptr)
{
    adoptContentImp(content);
}

VelDOMNodeImp::~VelDOMNodeImp() { delete m_contentImp; }

void VelDOMNodeImp::adoptContentImp(VelDOMNodeContentImp* content)
{
    if (content == m_contentImp)
        return;
    delete m_contentImp;
    m_contentImp = content;
    if (m_contentImp)
        m_contentImp->setNodeImp(this);
}
