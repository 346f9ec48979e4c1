// The index of paths against its oracle: the plain walk with
// EqualIgnoreCase, and AddRecord with dedupe.
#include <gtest/gtest.h>

#include <algorithm>

#include "catalog/catalog.h"
#include "catalog/path_index.h"
#include "platform/text.h"
#include "support/text.h"

namespace kodrin {
namespace {

using test::U;

// Texts that tempt a key: letter case, hyphens and apostrophes, characters
// beyond ASCII that fold onto ASCII ones or not, control characters, empty.
const std::vector<std::u16string> kTexts = {
    u"C:\\Program Files\\App\\app.exe", u"c:\\program files\\app\\APP.EXE", u"c:\\program files\\app\\ap-p.exe",
    u"c:\\program files\\app\\ap'p.exe", u"c:\\program files\\app\\app.exe ", u"notepad.exe", u"NOTEPAD.EXE",
    U("c:\\Ä\\x.exe"), U("c:\\ä\\X.exe"), U("ＮＯＴＥＰＡＤ.exe"), U("note\u00ADpad.exe"), u"note\u0001pad.exe",
    u"", u"-", u"'", u"Note-Pad.exe", u"notepad.ex", U("straße.exe"), U("STRASSE.EXE"), u"i\u0307.exe", u"I.exe",
};

TEST(PathIndexTest, FindsWhatTheWalkWithTheLocalesComparisonFindsAndAddsAsAddRecord) {
    // Every text and its ASCII upper and lower case, filed in every rotation.
    std::vector<std::u16string> queries = kTexts;
    for (const std::u16string& t : kTexts) {
        std::u16string upper = t, lower = t;
        for (char16_t& c : upper) if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
        for (char16_t& c : lower) if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
        queries.push_back(upper);
        queries.push_back(lower);
    }
    for (std::size_t rotation = 0; rotation < kTexts.size(); ++rotation) {
        IgnoreCaseIndex index;
        std::vector<std::u16string> filed;
        for (std::size_t i = 0; i < kTexts.size(); ++i) {
            filed.push_back(kTexts[(i + rotation) % kTexts.size()]);
            index.Append(filed.back());
        }
        for (const std::u16string& q : queries) {
            const auto walk = std::find_if(filed.begin(), filed.end(),
                                           [&](const std::u16string& f) { return platform::EqualIgnoreCase(f, q); });
            const std::size_t expected = walk == filed.end() ? IgnoreCaseIndex::npos : walk - filed.begin();
            EXPECT_EQ(index.Find(q), expected) << platform::ToUtf8(q) << " rotation " << rotation;
        }
    }

    // The same additions twice, through the index and through AddRecord.
    Catalog plain;
    Catalog indexed;
    RecordPathIndex paths(indexed);
    int n = 0;
    for (int round = 0; round < 2; ++round) {
        for (const std::u16string& path : queries) {
            ApplicationRecord r = NewRecord();
            r.path = path;
            r.version = U(std::to_string(++n).c_str());
            EXPECT_EQ(paths.AddRecord(indexed, r), AddRecord(plain, r, true)) << platform::ToUtf8(path);
        }
    }
    ASSERT_EQ(indexed.records.size(), plain.records.size());
    for (std::size_t i = 0; i < plain.records.size(); ++i) {
        EXPECT_EQ(indexed.records[i].path, plain.records[i].path);
        EXPECT_EQ(indexed.records[i].version, plain.records[i].version);
    }
}

}  // namespace
}  // namespace kodrin
