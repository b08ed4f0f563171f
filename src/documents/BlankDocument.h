#pragma once

#include "documents/OoxmlPackage.h"

namespace ravnobor::documents {

// The built-in blank template: an A4 page, a serif font with Cyrillic letters, one
// empty paragraph. It stands for the word processor's own standard template.
OoxmlPackage blankDocumentPackage();

} // namespace ravnobor::documents
