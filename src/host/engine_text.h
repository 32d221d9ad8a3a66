// Engine text (FString, 16-bit code units) and the plugin's 8-bit texts.
#pragma once

#include <string>
#include <string_view>

#include "asa/engine_types.h"

namespace ck::host {

// UTF-8 of the engine text, through the engine's own conversion. A null or
// empty text gives "".
std::string FStringToUtf8(const FString* text);
std::string FStringToUtf8(const FString& text);

// One byte per code unit: units up to 127 are kept, every unit above 127
// becomes '?'. A null text gives "".
std::string FStringToAscii(const FString* text);

// An engine string holding exactly these code units.
FString MakeFString(std::u16string_view text);

// UTF-8 decoded to UTF-16; each invalid or truncated sequence becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);

}  // namespace ck::host
