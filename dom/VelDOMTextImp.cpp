#include "dom/VelDOMTextImp.h"

VelDOMTextImp::~VelDOMTextImp() = default;
