#include "framework/portable/number.h"

#include "catalog/markup.h"

namespace QvLibrary {

double ReadNumber(std::u16string_view text) { return kodrin::ReadReal(text); }

}  // namespace QvLibrary
