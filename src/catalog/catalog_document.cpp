#include "catalog/catalog_document.h"
#include "catalog/datafile.h"

#include "catalog/strings.h"

namespace kodrin {

namespace {

constexpr std::u16string_view kCategoryListTag = u"CATEGORYLIST";
constexpr std::u16string_view kCategoryNameTag = u"CATEGORYNAME";
constexpr std::u16string_view kApplicationListTag = u"APPLICATIONLIST";
constexpr std::u16string_view kApplicationTag = u"APPLICATION";
constexpr std::u16string_view kLoginDataTag = u"LOGINDATA";
constexpr std::u16string_view kPictureDataTag = u"PICTUREDATA";

// Tags inside an APPLICATION element. Values 0..48 are FieldIds; the rest
// name the containers and the login field parts.
enum RecordTag : int {
    kRecUnknown = -1,
    kRecApplication = 100,
    kRecLoginData,
    kRecLoginField,
    kRecLoginValue,
    kRecLoginType,
    kRecLoginUse,
    kRecCategoryList,
    kRecCategory,
    kRecPictureData,
};

const NameTable& RecordTags() {
    static const NameTable table = [] {
        // Every stored field by its tag, plus the structural names.
        return NameTable{
            {u"COMMENTS", fields::Comments}, {u"COMPANY", fields::Company}, {u"CUSTOM1", fields::Custom1},
            {u"CUSTOM2", fields::Custom2}, {u"CUSTOM3", fields::Custom3}, {u"CUSTOM4", fields::Custom4},
            {u"CUSTOM5", fields::Custom5}, {u"DATELASTCHECKED", fields::DateLastChecked},
            {u"DESCRIPTION", fields::Description}, {u"EMAIL", fields::Email}, {u"HOMEPAGE", fields::HomePage},
            {u"INSTALLDATE", fields::InstallDate}, {u"INSTALLFILE", fields::InstallFile},
            {u"LATESTVERSION", fields::LatestVersion}, {u"LICENSETYPE", fields::LicenseType},
            {u"LOGINPAGE", fields::LoginPage}, {u"ORGANIZATION", fields::Organization},
            {u"ORIGINALMEDIA", fields::OriginalMedia}, {u"PADFILE", fields::PadFile}, {u"PATH", fields::Path},
            {u"PAYMENTMETHOD", fields::PaymentMethod}, {u"PICTURENAME", fields::PictureName},
            {u"PROGRAM", fields::Program}, {u"PURCHASEDATE", fields::PurchaseDate},
            {u"REGISTRATIONEMAIL", fields::RegistrationEmail}, {u"REGISTRATIONEXPIRE", fields::RegistrationExpire},
            {u"REGISTRATIONKEY", fields::RegistrationKey}, {u"REGISTRATIONTYPE", fields::RegistrationType},
            {u"RELEASEDDATE", fields::ReleasedDate}, {u"SERIALNUMBER", fields::SerialNumber},
            {u"SUPPORTADDRESS", fields::SupportAddress}, {u"SUPPORTPAGE", fields::SupportPage},
            {u"SUPPORTPHONE", fields::SupportPhone}, {u"UPGRADEPAGE", fields::UpgradePage},
            {u"USERNAME", fields::UserName}, {u"VERSION", fields::Version},
            {u"WEBPASSWORDDATE", fields::WebPasswordDate}, {u"PURCHASEPRICE", fields::PurchasePrice},
            {u"UPGRADEPRICE", fields::UpgradePrice}, {u"DISKCOUNT", fields::DiskCount},
            {u"SORTORDER", fields::SortOrder}, {u"AUTOLOGIN", fields::AutoLogin},
            {u"AUTOREMOVE", fields::AutoRemove}, {u"AUTOUPDATE", fields::AutoUpdate}, {u"HIDE", fields::Hide},
            {u"APPLICATION", kRecApplication}, {u"LOGINDATA", kRecLoginData}, {u"LOGINFIELD", kRecLoginField},
            {u"LOGINVALUE", kRecLoginValue}, {u"LOGINTYPE", kRecLoginType}, {u"LOGINUSE", kRecLoginUse},
            {u"CATEGORYLIST", kRecCategoryList}, {u"CATEGORY", kRecCategory},
            {u"PICTUREDATA", kRecPictureData},
        };
    }();
    return table;
}

enum DocumentTag : int {
    kDocUnknown = -1,
    kDocRoot,
    kDocOptions,
    kDocApplicationList,
    kDocCategoryList,
    kDocApplication,
    kDocCategoryName,
};

const NameTable& DocumentTags() {
    static const NameTable table{
        {u"KODRIN", kDocRoot}, {u"OPTIONS", kDocOptions}, {u"APPLICATIONLIST", kDocApplicationList},
        {u"CATEGORYLIST", kDocCategoryList}, {u"APPLICATION", kDocApplication},
        {u"CATEGORYNAME", kDocCategoryName},
    };
    return table;
}

// Sets a text field from raw element text, unescaping only when needed.
void SetText(std::u16string& field, std::u16string_view raw) {
    if (raw.find(u'&') == std::u16string_view::npos) {
        field.assign(raw);
    } else {
        field = Unescape(raw);
    }
}

}  // namespace

void WriteRecord(MarkupWriter& w, const ApplicationRecord& r, bool writePicture, const std::u16string* pictureName) {
    w.Open(kApplicationTag);
    for (const LoginField& f : r.loginData) {
        w.Open(kLoginDataTag);
        if (!f.name.empty()) w.Text(kTagLoginField, f.name);
        if (!f.value.empty()) w.Text(kTagLoginValue, f.value);
        if (f.type != LoginFieldType::StandardInput) w.Unsigned(kTagLoginType, static_cast<std::int32_t>(f.type));
        if (!f.use) w.Empty(kTagLoginUse);
        w.Close();
    }
    w.Open(kCategoryListTag);
    for (const std::u16string& c : r.categories) w.Text(kTagCategory, c);
    w.Close();
    for (std::size_t i = 0; i < kTextFields.size(); ++i) {
        const bool isPictureName = kTextFields[i] == &ApplicationRecord::pictureName;
        const std::u16string& value = isPictureName && pictureName ? *pictureName : r.*kTextFields[i];
        if (!value.empty()) w.Text(kFields[static_cast<std::size_t>(kTextFieldIds[i])].tag, value);
    }
    if (r.purchasePrice != 0) w.Real(u"PURCHASEPRICE", r.purchasePrice);
    if (r.upgradePrice != 0) w.Real(u"UPGRADEPRICE", r.upgradePrice);
    if (r.diskCount != 0) w.Unsigned(u"DISKCOUNT", r.diskCount);
    if (r.sortOrder != 0) w.Unsigned(u"SORTORDER", r.sortOrder);
    if (!r.autoLogin) w.Empty(u"AUTOLOGIN");
    if (r.autoRemove) w.Bool(u"AUTOREMOVE", true);
    if (r.autoUpdate) w.Bool(u"AUTOUPDATE", true);
    if (r.hide) w.Bool(u"HIDE", true);
    if (writePicture && !r.picture.empty()) w.ByteList(kPictureDataTag, r.picture);
    w.Close();
}

std::u16string WriteCatalogDocument(const Catalog& catalog, const Settings& settings, std::u16string_view filter,
                                    const PictureSinkFn& pictureSink, const ProgressFn& progress) {
    std::u16string document;
    WriteCatalogDocument(document, catalog, settings, filter, pictureSink, progress);
    return document;
}

void WriteCatalogDocument(std::u16string& out, const Catalog& catalog, const Settings& settings,
                          std::u16string_view filter, const PictureSinkFn& pictureSink, const ProgressFn& progress) {
    int count = 0;
    std::size_t estimate = 4096;
    for (const ApplicationRecord& r : catalog.records) {
        if (!InCategory(filter, r)) continue;
        ++count;
        estimate += 256 + r.picture.size() * 4;
        for (const auto member : kTextFields) estimate += (r.*member).size() + 40;
    }
    MarkupWriter w(std::move(out), estimate);
    w.Open(kRootTag);
    w.Int(kDataVersionTag, kDataVersion);
    w.Open(kCategoryListTag);
    const std::u16string all = LoadText(kStrAllCategory);
    if (filter.empty()) {
        for (const std::u16string& c : catalog.categories) w.Text(kCategoryNameTag, c);
    } else if (filter != all) {
        for (const std::u16string& c : catalog.categories) {
            if (c == filter) w.Text(kCategoryNameTag, c);
        }
    }
    w.Close();
    WriteOptions(settings, w);
    w.Open(kApplicationListTag);
    int n = 0;
    // Each percent is told once: the program's progress dialog answers on
    // another thread, and a call for every record of a large catalog costs
    // more than writing it.
    int told = -1;
    for (const ApplicationRecord& r : catalog.records) {
        if (!InCategory(filter, r)) continue;
        if (!settings.storeImages && pictureSink && !r.pictureName.empty() && !r.picture.empty()) {
            // Saved in the pictures folder under its own name or another, or
            // kept in the document when it could not be saved there.
            const std::optional<std::u16string> saved = pictureSink(r);
            WriteRecord(w, r, !saved, saved ? &*saved : nullptr);
        } else {
            WriteRecord(w, r, settings.storeImages);
        }
        ++n;
        const int percent = static_cast<int>(100LL * n / (count + 1));
        if (progress && percent != told) {
            told = percent;
            progress(percent);
        }
    }
    w.Close();
    w.Close();
    out = w.TakeResult();
}

RecordEnd ReadRecord(MarkupReader& reader, ApplicationRecord& r) {
    const NameTable& tags = RecordTags();
    LoginField collected;
    bool inCategoryList = false;
    while (auto tag = reader.NextTag()) {
        const int id = tags.Find(*tag);
        if (reader.IsClosing()) {
            switch (id) {
                case kRecApplication:
                    return RecordEnd::Closed;
                case kRecLoginData:
                    if (!collected.name.empty() || !collected.value.empty()) AddLoginField(r, std::move(collected));
                    collected = LoginField{};
                    break;
                case kRecCategoryList:
                    inCategoryList = false;
                    break;
                default:
                    break;
            }
            continue;
        }
        if (id == kRecApplication) return RecordEnd::NextRecord;
        if (id == kRecCategoryList) {
            inCategoryList = !reader.IsEmpty();
            continue;
        }
        if (id == kRecLoginData) continue;
        const auto text = reader.ElementText(*tag);
        if (!text) continue;
        if (id >= 0 && id < kFieldCount) {
            const FieldInfo& field = kFields[static_cast<std::size_t>(id)];
            switch (field.kind) {
                case FieldKind::Text:
                    if (id == fields::PictureName) {
                        LoadPictureFile(Unescape(*text), r, false);
                    } else {
                        SetText(r.*field.text, *text);
                    }
                    break;
                case FieldKind::Price:
                    r.*field.price = ReadReal(*text);
                    break;
                case FieldKind::Integer:
                    r.*field.number = ReadInt(*text);
                    break;
                case FieldKind::Flag:
                    r.*field.flag = ReadBool(*text);
                    break;
                default:
                    break;
            }
            continue;
        }
        switch (id) {
            case kRecLoginField: SetText(collected.name, *text); break;
            case kRecLoginValue: SetText(collected.value, *text); break;
            case kRecLoginType: collected.type = static_cast<LoginFieldType>(ReadInt(*text)); break;
            case kRecLoginUse: collected.use = ReadBool(*text); break;
            case kRecCategory:
                if (inCategoryList) r.categories.push_back(Unescape(*text));
                break;
            case kRecPictureData: r.picture = ReadByteList(*text, 255); break;
            default: break;
        }
    }
    return RecordEnd::EndOfDocument;
}

DocumentReadResult ReadCatalogDocument(MarkupReader& reader, Catalog& catalog, Settings& settings,
                                       const ProgressFn& progress) {
    DocumentReadResult result;
    const NameTable& tags = DocumentTags();
    bool inApplicationList = false;
    bool inCategoryList = false;
    int lastPercent = -1;
    auto report = [&] {
        if (!progress) return;
        const int p = reader.Progress();
        if (p != lastPercent) {
            lastPercent = p;
            progress(p);
        }
    };
    ApplicationRecord record = NewRecord();
    while (auto tag = reader.NextTag()) {
        const int id = tags.Find(*tag);
        const bool closing = reader.IsClosing();
        switch (id) {
            case kDocRoot:
                if (closing) return result;
                break;
            case kDocOptions:
                // A self-closed <OPTIONS/> holds nothing; reading on would
                // take the rest of the document for settings.
                if (!closing && !reader.IsEmpty() && !ReadOptions(settings, reader)) result.formatProblem = true;
                break;
            case kDocApplicationList:
                inApplicationList = !closing && !reader.IsEmpty();
                break;
            case kDocCategoryList:
                inCategoryList = !closing && !reader.IsEmpty();
                break;
            case kDocApplication: {
                if (closing || reader.IsEmpty()) break;
                if (!inApplicationList) result.formatProblem = true;
                RecordEnd end;
                do {
                    end = ReadRecord(reader, record);
                    AddRecord(catalog, std::move(record), false);
                    ResetRecord(record);
                    report();
                } while (end == RecordEnd::NextRecord);
                break;
            }
            case kDocCategoryName:
                if (closing) break;
                if (!inCategoryList) result.formatProblem = true;
                if (auto text = reader.ElementText(*tag)) AddCategory(catalog, Unescape(*text));
                break;
            default:
                if (!closing) reader.ElementText(*tag);
                break;
        }
        report();
    }
    return result;
}

}  // namespace kodrin
