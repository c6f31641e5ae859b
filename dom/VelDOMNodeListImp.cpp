#include "dom/VelDOMNodeListImp.h"

VelDOMNodeListImp::VelDOMNodeListImp() = default;

VelDOMNodeListImp::~VelDOMNodeListImp() = default;
