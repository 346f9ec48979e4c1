// The file a download is written to while it comes in: created empty
// (replacing an earlier one) by the first write, appended to block by block.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kodrin::update {

class OutputFile {
public:
    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Creates (or empties) the file at path for writing.
    bool Create(std::u16string_view path);
    // Writes all size bytes; false when not every byte was written.
    bool Write(const std::uint8_t* data, std::size_t size);
    // Closes the file; false when the last bytes could not be written out.
    bool Close();
    bool IsOpen() const { return handle_ != kNoHandle; }
    // The system's code of the last failure.
    std::uint32_t LastError() const { return error_; }

private:
    static constexpr std::intptr_t kNoHandle = -1;
    std::intptr_t handle_ = kNoHandle;
    std::uint32_t error_ = 0;
};

}  // namespace kodrin::update
