#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <climits>
#include <cstring>
#include <memory>
#include <mutex>

#include "platform/text.h"

namespace kodrin::platform {

namespace {

// One collator for the default locale at secondary strength: differences of
// base letter and accent count, differences of case do not.
icu::Collator* DefaultCollator() {
    static std::once_flag once;
    static icu::Collator* collator = nullptr;
    std::call_once(once, [] {
        // The C and POSIX locales map to ICU's en_US_POSIX, whose collation
        // is code point order; the user's ordering is the language's, so
        // those get the root collation like any locale without tailoring.
        icu::Locale locale = icu::Locale::getDefault();
        if (std::strcmp(locale.getVariant(), "POSIX") == 0 || std::strcmp(locale.getLanguage(), "") == 0) {
            locale = icu::Locale::getRoot();
        }
        UErrorCode status = U_ZERO_ERROR;
        collator = icu::Collator::createInstance(locale, status);
        if (U_FAILURE(status) || collator == nullptr) {
            status = U_ZERO_ERROR;
            delete collator;
            collator = icu::Collator::createInstance(icu::Locale::getRoot(), status);
        }
        if (collator != nullptr) collator->setStrength(icu::Collator::SECONDARY);
    });
    return collator;
}

}  // namespace

int CompareIgnoreCaseLocale(std::u16string_view a, std::u16string_view b) {
    icu::Collator* collator = DefaultCollator();
    if (collator == nullptr || a.size() > INT_MAX || b.size() > INT_MAX) return CompareOrdinal(a, b);
    UErrorCode status = U_ZERO_ERROR;
    const UCollationResult r = collator->compare(icu::UnicodeString(false, a.data(), static_cast<int32_t>(a.size())),
                                                 icu::UnicodeString(false, b.data(), static_cast<int32_t>(b.size())),
                                                 status);
    if (U_FAILURE(status)) return CompareOrdinal(a, b);
    return r == UCOL_LESS ? -1 : (r == UCOL_EQUAL ? 0 : 1);
}

}  // namespace kodrin::platform
