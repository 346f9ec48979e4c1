#include "synthetic.h"

#include <random>

#include "catalog/catalog_document.h"

namespace kodrin::bench {

namespace {

const char16_t* const kWords[] = {
    u"Studio", u"Pro", u"Backup", u"Editor", u"Suite", u"Manager", u"Player", u"Office", u"Zeichnen",
    u"Übersicht", u"Café", u"Ñandú", u"Ångström", u"Редактор", u"日本語", u"Tool", u"Viewer", u"Sync",
    u"Cloud", u"Notes", u"Photo", u"Audio", u"Vidéo", u"Σύνθεση", u"& Co", u"<beta>", u"Archive",
};
const char16_t* const kCategories[] = {u"Utilities", u"Graphics", u"Office", u"Games", u"Development",
                                       u"Internet", u"Multimedia", u"Security", u"Education", u"System"};
const char16_t* const kLicenses[] = {u"Single user", u"Site", u"Freeware", u"Shareware", u"Subscription"};
const char16_t* const kPayments[] = {u"Visa", u"PayPal", u"Invoice", u"Cash"};
const char16_t* const kMedia[] = {u"CD", u"DVD", u"Download", u"Other"};

std::u16string Text(std::mt19937& rng, int minLength, int maxLength) {
    std::uniform_int_distribution<int> length(minLength, maxLength);
    std::uniform_int_distribution<int> word(0, static_cast<int>(std::size(kWords)) - 1);
    const int wanted = length(rng);
    std::u16string s;
    while (static_cast<int>(s.size()) < wanted) {
        if (!s.empty()) s.push_back(u' ');
        s += kWords[word(rng)];
    }
    s.resize(static_cast<std::size_t>(wanted));
    return s;
}

}  // namespace

Catalog MakeCatalog(int records) {
    std::mt19937 rng(20070305);
    Catalog catalog;
    std::uniform_int_distribution<int> category(0, static_cast<int>(std::size(kCategories)) - 1);
    std::uniform_int_distribution<int> small(0, 3);
    std::uniform_real_distribution<double> price(0, 500);
    for (int i = 0; i < records; ++i) {
        ApplicationRecord r = NewRecord();
        for (const auto member : kTextFields) r.*member = Text(rng, 5, 60);
        r.licenseType = kLicenses[small(rng)];
        r.paymentMethod = kPayments[small(rng)];
        r.originalMedia = kMedia[small(rng)];
        const int logins = 1 + small(rng) % 3;
        for (int k = 0; k < logins; ++k) {
            LoginField f;
            f.name = k == 0 ? u"username" : (k == 1 ? u"password" : u"remember");
            f.value = Text(rng, 5, 20);
            f.type = static_cast<LoginFieldType>(k);
            AddLoginField(r, std::move(f));
        }
        r.categories.push_back(kCategories[category(rng)]);
        if (small(rng) == 0) r.categories.push_back(kCategories[category(rng)]);
        r.purchasePrice = static_cast<int>(price(rng) * 100) / 100.0;
        r.upgradePrice = small(rng) == 0 ? 0 : static_cast<int>(price(rng) * 100) / 100.0;
        r.diskCount = small(rng);
        r.autoLogin = small(rng) != 0;
        r.hide = small(rng) == 0;
        AddRecord(catalog, std::move(r), false);
    }
    return catalog;
}

std::u16string MakeDocument(int records) {
    const Catalog catalog = MakeCatalog(records);
    Settings settings = NewSettings();
    return WriteCatalogDocument(catalog, settings, u"");
}

}  // namespace kodrin::bench
