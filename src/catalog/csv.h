// Comma-separated values: the export of the catalog for spreadsheets and the
// reader that imports such files (and parses the scanner's filter list).
//
// File layout, both directions: CR LF ends a line; the first line is the
// header of field captions; every cell is enclosed in double quotes and the
// cells are separated by ","; a double quote inside a value is written twice
// and read back as one; line breaks inside a value stay inside its quotes.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/catalog.h"
#include "catalog/catalog_document.h"
#include "catalog/record.h"

namespace kodrin {

// What the export dialog chose.
struct ExportOptions {
    std::u16string path;                // target file
    std::u16string category = u"<All>"; // "<All>" or one category name (InCategory)
    bool allData = true;                // CSV: every field, or the displayed columns (COLS)
    bool exportPictures = false;        // CSV: pictures into "Images\" beside the target
    bool preserveUnicode = true;        // CSV: UTF-16LE, or one byte per character
    bool utf8 = false;                  // CSV: UTF-8 with a byte-order mark instead (kodrin-cli --utf8)
};

// A name ending in ".csv" (ignoring case) is a CSV file; anything else is
// markup. Only the file-name part counts, not a dot in a folder name.
bool IsCsvPath(std::u16string_view path);

// The columns of an export: every FieldId 0..48 but the web user name and
// password (47 columns), or the displayed columns in their order without
// those two.
std::vector<int> CsvColumns(const Settings& options, bool allData);

// One cell: the value in double quotes, each quote inside doubled.
void AppendCsvCell(std::u16string& line, std::u16string_view value);

// The whole export text: header and one line per record the category
// accepts, in catalog order. Without preserveUnicode every character is
// already reduced to its low 8 bits (before the quotes are doubled, so that
// a character whose low byte is a quote cannot end its cell).
std::u16string CsvDocument(const Catalog& catalog, const ExportOptions& options, const ProgressFn& progress = {});
// The same into text, replacing what it held but reusing its memory.
void CsvDocument(std::u16string& text, const Catalog& catalog, const ExportOptions& options,
                 const ProgressFn& progress = {});

// The bytes of the export file, written straight into bytes (replacing
// what they held, reusing their memory): CsvFileBytes of CsvDocument
// without the text in between for the 8-bit file.
void CsvDocumentBytes(std::vector<std::uint8_t>& bytes, const Catalog& catalog, const ExportOptions& options,
                      const ProgressFn& progress = {});

// The bytes of the file: UTF-16LE without a byte-order mark, or the low
// 8 bits of every code unit.
std::vector<std::uint8_t> CsvFileBytes(std::u16string_view text, bool preserveUnicode);

// The bytes of a UTF-8 export: the byte-order mark, then the text (an
// unpaired surrogate becomes U+FFFD).
std::vector<std::uint8_t> CsvUtf8Bytes(std::u16string_view text);

// Writes the export file (replacing any existing one) and, when asked, the
// records' pictures into the "Images\" folder beside it: with STOREIMAGES
// the picture bytes are encoded by the extension of PICTURENAME, otherwise
// the picture file is copied from the "Images\" folder beside dataFilePath.
// False when the file could not be written; a picture that cannot be
// written is passed over.
bool WriteCsv(const Catalog& catalog, const ExportOptions& options, std::u16string_view dataFilePath,
              const ProgressFn& progress = {});

// The header key of a caption or header cell: white space dropped, letters
// and digits kept, ending at the first other character ("Custom Data #1"
// gives "CustomData", "# Disks" gives "").
std::u16string CsvHeaderKey(std::u16string_view text);

// Which column feeds each field: -1 for none. recognised is false when no
// header cell that carries a name matched a field.
struct CsvColumnMap {
    std::vector<int> column = std::vector<int>(kFieldCount, -1);  // by FieldId
    bool recognised = false;
};
// A header cell that equals a caption (ignoring case and surrounding blanks)
// feeds exactly that field, so this program's own headers come back into
// their own fields ("Custom Data #1".."#5", "Auto-Update" and
// "Auto-Remove", "# Disks" and the caption-less PAD file column). Cells that
// name no caption exactly go by the header key, for the fields that no
// exact caption claimed. Later cells win; Sort Order is never read.
CsvColumnMap MapCsvHeader(const std::vector<std::u16string>& headerCells);

// Reads CSV text into records appended to target, each with the next id of
// idCounter. Pictures named in the Picture column are read from the
// "Images\" folder beside sourcePath. False, with nothing added, when the
// header names no known column. Progress goes from 0 towards 100 with the
// part of the text read, reported when the percentage changes.
bool ReadCsv(std::u16string_view text, std::vector<ApplicationRecord>& target, std::int32_t& idCounter,
             const ProgressFn& progress, std::u16string_view sourcePath);

// Text of a file as the CSV import reads it: the bytes taken two to a UTF-16
// code unit (a trailing odd byte dropped), one byte per character
// (ISO 8859-1), or decoded as UTF-8 (each byte that starts no well-formed
// sequence becomes U+FFFD, as platform::FromUtf8 reads it). A leading
// byte-order mark is dropped.
std::u16string CsvTextFromUtf16(const std::vector<std::uint8_t>& bytes);
std::u16string CsvTextFrom8Bit(const std::vector<std::uint8_t>& bytes);
std::u16string CsvTextFromUtf8(const std::vector<std::uint8_t>& bytes);

// Whether a CSV file is read as UTF-8, as spreadsheet programs write it: it
// starts with the UTF-8 byte-order mark, or, without one, all its bytes are
// well-formed UTF-8 and some are not ASCII. Other files are read as UTF-16
// and then as 8-bit text.
bool IsUtf8Csv(std::span<const std::uint8_t> bytes);

// How the bytes of a CSV file are taken: as CsvTextFromUtf16,
// CsvTextFrom8Bit or CsvTextFromUtf8 reads them.
enum class CsvEncoding { Utf16, EightBit, Utf8 };

// ReadCsv over the bytes of a file, with the same result as ReadCsv on
// CsvTextFromUtf16(bytes), CsvTextFrom8Bit(bytes) or CsvTextFromUtf8(bytes),
// but without making that copy of the whole text first: only the cells are
// decoded, in the same pass.
bool ReadCsvBytes(std::span<const std::uint8_t> bytes, CsvEncoding encoding, std::vector<ApplicationRecord>& target,
                  std::int32_t& idCounter, const ProgressFn& progress, std::u16string_view sourcePath);

}  // namespace kodrin
