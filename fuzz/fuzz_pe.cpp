// Any bytes as a program file: the version-resource reader never crashes,
// hangs or reads outside its input; what it reads is no longer than the
// input, and the record's fields follow from it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "discovery/pe_version.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kodrin::discovery;
    PeVersionInfo info;
    const bool read = ReadPeVersion(std::span<const std::uint8_t>(data, size), info);
    if (read != info.found) std::abort();
    const auto bounded = [&](const std::optional<std::u16string>& text) {
        if (text && text->size() * 2 > size) std::abort();
    };
    bounded(info.companyName);
    bounded(info.productName);
    bounded(info.fileVersion);
    bounded(info.productVersion);
    bounded(info.fileDescription);
    if (!read && (info.companyName || !info.translation.empty() || !info.fixedFileVersion.empty())) std::abort();
    const ProgramVersionFields fields = ProgramFields(info);
    if ((fields.version || fields.company || fields.product) && info.translation.empty()) std::abort();
    return 0;
}
