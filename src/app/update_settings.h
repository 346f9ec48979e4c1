// Where the program's own update and the maker's messages come from and what
// they trust, as this program was built. Every program compiles
// update_settings.cpp with its own settings: kodrin.exe with the build's
// cache variables, the programs of the update's end-to-end test with keys
// their build made for them. Nothing the program reads at run time can name
// another key or signer.
#pragma once

#include "app/program_update.h"

namespace kodrin::app {

// The addresses, the release key and the pinned Authenticode signers
// compiled into this program. Only a program built for the tests
// (KODRIN_TEST_SETTINGS) also takes the update folder's and the feed's
// addresses from KODRIN_TEST_UPDATE_URL and KODRIN_TEST_FEED_URL.
ProgramUpdateSetup BuildUpdateSetup();

}  // namespace kodrin::app
