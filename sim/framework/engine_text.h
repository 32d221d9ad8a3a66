// Conversions between UTF-8 and engine text for the simulator's own use.
#pragma once

#include <string>
#include <string_view>

#include "asa/engine_types.h"

namespace simfw {

// UTF-8 to engine text; an invalid sequence becomes U+FFFD.
ASAAPI_API FString FromUtf8(std::string_view text);
ASAAPI_API std::u16string Utf16FromUtf8(std::string_view text);
// Engine text to UTF-8; a lone surrogate becomes U+FFFD.
ASAAPI_API std::string ToUtf8(const FString& text);
ASAAPI_API std::string ToUtf8(const char16_t* text, int32 length);

}  // namespace simfw
