#include <cstdlib>

#include "platform/screen.h"

namespace kodrin::platform {

// Without a desktop the width of a common screen is assumed; KODRIN_SCREEN_WIDTH
// overrides it.
int ScreenWidth() {
    if (const char* v = std::getenv("KODRIN_SCREEN_WIDTH")) {
        const int w = std::atoi(v);
        if (w > 0) return w;
    }
    return 1920;
}

}  // namespace kodrin::platform
