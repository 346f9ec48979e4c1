// The catalog as a markup document: the record layout, the round trip of
// every field, and documents that are damaged or come from elsewhere.
#include <gtest/gtest.h>

#include <optional>

#include <cstdio>
#include <fstream>

#include "catalog/catalog_document.h"
#include "platform/files.h"
#include "platform/image.h"
#include "platform/utf.h"
#include "support/text.h"

namespace kodrin {
namespace {

using test::U;

Catalog ReadDocument(std::u16string doc, Settings& settings, DocumentReadResult* result = nullptr) {
    Catalog catalog;
    MarkupReader reader;
    reader.SetText(std::move(doc));
    reader.FindRoot(kRootTag);  // the walk itself does not depend on it
    const DocumentReadResult r = ReadCatalogDocument(reader, catalog, settings);
    if (result) *result = r;
    return catalog;
}

ApplicationRecord FullRecord() {
    ApplicationRecord r = NewRecord();
    int n = 0;
    for (const auto member : kTextFields) r.*member = U("value ") + platform::FromUtf8(std::to_string(++n)) + U(" <&> é\r\nline");
    r.pictureName = u"logo.png";
    r.picture = {137, 80, 78, 71, 0, 255};
    r.categories = {u"Utilities", U("Grafik & Bild")};
    LoginField user;
    user.name = u"user";
    user.value = u"reader1";
    AddLoginField(r, user);
    LoginField pass;
    pass.name = u"pass";
    pass.value = u"s3cret!";
    pass.type = LoginFieldType::Password;
    pass.use = false;
    AddLoginField(r, pass);
    r.purchasePrice = 49.95;
    r.upgradePrice = 12345.67;
    r.diskCount = 3;
    r.sortOrder = -2;
    r.autoLogin = false;
    r.autoRemove = true;
    r.autoUpdate = true;
    r.hide = true;
    return r;
}

TEST(CatalogDocument, EmptyCatalogLayout) {
    Catalog catalog;
    Settings settings = NewSettings();
    const std::u16string doc = WriteCatalogDocument(catalog, settings, u"");
    MarkupWriter options;
    WriteOptions(settings, options);
    EXPECT_EQ(doc, u"<KODRIN>\r\n<DATAVERSION>1000</DATAVERSION>\r\n<CATEGORYLIST>\r\n</CATEGORYLIST>\r\n" +
                       options.Result() + u"<APPLICATIONLIST>\r\n</APPLICATIONLIST>\r\n</KODRIN>\r\n");
}

TEST(CatalogDocument, SmallRecordLayout) {
    ApplicationRecord r = NewRecord();
    LoginField f;
    f.name = u"user";
    f.value = u"reader1";
    AddLoginField(r, f);
    r.categories = {u"Utilities"};
    r.company = u"Example Corp";
    r.program = u"Example Tool";
    r.autoLogin = false;
    MarkupWriter w;
    WriteRecord(w, r, true);
    EXPECT_EQ(w.Result(),
              u"<APPLICATION>\r\n<LOGINDATA>\r\n<LOGINFIELD>user</LOGINFIELD>\r\n<LOGINVALUE>reader1</LOGINVALUE>\r\n"
              u"</LOGINDATA>\r\n<CATEGORYLIST>\r\n<CATEGORY>Utilities</CATEGORY>\r\n</CATEGORYLIST>\r\n"
              u"<COMPANY>Example Corp</COMPANY>\r\n<PROGRAM>Example Tool</PROGRAM>\r\n<AUTOLOGIN/>\r\n"
              u"</APPLICATION>\r\n");

    // A record without a category still has its (empty) category list.
    MarkupWriter bare;
    WriteRecord(bare, NewRecord(), true);
    EXPECT_EQ(bare.Result(), u"<APPLICATION>\r\n<CATEGORYLIST>\r\n</CATEGORYLIST>\r\n</APPLICATION>\r\n");
}

TEST(CatalogDocument, EveryFieldRoundTrips) {
    Catalog catalog;
    AddCategory(catalog, u"Empty tab");
    AddRecord(catalog, FullRecord(), false);
    ApplicationRecord second = NewRecord();
    second.program = u"Second";
    second.categories = {u"Utilities"};
    AddRecord(catalog, second, false);
    Settings settings = NewSettings();
    Settings loaded = NewSettings();
    DocumentReadResult result;
    const Catalog back = ReadDocument(WriteCatalogDocument(catalog, settings, u""), loaded, &result);
    EXPECT_FALSE(result.formatProblem);
    EXPECT_EQ(back.categories, catalog.categories);
    ASSERT_EQ(back.records.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        ApplicationRecord expected = catalog.records[i];
        expected.recordId = back.records[i].recordId;  // ids are given anew by the reading catalog
        EXPECT_EQ(back.records[i], expected) << "record " << i;
    }
    // The second record did not inherit anything of the first.
    EXPECT_TRUE(back.records[1].webPasswordDate.empty());
    EXPECT_TRUE(back.records[1].autoLogin);
    EXPECT_TRUE(back.records[1].loginData.empty());
}

TEST(CatalogDocument, PicturesStayOutsideWhenNotStored) {
    Catalog catalog;
    AddRecord(catalog, FullRecord(), false);
    Settings settings = NewSettings();
    settings.storeImages = false;
    int sunk = 0;
    const std::u16string doc = WriteCatalogDocument(catalog, settings, u"", [&](const ApplicationRecord& r) {
        sunk += r.pictureName == u"logo.png";
        return std::optional<std::u16string>(r.pictureName);
    });
    EXPECT_EQ(sunk, 1);
    EXPECT_EQ(doc.find(u"PICTUREDATA"), std::u16string::npos);
    EXPECT_NE(doc.find(u"<PICTURENAME>logo.png</PICTURENAME>"), std::u16string::npos);
    // Saved under another name, the document names that file; not saved at
    // all, the bytes stay in the document.
    const std::u16string renamed = WriteCatalogDocument(
        catalog, settings, u"", [](const ApplicationRecord&) { return std::optional<std::u16string>(u"logo (2).png"); });
    EXPECT_NE(renamed.find(u"<PICTURENAME>logo (2).png</PICTURENAME>"), std::u16string::npos);
    EXPECT_EQ(renamed.find(u"<PICTURENAME>logo.png</PICTURENAME>"), std::u16string::npos);
    const std::u16string kept = WriteCatalogDocument(
        catalog, settings, u"", [](const ApplicationRecord&) { return std::optional<std::u16string>(); });
    EXPECT_NE(kept.find(u"<PICTUREDATA>"), std::u16string::npos);
    EXPECT_NE(kept.find(u"<PICTURENAME>logo.png</PICTURENAME>"), std::u16string::npos);
}

TEST(CatalogDocument, CategoryFilter) {
    Catalog catalog;
    ApplicationRecord a = NewRecord();
    a.program = u"A";
    a.categories = {u"One"};
    ApplicationRecord b = NewRecord();
    b.program = u"B";
    b.categories = {u"Two"};
    AddRecord(catalog, a, false);
    AddRecord(catalog, b, false);
    Settings settings = NewSettings();
    const std::u16string one = WriteCatalogDocument(catalog, settings, u"One");
    EXPECT_NE(one.find(u"<CATEGORYNAME>One</CATEGORYNAME>"), std::u16string::npos);
    EXPECT_EQ(one.find(u"Two"), std::u16string::npos);
    const std::u16string all = WriteCatalogDocument(catalog, settings, u"<All>");
    EXPECT_EQ(all.find(u"CATEGORYNAME"), std::u16string::npos);
    EXPECT_NE(all.find(u"<PROGRAM>B</PROGRAM>"), std::u16string::npos);
}

// The program's progress dialog answers each report on another thread: a
// large catalog must not send one report a record. Each percent of
// 100 * n / (count + 1) comes once, in order, for 1 to 1000 records.
TEST(CatalogDocument, SavingTellsEachPercentOnce) {
    for (const int records : {1, 7, 250, 1000}) {
        Catalog catalog;
        for (int i = 0; i < records; ++i) AddRecord(catalog, NewRecord(), false);
        std::vector<int> told;
        WriteCatalogDocument(catalog, NewSettings(), u"", {}, [&told](int percent) { told.push_back(percent); });
        std::vector<int> expected;
        for (int n = 1; n <= records; ++n) {
            const int percent = 100 * n / (records + 1);
            if (expected.empty() || expected.back() != percent) expected.push_back(percent);
        }
        EXPECT_EQ(told, expected) << records << " records";
    }
}

TEST(CatalogDocument, ForeignAndDamagedDocuments) {
    Settings settings = NewSettings();
    DocumentReadResult result;
    // Another format version, names in other letter cases, unknown elements.
    Catalog c = ReadDocument(
        u"<KODRIN><DataVersion>999</DataVersion><FUTURE>x</FUTURE><CategoryList><CategoryName>A</CategoryName>"
        u"</CategoryList><ApplicationList><Application><Program>P</Program><Unknown>u</Unknown>"
        u"<CategoryList><Category>A</Category></CategoryList></Application></ApplicationList></kodrin>",
        settings, &result);
    EXPECT_FALSE(result.formatProblem);
    ASSERT_EQ(c.records.size(), 1u);
    EXPECT_EQ(c.records[0].program, u"P");
    EXPECT_EQ(c.records[0].categories, std::vector<std::u16string>{u"A"});

    // A missing closing APPLICATION tag: the next record still comes.
    c = ReadDocument(u"<KODRIN><APPLICATIONLIST><APPLICATION><PROGRAM>1</PROGRAM><APPLICATION><PROGRAM>2</PROGRAM>"
                     u"</APPLICATION></APPLICATIONLIST></KODRIN>",
                     settings, &result);
    ASSERT_EQ(c.records.size(), 2u);
    EXPECT_EQ(c.records[1].program, u"2");

    // Misplaced elements load but are flagged.
    c = ReadDocument(u"<KODRIN><CATEGORYNAME>X</CATEGORYNAME><APPLICATION><PROGRAM>1</PROGRAM></APPLICATION></KODRIN>",
                     settings, &result);
    EXPECT_TRUE(result.formatProblem);
    EXPECT_EQ(c.categories, std::vector<std::u16string>{u"X"});
    EXPECT_EQ(c.records.size(), 1u);

    // A settings block without its end.
    c = ReadDocument(u"<KODRIN><OPTIONS><SPLITTER>40</SPLITTER></KODRIN>", settings, &result);
    EXPECT_TRUE(result.formatProblem);
    EXPECT_EQ(settings.splitter, 40);

    // A self-closed settings block does not swallow the records after it.
    c = ReadDocument(u"<KODRIN><OPTIONS/><APPLICATIONLIST><APPLICATION><PROGRAM>1</PROGRAM></APPLICATION>"
                     u"</APPLICATIONLIST></KODRIN>",
                     settings, &result);
    EXPECT_EQ(c.records.size(), 1u);

    // The document ends inside a record: what was read is kept.
    c = ReadDocument(u"<KODRIN><APPLICATIONLIST><APPLICATION><PROGRAM>cut</PROGRAM>", settings, &result);
    ASSERT_EQ(c.records.size(), 1u);
    EXPECT_EQ(c.records[0].program, u"cut");
}

TEST(CatalogDocument, LoginFieldsAndCategoriesAsRead) {
    Settings settings = NewSettings();
    const Catalog c = ReadDocument(
        u"<KODRIN><APPLICATIONLIST><APPLICATION>"
        u"<LOGINDATA></LOGINDATA>"                                                   // empty: dropped
        u"<LOGINDATA><LOGINVALUE>v</LOGINVALUE><LOGINTYPE>1</LOGINTYPE><LOGINUSE/></LOGINDATA>"
        u"<LOGINDATA><LOGINFIELD>n</LOGINFIELD></LOGINDATA>"
        u"<CATEGORY>outside</CATEGORY>"                                               // ignored outside the list
        u"<CATEGORYLIST><CATEGORY>A &amp; B</CATEGORY></CATEGORYLIST>"
        u"<AUTOLOGIN>yes</AUTOLOGIN><DISKCOUNT>4294967295</DISKCOUNT><PICTUREDATA>1,300,-1</PICTUREDATA>"
        u"</APPLICATION></APPLICATIONLIST></KODRIN>",
        settings);
    ASSERT_EQ(c.records.size(), 1u);
    const ApplicationRecord& r = c.records[0];
    ASSERT_EQ(r.loginData.size(), 2u);
    EXPECT_EQ(r.loginData[0].value, u"v");
    EXPECT_EQ(r.loginData[0].type, LoginFieldType::Password);
    EXPECT_FALSE(r.loginData[0].use);
    EXPECT_EQ(r.loginData[0].id, 1);
    EXPECT_EQ(r.loginData[1].name, u"n");
    EXPECT_TRUE(r.loginData[1].use);
    EXPECT_EQ(r.loginData[1].id, 2);
    EXPECT_EQ(r.categories, std::vector<std::u16string>{u"A & B"});
    EXPECT_FALSE(r.autoLogin);
    EXPECT_EQ(r.diskCount, -1);
    EXPECT_EQ(r.picture, (std::vector<std::uint8_t>{1, 44, 255}));
}

TEST(CatalogDocument, PictureNameWithFullPathLoadsTheFile) {
    // Stored names use the Windows separator; natively it means "/" too.
    const std::u16string folder = platform::FromUtf8(testing::TempDir()) + u"kodrin_pictures";
    ASSERT_TRUE(platform::CreateFolders(folder));
    const std::u16string file = folder + u"\\logo.bin";
    // Only a picture's bytes are taken from a named file.
    platform::Image image;
    image.width = 1;
    image.height = 1;
    image.pixels = {10, 20, 30, 255};
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(platform::EncodeImage(image, platform::ImageFormat::Png, bytes));
    ASSERT_TRUE(platform::WriteFileAtomically(file, bytes));
    Settings settings = NewSettings();
    const Catalog c = ReadDocument(u"<KODRIN><APPLICATIONLIST><APPLICATION><PICTURENAME>" + file +
                                       u"</PICTURENAME></APPLICATION><APPLICATION><PICTURENAME>" + folder +
                                       u"\\missing.png</PICTURENAME></APPLICATION><APPLICATION>"
                                       u"<PICTUREDATA>1,2</PICTUREDATA><PICTURENAME>bare.png</PICTURENAME>"
                                       u"</APPLICATION></APPLICATIONLIST></KODRIN>",
                                   settings);
    ASSERT_EQ(c.records.size(), 3u);
    EXPECT_EQ(c.records[0].pictureName, u"logo.bin");
    EXPECT_EQ(c.records[0].picture, bytes);
    EXPECT_EQ(c.records[1].pictureName, u"missing.png");
    EXPECT_TRUE(c.records[1].picture.empty());
    // A bare name clears bytes read before it: the picture lives in the folder.
    EXPECT_EQ(c.records[2].pictureName, u"bare.png");
    EXPECT_TRUE(c.records[2].picture.empty());
    platform::RemoveFile(file);
}

}  // namespace
}  // namespace kodrin
