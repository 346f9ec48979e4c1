#include <windows.h>

#include "platform/screen.h"

namespace kodrin::platform {

int ScreenWidth() { return ::GetSystemMetrics(SM_CXSCREEN); }

}  // namespace kodrin::platform
