// The primary screen's width in pixels (caps stored column widths).
#pragma once

namespace kodrin::platform {

int ScreenWidth();

}  // namespace kodrin::platform
