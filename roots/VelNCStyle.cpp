#include "roots/VelNCStyle.h"

VelNCStyle::~VelNCStyle() = default;
