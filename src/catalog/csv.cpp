#include "catalog/csv.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <span>

#include "catalog/datafile.h"
#include "catalog/markup.h"
#include "catalog/strings.h"
#include "catalog/tokenizer.h"
#include "platform/files.h"
#include "platform/text.h"
#include "platform/utf.h"

namespace kodrin {

namespace {

constexpr char16_t kLoginPartSeparator = u'\u00AA';    // "ª"
constexpr char16_t kLoginEntryTerminator = u'\u00BB';  // "»"

// Letters and digits of the header key rule; the same in every build.
bool IsKeyCharacter(char16_t c) {
    if ((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z')) return true;
    if (c < 0x80) return false;
    if (c < 0x100) return c == 0xAA || c == 0xB5 || c == 0xBA || (c >= 0xC0 && c != 0xD7 && c != 0xF7);
    if (IsBlank(c)) return false;
    return !((c >= 0x2000 && c <= 0x2BFF) || (c >= 0x3000 && c <= 0x303F) || (c >= 0xFE30 && c <= 0xFE4F) ||
             (c >= 0xFF00 && c <= 0xFF0F) || (c >= 0xFF1A && c <= 0xFF20) || (c >= 0xFF3B && c <= 0xFF40) ||
             (c >= 0xFF5B && c <= 0xFF65) || c >= 0xFFF0);
}

std::u16string_view TrimBlanks(std::u16string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// The pictures folder beside a file: its folder followed by "Images\".
std::u16string ImagesFolderBeside(std::u16string_view file) { return PicturesFolder(file); }

void ExportPicture(const ApplicationRecord& record, const Settings& options, std::u16string_view target,
                   std::u16string_view dataFilePath) {
    // Only plain file names: a name cannot reach outside the folder.
    const std::u16string_view name = platform::FileNamePart(record.pictureName);
    if (name.empty() || name != record.pictureName || name == u"." || name == u"..") return;
    const std::u16string folder = ImagesFolderBeside(target);
    if (!platform::CreateFolders(folder)) return;
    if (options.storeImages) {
        if (!record.picture.empty()) SavePicture(record, folder);
    } else {
        platform::CopyFileTo(ImagesFolderBeside(dataFilePath) + std::u16string(name), folder + std::u16string(name));
    }
}

// A list of parts separated by one character, without quoting: each part
// goes to fn, the empty ones too.
template <class Fn>
void ForEachPart(std::u16string_view text, char16_t separator, Fn&& fn) {
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(separator, start);
        if (end == std::u16string_view::npos) {
            fn(text.substr(start));
            return;
        }
        fn(text.substr(start, end - start));
        start = end + 1;
    }
}

void ReadLoginData(std::u16string_view cell, ApplicationRecord& record) {
    ForEachPart(cell, kLoginEntryTerminator, [&](std::u16string_view entry) {
        // Exactly four parts: name, value, type, use.
        std::array<std::u16string_view, 4> parts;
        std::size_t count = 0;
        ForEachPart(entry, kLoginPartSeparator, [&](std::u16string_view part) {
            if (count < parts.size()) parts[count] = part;
            ++count;
        });
        if (count != parts.size()) return;
        LoginField field;
        field.name = std::u16string(parts[0]);
        field.value = std::u16string(parts[1]);
        field.type = static_cast<LoginFieldType>(ReadInt(parts[2]));
        field.use = !parts[3].empty() && parts[3].front() == u'1';
        AddLoginField(record, std::move(field));
    });
}

// The names of the cell; "<All>" is the view of every record, never a
// category of one, and is dropped.
void ReadCategories(std::u16string_view cell, std::u16string_view all, ApplicationRecord& record) {
    record.categories.clear();
    ForEachPart(cell, u',', [&](std::u16string_view name) {
        if (!name.empty() && name != all) record.categories.emplace_back(name);
    });
}

// The pictures named in the Picture column, read from the "Images\" folder
// beside the imported file and nowhere else. Whether that folder exists is
// asked once: without it no row looks for its file.
class PictureFolder {
public:
    explicit PictureFolder(std::u16string_view sourcePath) : sourcePath_(sourcePath) {}

    void Read(std::u16string_view cell, ApplicationRecord& record) {
        record.picture.clear();
        // The name without any folder: a name cannot reach outside the folder.
        const std::u16string_view name = platform::FileNamePart(cell);
        record.pictureName.assign(name);
        if (name.empty() || name == u"." || name == u"..") return;
        if (state_ == State::Unknown) {
            folder_ = ImagesFolderBeside(sourcePath_);
            state_ = platform::FolderExists(folder_) ? State::Present : State::Missing;
        }
        if (state_ == State::Missing) return;
        path_.assign(folder_).append(name);
        if (!platform::ReadWholeFile(path_, record.picture)) record.picture.clear();
    }

private:
    enum class State { Unknown, Present, Missing };
    std::u16string_view sourcePath_;
    std::u16string folder_;
    std::u16string path_;
    State state_ = State::Unknown;
};

bool HasUtf8Mark(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF;
}

// One character of UTF-8 below U+10000 at p (n bytes available): its length
// and, in c, its code unit; 0 for anything else (a four-byte sequence, or
// bytes that are no well-formed sequence).
std::size_t DecodeUtf8Unit(const std::uint8_t* p, std::size_t n, char16_t& c) {
    const std::uint8_t b = p[0];
    if (b < 0x80) {
        c = b;
        return 1;
    }
    if (b >= 0xC2 && b <= 0xDF) {
        if (n < 2 || (p[1] & 0xC0) != 0x80) return 0;
        c = static_cast<char16_t>(((b & 0x1F) << 6) | (p[1] & 0x3F));
        return 2;
    }
    if ((b & 0xF0) == 0xE0) {
        if (n < 3 || (p[1] & 0xC0) != 0x80 || (p[2] & 0xC0) != 0x80) return 0;
        const char16_t value = static_cast<char16_t>(((b & 0x0F) << 12) | ((p[1] & 0x3F) << 6) | (p[2] & 0x3F));
        if (value < 0x800 || (value >= 0xD800 && value <= 0xDFFF)) return 0;  // overlong, or a surrogate
        c = value;
        return 3;
    }
    return 0;
}

// A four-byte sequence at p (n bytes available): true with its code point,
// U+10000 to U+10FFFF, in cp.
bool DecodeUtf8Supplementary(const std::uint8_t* p, std::size_t n, char32_t& cp) {
    if (n < 4 || p[0] < 0xF0 || p[0] > 0xF4 || (p[1] & 0xC0) != 0x80 || (p[2] & 0xC0) != 0x80 ||
        (p[3] & 0xC0) != 0x80) {
        return false;
    }
    cp = (static_cast<char32_t>(p[0] & 0x07) << 18) | (static_cast<char32_t>(p[1] & 0x3F) << 12) |
         (static_cast<char32_t>(p[2] & 0x3F) << 6) | static_cast<char32_t>(p[3] & 0x3F);
    return cp >= 0x10000 && cp <= 0x10FFFF;
}

// True when the eight bytes at p are all ASCII.
bool AsciiWord(const std::uint8_t* p) {
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    return (word & 0x8080808080808080ull) == 0;
}

// Decodes n bytes of UTF-8 into out (room for n code units), returning the
// number written. Each byte that does not start a well-formed sequence (a
// stray continuation byte, an overlong form, a surrogate, beyond U+10FFFF,
// or cut short) becomes one U+FFFD, as platform::FromUtf8 reads it.
std::size_t DecodeUtf8(const std::uint8_t* p, std::size_t n, char16_t* out) {
    char16_t* const start = out;
    std::size_t i = 0;
    while (i < n) {
        // Runs of ASCII, eight bytes at a time.
        while (i + 8 <= n && AsciiWord(p + i)) {
            for (std::size_t k = 0; k < 8; ++k) out[k] = p[i + k];
            out += 8;
            i += 8;
        }
        if (i >= n) break;
        char16_t c;
        if (const std::size_t length = DecodeUtf8Unit(p + i, n - i, c)) {
            *out++ = c;
            i += length;
            continue;
        }
        char32_t cp;
        if (DecodeUtf8Supplementary(p + i, n - i, cp)) {
            *out++ = static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
            *out++ = static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
            i += 4;
            continue;
        }
        *out++ = u'\uFFFD';
        ++i;
    }
    return static_cast<std::size_t>(out - start);
}

// The code units of the text being read: UTF-16 text in memory, whose cells
// can be views into it, or a file's bytes taken as UTF-16LE or as one byte
// per character, whose cells are decoded into the reader's own buffer.
//
// Each gives the unit at a position (for a UTF-8 file: the byte, which the
// reader compares only with ASCII characters), the length of a blank at a
// position (0 for none), and decodes count units into out, returning the
// number of UTF-16 code units written (never more than count).
struct TextUnits {
    static constexpr bool kViews = true;
    const char16_t* data;
    std::size_t size;
    char16_t operator[](std::size_t i) const { return data[i]; }
    std::size_t BlankAt(std::size_t i) const { return IsBlank(data[i]) ? 1 : 0; }
    std::size_t Decode(std::size_t begin, std::size_t count, char16_t* out) const {
        if (count > 0) std::memcpy(out, data + begin, count * sizeof(char16_t));
        return count;
    }
};

struct Utf16LeUnits {
    static constexpr bool kViews = false;
    const std::uint8_t* data;
    std::size_t size;  // in code units
    char16_t operator[](std::size_t i) const {
        return static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    }
    std::size_t BlankAt(std::size_t i) const { return IsBlank((*this)[i]) ? 1 : 0; }
    std::size_t Decode(std::size_t begin, std::size_t count, char16_t* out) const {
        // UTF-16LE is the memory of a char16_t on this machine.
        static_assert(std::endian::native == std::endian::little);
        if (count > 0) std::memcpy(out, data + 2 * begin, count * sizeof(char16_t));
        return count;
    }
};

struct Latin1Units {
    static constexpr bool kViews = false;
    const std::uint8_t* data;
    std::size_t size;
    char16_t operator[](std::size_t i) const { return data[i]; }
    std::size_t BlankAt(std::size_t i) const { return IsBlank(data[i]) ? 1 : 0; }
    std::size_t Decode(std::size_t begin, std::size_t count, char16_t* out) const {
        for (std::size_t i = 0; i < count; ++i) out[i] = data[begin + i];
        return count;
    }
};

// UTF-8: the line reader looks only for ASCII characters, which never occur
// inside a multi-byte sequence, so it can walk the bytes; the runs it takes
// always start and end at ASCII characters or whole sequences, and decoding
// them one by one gives the same text as decoding the whole file.
struct Utf8Units {
    static constexpr bool kViews = false;
    const std::uint8_t* data;
    std::size_t size;
    char16_t operator[](std::size_t i) const { return data[i]; }
    std::size_t BlankAt(std::size_t i) const {
        if (data[i] < 0x80) return IsBlank(data[i]) ? 1 : 0;
        // The blanks beyond ASCII: U+0085, U+00A0 (two bytes), U+1680,
        // U+2000..U+205F, U+3000 (three bytes).
        char16_t c;
        const std::size_t length = DecodeUtf8Unit(data + i, size - i, c);
        return length > 1 && IsBlank(c) ? length : 0;
    }
    std::size_t Decode(std::size_t begin, std::size_t count, char16_t* out) const {
        return DecodeUtf8(data + begin, count, out);
    }
};

// Reads CSV text one line at a time in a single pass, giving the cells of
// each line. A line ends at a line feed outside quotes; a carriage return
// right before it (or at the very end of the text) is no part of the line.
// Cells are separated by "," outside quotes; a double quote toggles the
// quoted state and is dropped, except that two in a row inside quotes give
// one quote character; white space at the start of a cell (outside quotes)
// is skipped. The last cell of a line counts only when it is not empty (or,
// when asked, when it held a quote).
//
// A cell whose characters are one run of the text is a view into it; a cell
// that needs unescaping, or whose run is broken by quotes, is put together
// in a buffer that the reader keeps from line to line. The cells are valid
// until the next line is read.
template <class Units>
class CsvLineReader {
public:
    explicit CsvLineReader(Units units) : units_(units) {}

    bool AtEnd() const { return position_ >= units_.size; }
    std::size_t Position() const { return position_; }
    std::size_t Size() const { return units_.size; }
    const std::vector<std::u16string_view>& Cells() const { return cells_; }

    void ReadLine(bool keepQuotedEmptyLast) {
        pieces_.clear();
        buffer_.clear();
        StartCell();
        const Units& t = units_;
        const std::size_t n = t.size;
        std::size_t i = position_;
        bool inQuotes = false;
        bool atStart = true;  // nothing but skipped blanks in the current cell
        bool quoted = false;  // the current cell held a quote
        while (i < n) {
            if (inQuotes) {
                std::size_t quote = i;
                while (quote < n && t[quote] != u'"') ++quote;
                if (quote == n) {
                    // Unterminated: the rest of the text, less a final carriage return.
                    Append(i, t[n - 1] == u'\r' ? n - 1 : n);
                    i = n;
                    break;
                }
                Append(i, quote);
                if (quote + 1 < n && t[quote + 1] == u'"') {
                    Append(quote, quote + 1);  // a doubled quote: one quote character
                    i = quote + 2;
                } else {
                    inQuotes = false;
                    i = quote + 1;
                }
                continue;
            }
            const char16_t c = t[i];
            if (c == u'"') {
                inQuotes = quoted = true;
                atStart = false;
                ++i;
            } else if (c == u',') {
                EndCell();
                atStart = true;
                quoted = false;
                ++i;
            } else if (c == u'\n') {
                ++i;
                break;
            } else if (c == u'\r' && (i + 1 == n || t[i + 1] == u'\n')) {
                ++i;
            } else if (std::size_t blank = atStart ? t.BlankAt(i) : 0) {
                i += blank;
            } else {
                atStart = false;
                std::size_t end = i + 1;
                while (end < n) {
                    const char16_t d = t[end];
                    if (d == u'"' || d == u',' || d == u'\n' || d == u'\r') break;
                    ++end;
                }
                Append(i, end);
                i = end;
            }
        }
        position_ = i;
        if (CellSize() > 0 || (keepQuotedEmptyLast && quoted)) EndCell();

        cells_.clear();
        for (const Piece& piece : pieces_) {
            cells_.emplace_back(piece.inBuffer ? buffer_.data() + piece.offset : ViewData() + piece.offset,
                                piece.size);
        }
    }

private:
    struct Piece {
        bool inBuffer;
        std::size_t offset;
        std::size_t size;
    };

    const char16_t* ViewData() const {
        if constexpr (Units::kViews) {
            return units_.data;
        } else {
            return nullptr;
        }
    }

    void StartCell() {
        inBuffer_ = !Units::kViews;
        begin_ = end_ = 0;
        bufferStart_ = buffer_.size();
    }

    std::size_t CellSize() const { return inBuffer_ ? buffer_.size() - bufferStart_ : end_ - begin_; }

    void EndCell() {
        pieces_.push_back(inBuffer_ ? Piece{true, bufferStart_, buffer_.size() - bufferStart_}
                                    : Piece{false, begin_, end_ - begin_});
        StartCell();
    }

    // The units [begin, end) of the text are the next characters of the cell.
    void Append(std::size_t begin, std::size_t end) {
        if (begin == end) return;
        if (!inBuffer_) {
            if (begin_ == end_) {
                begin_ = begin;
                end_ = end;
                return;
            }
            if (end_ == begin) {
                end_ = end;
                return;
            }
            // Not one run any more: the cell continues in the buffer.
            inBuffer_ = true;
            bufferStart_ = buffer_.size();
            AppendToBuffer(begin_, end_);
        }
        AppendToBuffer(begin, end);
    }

    void AppendToBuffer(std::size_t begin, std::size_t end) {
        const std::size_t old = buffer_.size();
        buffer_.resize(old + (end - begin));
        buffer_.resize(old + units_.Decode(begin, end - begin, buffer_.data() + old));
    }

    Units units_;
    std::size_t position_ = 0;
    std::vector<Piece> pieces_;
    std::u16string buffer_;
    std::vector<std::u16string_view> cells_;
    // The current cell: the run [begin_, end_) of the text, or everything
    // in the buffer from bufferStart_ on.
    bool inBuffer_ = false;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    std::size_t bufferStart_ = 0;
};

template <class Units>
bool ReadCsvUnits(Units units, std::vector<ApplicationRecord>& target, std::int32_t& idCounter,
                  const ProgressFn& progress, std::u16string_view sourcePath) {
    CsvLineReader<Units> reader(units);
    if (reader.AtEnd()) return false;
    reader.ReadLine(true);  // the caption-less PAD file column ends this program's header
    const CsvColumnMap map =
        MapCsvHeader(std::vector<std::u16string>(reader.Cells().begin(), reader.Cells().end()));
    if (!map.recognised) return false;

    // The mapped fields in field order, each with its column.
    struct Mapped {
        const FieldInfo* field;
        std::size_t column;
    };
    std::vector<Mapped> mapped;
    std::size_t firstColumn = SIZE_MAX;
    for (const FieldInfo& field : kFields) {
        const int column = map.column[static_cast<std::size_t>(field.id)];
        if (column < 0) continue;
        mapped.push_back({&field, static_cast<std::size_t>(column)});
        firstColumn = std::min(firstColumn, static_cast<std::size_t>(column));
    }
    const auto isMapped = [&](int id) { return map.column[static_cast<std::size_t>(id)] >= 0; };
    const bool webColumns = isMapped(fields::WebUserName) || isMapped(fields::WebPassword);
    const std::u16string yes = LoadText(kStrYes);
    const std::u16string no = LoadText(kStrNo);
    const std::u16string all = LoadText(kStrAllCategory);
    PictureFolder pictures(sourcePath);

    // Room for the records once the first lines tell their typical length.
    constexpr std::size_t kSampleRecords = 64;
    const std::size_t firstRecordAt = reader.Position();
    std::size_t added = 0;
    int reported = -1;

    while (!reader.AtEnd()) {
        if (progress) {
            const int percent = static_cast<int>(100 * static_cast<unsigned long long>(reader.Position()) /
                                                 reader.Size());
            if (percent != reported) {
                reported = percent;
                progress(percent);
            }
        }
        reader.ReadLine(false);
        const std::vector<std::u16string_view>& cells = reader.Cells();
        // A line that supplies no mapped cell is skipped.
        if (cells.size() <= firstColumn) continue;

        if (++added == kSampleRecords) {
            const std::size_t remaining = reader.Size() - reader.Position();
            std::size_t expected = remaining * kSampleRecords / (reader.Position() - firstRecordAt);
            expected = std::min(expected + expected / 8 + 16, remaining / 8);
            target.reserve(target.size() + expected);
        }
        ApplicationRecord& record = target.emplace_back(NewRecord());
        std::u16string_view webUser, webPassword;
        for (const Mapped& m : mapped) {
            if (m.column >= cells.size()) continue;
            const std::u16string_view cell = cells[m.column];
            const FieldInfo& field = *m.field;
            switch (field.kind) {
                case FieldKind::LoginData:
                    ReadLoginData(cell, record);
                    break;
                case FieldKind::Categories:
                    ReadCategories(cell, all, record);
                    break;
                case FieldKind::Text:
                    if (field.id == fields::PictureName) {
                        pictures.Read(cell, record);
                    } else {
                        (record.*(field.text)).assign(cell);
                    }
                    break;
                case FieldKind::Price:
                    record.*(field.price) = ReadReal(cell);
                    break;
                case FieldKind::Integer:
                    if (field.id != fields::SortOrder) record.*(field.number) = ReadInt(cell);
                    break;
                case FieldKind::Flag: {
                    const bool isYes = platform::EqualIgnoreCase(cell, yes);
                    record.*(field.flag) = isYes;
                    if (isYes || platform::EqualIgnoreCase(cell, no)) record.*(field.leaveUnchanged) = false;
                    break;
                }
                case FieldKind::WebUserName:
                    webUser = cell;
                    break;
                case FieldKind::WebPassword:
                    webPassword = cell;
                    break;
            }
        }
        if (webColumns) {
            if (!webUser.empty()) {
                AddLoginField(record, LoginField{{}, std::u16string(webUser), 0, LoginFieldType::StandardInput,
                                                 true, false});
            }
            if (!webPassword.empty()) {
                AddLoginField(record, LoginField{{}, std::u16string(webPassword), 0, LoginFieldType::Password,
                                                 true, false});
            }
        }
        record.recordId = ++idCounter;
    }
    return true;
}

// The export text written straight into one buffer: UTF-16 code units, or
// each code unit reduced to its low 8 bits (kept as char16_t for
// CsvDocument, as bytes for the file). The reduction comes before the
// quotes are doubled, so that a character whose low byte is a quote cannot
// end its cell.
template <class Container, bool kLowBytes>
class CsvWriter {
public:
    using Unit = typename Container::value_type;

    CsvWriter(Container& out, const Catalog& catalog, const ExportOptions& options)
        : out_(out), catalog_(catalog), options_(options), settings_(CatalogOptions(catalog)),
          columns_(CsvColumns(settings_, options.allData)) {}

    void Write(const ProgressFn& progress) {
        long long count = 0;
        std::size_t estimate = 4096;
        for (const ApplicationRecord& r : catalog_.records) {
            if (!InCategory(options_.category, r)) continue;
            ++count;
            estimate += 64 + 3 * columns_.size();
            for (const auto member : kTextFields) estimate += (r.*member).size();
        }
        out_.clear();
        out_.reserve(estimate + estimate / 8);

        std::vector<std::u16string> captions;
        for (const int id : columns_) captions.push_back(FieldCaption(id));
        values_.assign(captions.begin(), captions.end());
        WriteLine();

        long long n = 0;
        int reported = -1;
        for (const ApplicationRecord& r : catalog_.records) {
            if (!InCategory(options_.category, r)) continue;
            if (progress) {
                const int percent = static_cast<int>(10 + 90 * n / (count + 1));
                if (percent != reported) {
                    reported = percent;
                    progress(percent);
                }
            }
            ++n;
            WriteRecord(r);
        }
    }

private:
    void WriteRecord(const ApplicationRecord& r) {
        // Fields that are not text of the record itself are formatted into
        // one reused buffer first; a text field is its own cell text.
        scratch_.clear();
        offsets_.clear();
        for (const int id : columns_) {
            const FieldInfo& field = kFields[static_cast<std::size_t>(id)];
            if (field.kind == FieldKind::Text) continue;
            const std::size_t start = scratch_.size();
            AppendFieldText(scratch_, settings_, r, id, true);
            offsets_.push_back(start);
        }
        offsets_.push_back(scratch_.size());
        std::size_t k = 0;
        for (std::size_t i = 0; i < columns_.size(); ++i) {
            const FieldInfo& field = kFields[static_cast<std::size_t>(columns_[i])];
            if (field.kind == FieldKind::Text) {
                values_[i] = r.*field.text;
            } else {
                values_[i] = std::u16string_view(scratch_).substr(offsets_[k], offsets_[k + 1] - offsets_[k]);
                ++k;
            }
        }
        WriteLine();
    }

    // The cells in values_, quoted and separated by ",", then CR LF.
    void WriteLine() {
        // At most every character doubled, two quotes and a comma per cell.
        std::size_t bound = 2;
        for (const std::u16string_view value : values_) bound += 2 * value.size() + 3;
        const std::size_t start = out_.size();
        out_.resize(start + bound);
        Unit* p = out_.data() + start;
        for (std::size_t i = 0; i < values_.size(); ++i) {
            if (i > 0) *p++ = Unit(',');
            p = PutCell(p, values_[i]);
        }
        *p++ = Unit('\r');
        *p++ = Unit('\n');
        out_.resize(static_cast<std::size_t>(p - out_.data()));
    }

    static Unit* PutCell(Unit* p, std::u16string_view value) {
        *p++ = Unit('"');
        for (const char16_t c : value) {
            const Unit u = kLowBytes ? static_cast<Unit>(c & 0xFF) : static_cast<Unit>(c);
            *p++ = u;
            if (u == Unit('"')) *p++ = u;
        }
        *p++ = Unit('"');
        return p;
    }

    Container& out_;
    const Catalog& catalog_;
    const ExportOptions& options_;
    const Settings& settings_;
    const std::vector<int> columns_;
    std::vector<std::u16string_view> values_;
    std::u16string scratch_;
    std::vector<std::size_t> offsets_;
};

}  // namespace

bool IsCsvPath(std::u16string_view path) {
    const std::u16string_view name = platform::FileNamePart(path);
    const std::size_t dot = name.rfind(u'.');
    return dot != std::u16string_view::npos && platform::EqualIgnoreCase(name.substr(dot), u".csv");
}

std::vector<int> CsvColumns(const Settings& options, bool allData) {
    std::vector<int> columns;
    if (allData) {
        for (int id = 0; id < kFieldCount; ++id) {
            if (id != fields::WebUserName && id != fields::WebPassword) columns.push_back(id);
        }
    } else {
        for (const std::uint8_t id : options.cols) {
            if (id < kFieldCount && id != fields::WebUserName && id != fields::WebPassword) columns.push_back(id);
        }
    }
    return columns;
}

void AppendCsvCell(std::u16string& line, std::u16string_view value) {
    line += u'"';
    // Runs without a quote go in whole; each quote is doubled.
    std::size_t start = 0;
    for (std::size_t quote = value.find(u'"'); quote != std::u16string_view::npos;
         quote = value.find(u'"', start)) {
        line.append(value.data() + start, quote + 1 - start);
        line += u'"';
        start = quote + 1;
    }
    line.append(value.data() + start, value.size() - start);
    line += u'"';
}

void CsvDocument(std::u16string& text, const Catalog& catalog, const ExportOptions& options,
                 const ProgressFn& progress) {
    if (options.preserveUnicode) {
        CsvWriter<std::u16string, false>(text, catalog, options).Write(progress);
    } else {
        CsvWriter<std::u16string, true>(text, catalog, options).Write(progress);
    }
}

std::u16string CsvDocument(const Catalog& catalog, const ExportOptions& options, const ProgressFn& progress) {
    std::u16string text;
    CsvDocument(text, catalog, options, progress);
    return text;
}

void CsvDocumentBytes(std::vector<std::uint8_t>& bytes, const Catalog& catalog, const ExportOptions& options,
                      const ProgressFn& progress) {
    if (options.preserveUnicode) {
        // UTF-16LE is the memory of the text on this machine.
        static_assert(std::endian::native == std::endian::little);
        std::u16string text;
        CsvDocument(text, catalog, options, progress);
        bytes.resize(text.size() * 2);
        std::memcpy(bytes.data(), text.data(), bytes.size());
    } else {
        CsvWriter<std::vector<std::uint8_t>, true>(bytes, catalog, options).Write(progress);
    }
}

std::vector<std::uint8_t> CsvFileBytes(std::u16string_view text, bool preserveUnicode) {
    std::vector<std::uint8_t> bytes(text.size() * (preserveUnicode ? 2 : 1));
    std::uint8_t* out = bytes.data();
    for (const char16_t c : text) {
        *out++ = static_cast<std::uint8_t>(c & 0xFF);
        if (preserveUnicode) *out++ = static_cast<std::uint8_t>(c >> 8);
    }
    return bytes;
}

std::vector<std::uint8_t> CsvUtf8Bytes(std::u16string_view text) {
    const std::string utf8 = platform::ToUtf8(text);
    std::vector<std::uint8_t> bytes(3 + utf8.size());
    bytes[0] = 0xEF;
    bytes[1] = 0xBB;
    bytes[2] = 0xBF;
    if (!utf8.empty()) std::memcpy(bytes.data() + 3, utf8.data(), utf8.size());
    return bytes;
}

bool WriteCsv(const Catalog& catalog, const ExportOptions& options, std::u16string_view dataFilePath,
              const ProgressFn& progress) {
    if (options.exportPictures) {
        const Settings& settings = CatalogOptions(catalog);
        const std::vector<int> columns = CsvColumns(settings, options.allData);
        if (std::find(columns.begin(), columns.end(), static_cast<int>(fields::PictureName)) != columns.end()) {
            for (const ApplicationRecord& r : catalog.records) {
                if (InCategory(options.category, r) && !r.pictureName.empty()) {
                    ExportPicture(r, settings, options.path, dataFilePath);
                }
            }
        }
    }
    if (options.utf8) {
        ExportOptions unicode = options;
        unicode.preserveUnicode = true;
        std::u16string text;
        CsvDocument(text, catalog, unicode, progress);
        return platform::WriteFileAtomically(options.path, CsvUtf8Bytes(text));
    }
    if (options.preserveUnicode) {
        std::u16string text;
        CsvDocument(text, catalog, options, progress);
        // UTF-16LE is the text's own memory on a little-endian machine.
        static_assert(std::endian::native == std::endian::little);
        return platform::WriteFileAtomically(
            options.path, std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()),
                                                        text.size() * 2));
    }
    std::vector<std::uint8_t> bytes;
    CsvDocumentBytes(bytes, catalog, options, progress);
    return platform::WriteFileAtomically(options.path, bytes);
}

std::u16string CsvHeaderKey(std::u16string_view text) {
    std::u16string key;
    for (const char16_t c : text) {
        if (IsBlank(c)) continue;
        if (!IsKeyCharacter(c)) break;
        key += c;
    }
    return key;
}

CsvColumnMap MapCsvHeader(const std::vector<std::u16string>& headerCells) {
    CsvColumnMap map;
    std::vector<std::u16string> captions(kFieldCount), keys(kFieldCount);
    for (int id = 0; id < kFieldCount; ++id) {
        captions[static_cast<std::size_t>(id)] = FieldCaption(id);
        keys[static_cast<std::size_t>(id)] = CsvHeaderKey(captions[static_cast<std::size_t>(id)]);
    }
    std::vector<bool> exact(kFieldCount, false);
    std::vector<bool> claimed(headerCells.size(), false);

    for (std::size_t j = 0; j < headerCells.size(); ++j) {
        const std::u16string_view cell = TrimBlanks(headerCells[j]);
        for (int id = 0; id < kFieldCount; ++id) {
            if (id == fields::SortOrder) continue;
            const std::u16string& caption = captions[static_cast<std::size_t>(id)];
            // The locale comparison may ignore some characters: an empty
            // caption is matched by an empty cell only.
            if (caption.empty() ? !cell.empty() : !platform::EqualIgnoreCase(cell, caption)) continue;
            map.column[static_cast<std::size_t>(id)] = static_cast<int>(j);
            exact[static_cast<std::size_t>(id)] = true;
            claimed[j] = true;
            if (!cell.empty()) map.recognised = true;
        }
    }
    for (std::size_t j = 0; j < headerCells.size(); ++j) {
        if (claimed[j]) continue;
        const std::u16string key = CsvHeaderKey(headerCells[j]);
        for (int id = 0; id < kFieldCount; ++id) {
            if (id == fields::SortOrder || exact[static_cast<std::size_t>(id)]) continue;
            const std::u16string& fieldKey = keys[static_cast<std::size_t>(id)];
            if (key.empty() || fieldKey.empty() ? key.size() != fieldKey.size()
                                                : !platform::EqualIgnoreCase(key, fieldKey)) {
                continue;
            }
            map.column[static_cast<std::size_t>(id)] = static_cast<int>(j);
            if (!key.empty()) map.recognised = true;
        }
    }
    return map;
}

bool ReadCsv(std::u16string_view text, std::vector<ApplicationRecord>& target, std::int32_t& idCounter,
             const ProgressFn& progress, std::u16string_view sourcePath) {
    return ReadCsvUnits(TextUnits{text.data(), text.size()}, target, idCounter, progress, sourcePath);
}

bool ReadCsvBytes(std::span<const std::uint8_t> bytes, CsvEncoding encoding, std::vector<ApplicationRecord>& target,
                  std::int32_t& idCounter, const ProgressFn& progress, std::u16string_view sourcePath) {
    if (encoding == CsvEncoding::Utf16) {
        std::size_t start = 0;
        const std::size_t units = bytes.size() / 2;
        if (units > 0 && bytes[0] == 0xFF && bytes[1] == 0xFE) start = 1;  // byte-order mark
        return ReadCsvUnits(Utf16LeUnits{bytes.data() + 2 * start, units - start}, target, idCounter, progress,
                            sourcePath);
    }
    // A UTF-8 byte-order mark, as spreadsheets write it.
    const std::size_t start = HasUtf8Mark(bytes) ? 3 : 0;
    if (encoding == CsvEncoding::Utf8) {
        return ReadCsvUnits(Utf8Units{bytes.data() + start, bytes.size() - start}, target, idCounter, progress,
                            sourcePath);
    }
    return ReadCsvUnits(Latin1Units{bytes.data() + start, bytes.size() - start}, target, idCounter, progress,
                        sourcePath);
}

bool IsUtf8Csv(std::span<const std::uint8_t> bytes) {
    if (HasUtf8Mark(bytes)) return true;
    const std::uint8_t* p = bytes.data();
    const std::size_t n = bytes.size();
    bool nonAscii = false;
    std::size_t i = 0;
    while (i < n) {
        while (i + 8 <= n && AsciiWord(p + i)) i += 8;
        if (i >= n) break;
        char16_t c;
        char32_t cp;
        if (const std::size_t length = DecodeUtf8Unit(p + i, n - i, c)) {
            nonAscii = nonAscii || length > 1;
            i += length;
        } else if (DecodeUtf8Supplementary(p + i, n - i, cp)) {
            nonAscii = true;
            i += 4;
        } else {
            return false;
        }
    }
    return nonAscii;
}

std::u16string CsvTextFromUtf8(const std::vector<std::uint8_t>& bytes) {
    const std::size_t start = HasUtf8Mark(bytes) ? 3 : 0;
    std::u16string text(bytes.size() - start, u'\0');
    text.resize(DecodeUtf8(bytes.data() + start, bytes.size() - start, text.data()));
    return text;
}

std::u16string CsvTextFromUtf16(const std::vector<std::uint8_t>& bytes) {
    std::size_t start = 0;
    const std::size_t units = bytes.size() / 2;
    if (units > 0 && bytes[0] == 0xFF && bytes[1] == 0xFE) start = 1;  // byte-order mark
    std::u16string text(units - start, u'\0');
    Utf16LeUnits{bytes.data(), units}.Decode(start, units - start, text.data());
    return text;
}

std::u16string CsvTextFrom8Bit(const std::vector<std::uint8_t>& bytes) {
    // A UTF-8 byte-order mark, as spreadsheets write it.
    const std::size_t start = HasUtf8Mark(bytes) ? 3 : 0;
    std::u16string text(bytes.size() - start, u'\0');
    Latin1Units{bytes.data(), bytes.size()}.Decode(start, bytes.size() - start, text.data());
    return text;
}

}  // namespace kodrin
