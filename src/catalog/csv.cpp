#include "catalog/csv.h"

#include <bit>
#include <span>

#include <algorithm>

#include "catalog/datafile.h"
#include "catalog/markup.h"
#include "catalog/strings.h"
#include "catalog/tokenizer.h"
#include "platform/files.h"
#include "platform/text.h"

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

// Each code unit reduced to its low 8 bits, as the 8-bit file keeps it.
std::u16string LowBytes(std::u16string text) {
    for (char16_t& c : text) c = static_cast<char16_t>(c & 0xFF);
    return text;
}

std::vector<std::u16string_view> SplitPlain(std::u16string_view text, char16_t separator) {
    std::vector<std::u16string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(separator, start);
        if (end == std::u16string_view::npos) {
            parts.push_back(text.substr(start));
            return parts;
        }
        parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
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

bool IsYes(std::u16string_view cell) { return platform::EqualIgnoreCase(cell, LoadText(kStrYes)); }
bool IsNo(std::u16string_view cell) { return platform::EqualIgnoreCase(cell, LoadText(kStrNo)); }

void ReadLoginData(std::u16string_view cell, ApplicationRecord& record) {
    for (const std::u16string_view entry : SplitPlain(cell, kLoginEntryTerminator)) {
        const std::vector<std::u16string_view> parts = SplitPlain(entry, kLoginPartSeparator);
        if (parts.size() != 4) continue;
        LoginField field;
        field.name = std::u16string(parts[0]);
        field.value = std::u16string(parts[1]);
        field.type = static_cast<LoginFieldType>(ReadInt(parts[2]));
        field.use = !parts[3].empty() && parts[3].front() == u'1';
        AddLoginField(record, std::move(field));
    }
}

void ReadCategories(std::u16string_view cell, ApplicationRecord& record) {
    record.categories.clear();
    for (const std::u16string_view name : SplitPlain(cell, u',')) {
        if (!name.empty()) record.categories.emplace_back(name);
    }
}

void ReadPicture(std::u16string_view cell, std::u16string_view sourcePath, ApplicationRecord& record) {
    record.picture.clear();
    // The name without any folder: pictures come from the "Images\" folder
    // beside the imported file and nowhere else.
    const std::u16string_view name = platform::FileNamePart(cell);
    record.pictureName = std::u16string(name);
    if (name.empty() || name == u"." || name == u"..") return;
    if (!platform::ReadWholeFile(ImagesFolderBeside(sourcePath) + std::u16string(name), record.picture)) {
        record.picture.clear();
    }
}

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

std::u16string CsvDocument(const Catalog& catalog, const ExportOptions& options, const ProgressFn& progress) {
    const Settings& settings = CatalogOptions(catalog);
    const std::vector<int> columns = CsvColumns(settings, options.allData);
    const auto cell = [&](std::u16string& out, std::u16string_view value) {
        if (options.preserveUnicode) {
            AppendCsvCell(out, value);
        } else {
            AppendCsvCell(out, LowBytes(std::u16string(value)));
        }
    };

    long long count = 0;
    std::size_t estimate = 4096;
    for (const ApplicationRecord& r : catalog.records) {
        if (!InCategory(options.category, r)) continue;
        ++count;
        estimate += 64 + 3 * columns.size();
        for (const auto member : kTextFields) estimate += (r.*member).size();
    }

    std::u16string text;
    text.reserve(estimate + estimate / 8);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (i > 0) text += u',';
        cell(text, FieldCaption(columns[i]));
    }
    text += u"\r\n";

    long long n = 0;
    for (const ApplicationRecord& r : catalog.records) {
        if (!InCategory(options.category, r)) continue;
        if (progress) progress(static_cast<int>(10 + 90 * n / (count + 1)));
        ++n;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (i > 0) text += u',';
            // A text field is its own display text: no copy needed.
            const FieldInfo& field = kFields[static_cast<std::size_t>(columns[i])];
            if (field.kind == FieldKind::Text) {
                cell(text, r.*field.text);
            } else {
                cell(text, FieldText(settings, r, columns[i], true));
            }
        }
        text += u"\r\n";
    }
    return text;
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

bool WriteCsv(const Catalog& catalog, const ExportOptions& options, std::u16string_view dataFilePath,
              const ProgressFn& progress) {
    const std::u16string text = CsvDocument(catalog, options, progress);
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
    if (options.preserveUnicode) {
        // UTF-16LE is the text's own memory on a little-endian machine.
        static_assert(std::endian::native == std::endian::little);
        return platform::WriteFileAtomically(
            options.path, std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()),
                                                        text.size() * 2));
    }
    return platform::WriteFileAtomically(options.path, CsvFileBytes(text, options.preserveUnicode));
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
    std::vector<std::u16string> lines = CsvSplit(text, u'\n', true, true);
    // A CR right before the LF ends the line as well.
    for (std::u16string& line : lines) {
        if (!line.empty() && line.back() == u'\r') line.pop_back();
    }
    if (lines.empty()) return false;

    SplitOptions headerSplit;
    headerSplit.skipLeadingBlanks = true;
    headerSplit.keepQuotedEmptyLast = true;  // the caption-less PAD file column ends this program's header
    const CsvColumnMap map = MapCsvHeader(Split(lines[0], headerSplit));
    if (!map.recognised) return false;

    const auto at = [&](int id) { return map.column[static_cast<std::size_t>(id)]; };
    const bool webColumns = at(fields::WebUserName) >= 0 || at(fields::WebPassword) >= 0;
    // How many fields each column feeds: a cell that feeds one can be moved.
    std::vector<int> feeds;
    for (int id = 0; id < kFieldCount; ++id) {
        const int c = at(id);
        if (c < 0) continue;
        if (static_cast<std::size_t>(c) >= feeds.size()) feeds.resize(static_cast<std::size_t>(c) + 1, 0);
        ++feeds[static_cast<std::size_t>(c)];
    }

    const std::size_t lineCount = lines.size();
    for (std::size_t lineIndex = 1; lineIndex < lineCount; ++lineIndex) {
        if (progress) progress(static_cast<int>(100 * lineIndex / lineCount));
        std::vector<std::u16string> cells = CsvSplit(lines[lineIndex], u',', true, false);
        const auto has = [&](int id) { return at(id) >= 0 && static_cast<std::size_t>(at(id)) < cells.size(); };
        bool supplied = false;
        for (int id = 0; id < kFieldCount && !supplied; ++id) supplied = has(id);
        if (!supplied) continue;

        ApplicationRecord record = NewRecord();
        std::u16string webUser, webPassword;
        for (const FieldInfo& field : kFields) {
            if (!has(field.id)) continue;
            std::u16string& cell = cells[static_cast<std::size_t>(at(field.id))];
            switch (field.kind) {
                case FieldKind::LoginData:
                    ReadLoginData(cell, record);
                    break;
                case FieldKind::Categories:
                    ReadCategories(cell, record);
                    break;
                case FieldKind::Text:
                    if (field.id == fields::PictureName) {
                        ReadPicture(cell, sourcePath, record);
                    } else {
                        if (feeds[static_cast<std::size_t>(at(field.id))] == 1) {
                            record.*(field.text) = std::move(cell);
                        } else {
                            record.*(field.text) = cell;
                        }
                    }
                    break;
                case FieldKind::Price:
                    record.*(field.price) = ReadReal(cell);
                    break;
                case FieldKind::Integer:
                    if (field.id != fields::SortOrder) record.*(field.number) = ReadInt(cell);
                    break;
                case FieldKind::Flag:
                    record.*(field.flag) = IsYes(cell);
                    if (IsYes(cell) || IsNo(cell)) record.*(field.leaveUnchanged) = false;
                    break;
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
                AddLoginField(record, LoginField{{}, webUser, 0, LoginFieldType::StandardInput, true, false});
            }
            if (!webPassword.empty()) {
                AddLoginField(record, LoginField{{}, webPassword, 0, LoginFieldType::Password, true, false});
            }
        }
        record.recordId = ++idCounter;
        target.push_back(std::move(record));
    }
    return true;
}

std::u16string CsvTextFromUtf16(const std::vector<std::uint8_t>& bytes) {
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        text += static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
    }
    if (!text.empty() && text.front() == u'\uFEFF') text.erase(0, 1);
    return text;
}

std::u16string CsvTextFrom8Bit(const std::vector<std::uint8_t>& bytes) {
    std::size_t start = 0;
    // A UTF-8 byte-order mark, as spreadsheets write it.
    if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) start = 3;
    std::u16string text;
    text.reserve(bytes.size() - start);
    for (std::size_t i = start; i < bytes.size(); ++i) text += static_cast<char16_t>(bytes[i]);
    return text;
}

}  // namespace kodrin
