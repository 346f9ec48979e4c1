// Any bytes as a markup document: the reader never crashes, hangs or reads
// outside its buffer, and the settings reader takes whatever it finds.
#include <cstddef>
#include <cstdint>

#include "catalog/markup.h"
#include "catalog/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kodrin;
    MarkupReader reader;
    reader.SetBytes(data, size);
    reader.FindRoot(u"KODRIN");  // may convert an 8-bit document
    Settings settings = NewSettings();
    std::size_t tags = 0;
    while (auto tag = reader.NextTag()) {
        if (++tags > size + 1) __builtin_trap();  // every tag consumes input
        if (SameName(*tag, u"OPTIONS") && !reader.IsClosing()) {
            ReadOptions(settings, reader, 1920);
            continue;
        }
        if (auto text = reader.ElementText(*tag)) {
            Unescape(*text);
            ReadInt(*text);
            ReadReal(*text);
            ReadByteList(*text, 255);
            ReadIntList(*text, 72);
        }
        if (reader.Progress() > 100) __builtin_trap();
    }
    // What was read writes back as a document the reader accepts.
    MarkupWriter writer;
    writer.Open(u"KODRIN");
    WriteOptions(settings, writer);
    writer.Close();
    MarkupReader again;
    again.SetText(writer.TakeResult());
    if (!again.FindRoot(u"KODRIN")) __builtin_trap();
    return 0;
}
