// The engine's conversion of 16-bit engine text to UTF-8. Surrogate pairs
// become one four-byte sequence; a lone surrogate becomes U+FFFD.
#pragma once

#include "asa/engine_types.h"

namespace UE::Core::Private {

// Bytes of UTF-8 that `sourceLength` code units of `source` convert to.
ASAAPI_API int32 GetConvertedLength(const char16_t* source, int32 sourceLength);

// Writes the conversion into `dest`; returns the end of the written bytes, or
// null when `destLength` is too small.
ASAAPI_API char* Convert(char* dest, int32 destLength, const char16_t* source, int32 sourceLength);

}  // namespace UE::Core::Private
