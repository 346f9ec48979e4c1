// The catalog as a markup document: the in-memory halves of saving and
// loading the data file (and of markup exports and imports). The file
// itself, the password and the backup copy are the data file's business.
//
// Document layout, one element per line:
//   <KODRIN>
//   <DATAVERSION>1000</DATAVERSION>
//   <CATEGORYLIST> <CATEGORYNAME>..</CATEGORYNAME>... </CATEGORYLIST>
//   <OPTIONS> ... </OPTIONS>
//   <APPLICATIONLIST> <APPLICATION>...</APPLICATION>... </APPLICATIONLIST>
//   </KODRIN>
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/catalog.h"
#include "catalog/markup.h"
#include "catalog/settings.h"

namespace kodrin {

inline constexpr std::u16string_view kRootTag = u"KODRIN";
inline constexpr std::u16string_view kDataVersionTag = u"DATAVERSION";
inline constexpr std::int32_t kDataVersion = 1000;

// Reports progress in percent, each value once; may be empty.
using ProgressFn = std::function<void(int percent)>;

// Called for each written record that has a picture name and picture bytes
// when pictures are kept in the pictures folder instead of the document.
// Returns the file name the picture was saved under, which the document then
// gives as the record's PICTURENAME; nothing when it was not saved, and the
// bytes then stay in the document as PICTUREDATA, so that none are lost.
using PictureSinkFn = std::function<std::optional<std::u16string>(const ApplicationRecord& record)>;

// Writes one APPLICATION element. The picture bytes go into the element only
// when writePicture is true. pictureName, when given, is written as
// PICTURENAME instead of the record's own.
void WriteRecord(MarkupWriter& writer, const ApplicationRecord& record, bool writePicture,
                 const std::u16string* pictureName = nullptr);

// Writes the whole document. The filter selects the records (InCategory) and
// the category names: empty writes every category, "<All>" none, any other
// name only that one.
std::u16string WriteCatalogDocument(const Catalog& catalog, const Settings& settings,
                                    std::u16string_view filter, const PictureSinkFn& pictureSink = {},
                                    const ProgressFn& progress = {});
// The same into out, reusing the memory of the document it held.
void WriteCatalogDocument(std::u16string& out, const Catalog& catalog, const Settings& settings,
                          std::u16string_view filter, const PictureSinkFn& pictureSink = {},
                          const ProgressFn& progress = {});

enum class RecordEnd {
    Closed,          // the closing APPLICATION tag ended the record
    NextRecord,      // an opening APPLICATION tag came first (its closing tag is missing)
    EndOfDocument,   // the document ended inside the record
};

// Reads one record's elements after its opening APPLICATION tag into record
// (which the caller has reset). A PICTURENAME holding a full path loads that
// file's bytes as the picture and keeps only the file name.
RecordEnd ReadRecord(MarkupReader& reader, ApplicationRecord& record);

struct DocumentReadResult {
    bool formatProblem = false;  // misplaced elements or an unterminated settings block
};

// Walks a document whose root the caller has found, adding categories and
// records to the catalog (AddRecord without dedupe) and reading the settings
// block into settings, up to the closing root tag or the end.
DocumentReadResult ReadCatalogDocument(MarkupReader& reader, Catalog& catalog, Settings& settings,
                                       const ProgressFn& progress = {});

}  // namespace kodrin
