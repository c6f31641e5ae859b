#include "dom/VelDOMDocumentImp.h"

VelDOMDocumentImp::~VelDOMDocumentImp() = default;
