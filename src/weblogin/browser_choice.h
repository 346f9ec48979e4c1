// Which browser a login drives: the option BROWSER on the Options dialog's
// Program page. Automatic tries Microsoft Edge, then Google Chrome, then
// Internet Explorer; a named browser is the only one tried. When none can be
// started, the login opens the page in the default browser instead.
#pragma once

#include <cstdint>
#include <vector>

namespace kodrin::weblogin {

enum class BrowserKind : std::uint32_t { Edge = 1, Chrome = 2, InternetExplorer = 3 };

// The option's values: 0 automatic, else a BrowserKind.
constexpr std::uint32_t kBrowserAutomatic = 0;
constexpr std::uint32_t kBrowserChoices = 4;

// The browsers to try for the option's value, in order. An unknown value
// counts as automatic.
inline std::vector<BrowserKind> BrowserOrder(std::uint32_t choice) {
    if (choice >= 1 && choice < kBrowserChoices) return {static_cast<BrowserKind>(choice)};
    return {BrowserKind::Edge, BrowserKind::Chrome, BrowserKind::InternetExplorer};
}

}  // namespace kodrin::weblogin
