// A synthetic catalog for the benchmarks: realistic records with every text
// field filled (5 to 60 characters, some non-ASCII), one to three login
// fields and one or two categories. Deterministic for a given size.
#pragma once

#include "catalog/catalog.h"

namespace kodrin::bench {

Catalog MakeCatalog(int records);

// The catalog's document as the data file holds it.
std::u16string MakeDocument(int records);

}  // namespace kodrin::bench
