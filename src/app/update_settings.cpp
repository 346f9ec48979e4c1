#include "app/update_settings.h"

#if defined(KODRIN_TEST_SETTINGS)
#include <cstdlib>

// The key and the certificate thumbprint that the tests' build made for them.
#include "update_test_settings.h"
#endif

#include "platform/utf.h"
#include "update/release_file.h"

// By default the addresses lie under the reserved domain kodrin.example and
// no key or signer is set: nothing verifies, nothing is ever installed.
#ifndef KODRIN_UPDATE_FOLDER_URL
#define KODRIN_UPDATE_FOLDER_URL "http://kodrin.example/kodrin/"
#endif
#ifndef KODRIN_MESSAGES_FEED_URL
#define KODRIN_MESSAGES_FEED_URL "http://kodrin.example/popup.xml"
#endif
#ifndef KODRIN_UPDATE_PUBLIC_KEY
#define KODRIN_UPDATE_PUBLIC_KEY ""
#endif
#ifndef KODRIN_CODESIGN_THUMBPRINT
#define KODRIN_CODESIGN_THUMBPRINT ""
#endif

namespace kodrin::app {

#if defined(KODRIN_TEST_SETTINGS)
namespace {

void TakeFromEnvironment(const wchar_t* name, std::u16string& value) {
    if (const wchar_t* text = ::_wgetenv(name); text != nullptr && *text != 0) {
        value = reinterpret_cast<const char16_t*>(text);
    }
}

}  // namespace
#endif

ProgramUpdateSetup BuildUpdateSetup() {
    ProgramUpdateSetup setup;
    setup.folderUrl = platform::FromUtf8(KODRIN_UPDATE_FOLDER_URL);
    setup.feedUrl = platform::FromUtf8(KODRIN_MESSAGES_FEED_URL);
    setup.releaseKey = update::PublicKeyFromHex(KODRIN_UPDATE_PUBLIC_KEY);
    setup.signers = ThumbprintsFromHex(KODRIN_CODESIGN_THUMBPRINT);
#if defined(KODRIN_TEST_SETTINGS)
    // A test server's addresses. The key and the signer still come from the build.
    TakeFromEnvironment(L"KODRIN_TEST_UPDATE_URL", setup.folderUrl);
    TakeFromEnvironment(L"KODRIN_TEST_FEED_URL", setup.feedUrl);
#endif
    return setup;
}

}  // namespace kodrin::app
