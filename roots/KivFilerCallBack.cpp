#include "roots/KivFilerCallBack.h"

KivFilerCallBack::~KivFilerCallBack() = default;
