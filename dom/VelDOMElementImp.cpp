#include "dom/VelDOMElementImp.h"

VelDOMElementImp::~VelDOMElementImp() = default;
