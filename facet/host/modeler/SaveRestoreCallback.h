#pragma once
// The channel a body is saved to and restored from: the application's filer
// call-back serves unchanged.

#include "roots/KivFilerCallBack.h"

namespace AModeler {

using SaveRestoreCallback = ::KivFilerCallBack;

} // namespace AModeler
