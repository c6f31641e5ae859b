#include "dom/VelDOMNodeContentImp.h"

VelDOMNodeContentImp::VelDOMNodeContentImp() : m_nodeImp(nullptr) {}

VelDOMNodeContentImp::~VelDOMNodeContentImp() = default;
