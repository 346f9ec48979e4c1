// Reading a program file into a new record: the version resource (version,
// company, product name), the program's first icon as the record's picture,
// and the creation date of the program's folder as install and purchase date.
// The system is reached through ProgramFileSource; the Windows one lives in
// discovery/win32/program_file_win32.h.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/dates.h"
#include "catalog/record.h"
#include "catalog/settings.h"
#include "platform/image.h"

namespace kodrin::discovery {

// What the system tells about one program file and its folder.
class ProgramFileSource {
public:
    virtual ~ProgramFileSource() = default;

    // Reads the version information of the file. False, with no version
    // information, when the path names neither a program (".exe") nor a
    // library (".dll"), compared ignoring case.
    virtual bool OpenVersion(const std::u16string& path) = 0;
    // "major.minor.build.revision" of the opened file's fixed version.
    virtual bool VersionString(std::u16string& out) = 0;
    // A string value ("CompanyName", ...) of the first translation.
    virtual bool VersionValue(std::u16string_view key, std::u16string& out) = 0;

    // The colour bitmap of the file's first icon (the large one, else the
    // small one). False when the file has no icon.
    virtual bool FirstIcon(const std::u16string& path, platform::Image& icon) = 0;
    // The temporary folder, ending with a separator.
    virtual std::u16string TempFolder() = 0;
    // Creates or replaces a file.
    virtual bool WriteFile(const std::u16string& path, const std::vector<std::uint8_t>& bytes) = 0;
    virtual bool ReadFile(const std::u16string& path, std::vector<std::uint8_t>& bytes) = 0;

    // The calendar date (UTC) of the folder's creation time, or of its last
    // write when the creation time is missing. False when there is no such folder.
    virtual bool FolderDate(const std::u16string& folder, Date& date) = 0;
};

// Fills the new record from the program file at the full path: PATH always;
// VERSION (with DATELASTCHECKED set to the options' today), COMPANY and
// PROGRAM from the version resource, trailing white space removed; the first
// icon written as a 24-bit bitmap into the temporary folder, named after the
// program (or "icon"), and taken as the picture with PICTURENAME its full
// path; INSTALLDATE and PURCHASEDATE from the folder in the options' date
// style. True when anything came from the version resource or the folder.
bool ReadProgramFile(ProgramFileSource& source, const Settings& options, ApplicationRecord& record,
                     const std::u16string& path);

// Removes trailing white space: the ASCII spaces (space, tab, line feed,
// vertical tab, form feed, carriage return) and the Unicode space characters.
void TrimTrailingSpace(std::u16string& text);
bool IsSpaceCharacter(char16_t c);

// The folder of a path: everything before its last "\" or "/"; empty when it
// has neither.
std::u16string_view FolderOfPath(std::u16string_view path);

// A file name made from a product name: characters that a file name cannot
// hold (\ / : * ? " < > | and control characters) become "_", so that a
// product name cannot lead the picture out of the temporary folder.
std::u16string SafeFileName(std::u16string_view name);

// A Windows bitmap file, 24 bits per pixel, bottom-up rows padded to four
// bytes; the alpha channel is dropped. Empty for an invalid image.
std::vector<std::uint8_t> EncodeBitmap24(const platform::Image& image);

}  // namespace kodrin::discovery
