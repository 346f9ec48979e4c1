// Any bytes as a data file, loaded twice through LoadCatalog: as they are
// (a plain or 8-bit document, or taken for an encrypted one and decrypted
// with a fixed password) and, encrypted with that password, as the cipher
// of a document. Nothing crashes, and a loaded catalog saves again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <unistd.h>

#include "catalog/catalog_crypto.h"
#include "catalog/datafile.h"
#include "platform/files.h"
#include "platform/utf.h"

namespace {

class FixedUser final : public kodrin::DataFileUser {
public:
    std::optional<std::u16string> AskPassword() override { return u"fuzz"; }
    void Inform(int) override {}
    kodrin::LoadFailureAnswer AskAfterFailedLoad() override { return kodrin::LoadFailureAnswer::Quit; }
};

std::u16string ScratchPath() {
    static const std::u16string path = kodrin::platform::FromUtf8(
        std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") + "/kodrin_fuzz_" +
        std::to_string(::getpid()) + ".xml");
    return path;
}

void LoadBytes(std::span<const std::uint8_t> bytes) {
    using namespace kodrin;
    const std::u16string path = ScratchPath();
    if (!platform::WriteFileAtomically(path, bytes)) return;
    FixedUser user;
    Catalog catalog;
    Settings settings = NewSettings();
    const LoadResult r = LoadCatalog(path, catalog, settings, false, &user);
    if (r.ok) {
        settings.password.clear();
        settings.storeImages = true;  // keep pictures in the document, off the disk
        if (!SaveCatalog(catalog, settings, path, u"")) __builtin_trap();
        Catalog again;
        Settings settingsAgain = NewSettings();
        if (!LoadCatalog(path, again, settingsAgain, false, nullptr).ok) __builtin_trap();
        if (again.records.size() != catalog.records.size()) __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    LoadBytes(std::span<const std::uint8_t>(data, size));
    std::vector<std::uint8_t> cipher;
    if (kodrin::EncryptCatalogBytes(u"fuzz", std::vector<std::uint8_t>(data, data + size), cipher)) LoadBytes(cipher);
    return 0;
}
