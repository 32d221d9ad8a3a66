#include "sim/game/custom_data.h"

#include <bit>
#include <cstdio>
#include <cstring>

#include "sim/framework/engine_text.h"
#include "sim/game/engine_arrays.h"
#include "sim/game/names.h"

namespace sim {

namespace {

constexpr const char* kCryoBytesPrefix = "creature:";
// The saved state: the prefix, the creature's id, then this separator and
// its two-part id.
constexpr char kCryoBytesSeparator = '\0';
constexpr const char* kCryoDinoIdFormat = "dinoId:%u,%u";
constexpr const char* kCryoClassPath = "/Game/PrimalEarth/Dinos/Dodo/Dodo_Character_BP.Dodo_Character_BP_C";

template <typename T>
void CopyInto(rec::TArray<T>& target, const rec::TArray<T>& source) {
  for (const T& value : source) AppendToEngineArray(target, value);
}

void CopyText(rec::FString& target, const rec::FString& source) {
  target = rec::FString{{nullptr, 0, 0}};
  if (source.Data.ArrayNum <= 0) return;
  const auto count = static_cast<std::size_t>(source.Data.ArrayNum);
  target.Data.Data = static_cast<char16_t*>(FMemory::Malloc(sizeof(char16_t) * count, 2));
  std::memcpy(target.Data.Data, source.Data.Data, sizeof(char16_t) * count);
  target.Data.ArrayNum = target.Data.ArrayMax = source.Data.ArrayNum;
}

rec::FName RecordName(std::string_view text) { return std::bit_cast<rec::FName>(Names().Add(text)); }

}  // namespace

void AppendCustomData(CustomDataArray& array, const CustomData& entry) {
  CustomData& copy = AppendZeroed(array);
  copy.CustomDataName = entry.CustomDataName;
  for (const rec::FString& text : entry.CustomDataStrings) CopyText(AppendZeroed(copy.CustomDataStrings), text);
  CopyInto(copy.CustomDataFloats, entry.CustomDataFloats);
  for (const rec::TSoftClassPtr<rec::UObject>& soft : entry.CustomDataSoftClasses) {
    rec::TSoftClassPtr<rec::UObject>& c = AppendZeroed(copy.CustomDataSoftClasses);
    c.SoftObjectPtr.WeakPtr = soft.SoftObjectPtr.WeakPtr;
    c.SoftObjectPtr.ObjectID.AssetPath = soft.SoftObjectPtr.ObjectID.AssetPath;
    CopyText(c.SoftObjectPtr.ObjectID.SubPathString, soft.SoftObjectPtr.ObjectID.SubPathString);
  }
  CopyInto(copy.CustomDataObjects, entry.CustomDataObjects);
  CopyInto(copy.CustomDataClasses, entry.CustomDataClasses);
  CopyInto(copy.CustomDataNames, entry.CustomDataNames);
  CopyInto(copy.UniquePaintingIdMap, entry.UniquePaintingIdMap);
  CopyInto(copy.PaintingRevisionMap, entry.PaintingRevisionMap);
  for (const rec::FCustomItemByteArray& bytes : entry.CustomDataBytes.ByteArrays) {
    CopyInto(AppendZeroed(copy.CustomDataBytes.ByteArrays).Bytes, bytes.Bytes);
  }
  CopyInto(copy.CustomDataDoubles.Doubles, entry.CustomDataDoubles.Doubles);
}

void DestroyCustomData(CustomData& entry) {
  for (rec::FString& text : entry.CustomDataStrings) FreeEngineArray(text.Data);
  FreeEngineArray(entry.CustomDataStrings);
  FreeEngineArray(entry.CustomDataFloats);
  for (rec::TSoftClassPtr<rec::UObject>& soft : entry.CustomDataSoftClasses) {
    FreeEngineArray(soft.SoftObjectPtr.ObjectID.SubPathString.Data);
  }
  FreeEngineArray(entry.CustomDataSoftClasses);
  FreeEngineArray(entry.CustomDataObjects);
  FreeEngineArray(entry.CustomDataClasses);
  FreeEngineArray(entry.CustomDataNames);
  FreeEngineArray(entry.UniquePaintingIdMap);
  FreeEngineArray(entry.PaintingRevisionMap);
  for (rec::FCustomItemByteArray& bytes : entry.CustomDataBytes.ByteArrays) FreeEngineArray(bytes.Bytes);
  FreeEngineArray(entry.CustomDataBytes.ByteArrays);
  FreeEngineArray(entry.CustomDataDoubles.Doubles);
  entry = CustomData{};
}

void DestroyCustomDataArray(CustomDataArray& array) {
  for (CustomData& entry : array) DestroyCustomData(entry);
  FreeEngineArray(array);
}

namespace {

// The saved state of the record, when it is a creature's: what follows the
// prefix in its byte array.
std::optional<std::string> SavedState(const CustomData& entry) {
  if (NameOf(entry) != kCryoEntryName) return std::nullopt;
  for (const rec::FCustomItemByteArray& bytes : entry.CustomDataBytes.ByteArrays) {
    std::string saved(bytes.Bytes.begin(), bytes.Bytes.end());
    if (saved.rfind(kCryoBytesPrefix, 0) == 0) return saved.substr(std::strlen(kCryoBytesPrefix));
  }
  return std::nullopt;
}

}  // namespace

rec::FString MakeText(std::string_view utf8) {
  FString text = simfw::FromUtf8(utf8);
  rec::FString taken{{text.Data.Data, text.Data.ArrayNum, text.Data.ArrayMax}};
  text.Data = TArray<char16_t>{nullptr, 0, 0};
  return taken;
}

CustomData MakeCryoData(const std::string& creature_id) { return MakeCryoData(creature_id, DefaultDinoId(creature_id)); }

CustomData MakeCryoData(const std::string& creature_id, DinoId dino_id) {
  CustomData data{};
  data.CustomDataName = RecordName(kCryoEntryName);
  AppendZeroed(data.CustomDataStrings) = MakeText(creature_id);
  AppendZeroed(data.CustomDataStrings) = MakeText("level 1");
  AppendToEngineArray(data.CustomDataFloats, 1.0f);
  AppendToEngineArray(data.CustomDataDoubles.Doubles, 0.5);
  AppendToEngineArray(data.CustomDataNames, RecordName("Dodo_Character_BP_C"));
  AppendToEngineArray(data.UniquePaintingIdMap, rec::FPaintingKeyValue{1, 7});
  AppendToEngineArray(data.PaintingRevisionMap, rec::FPaintingKeyValue{1, 2});
  rec::TSoftClassPtr<rec::UObject>& soft = AppendZeroed(data.CustomDataSoftClasses);
  soft.SoftObjectPtr.ObjectID.AssetPath = {RecordName("/Game/PrimalEarth/Dinos/Dodo/Dodo_Character_BP"),
                                           RecordName("Dodo_Character_BP_C")};
  soft.SoftObjectPtr.ObjectID.SubPathString = MakeText(kCryoClassPath);
  rec::FCustomItemByteArray& bytes = AppendZeroed(data.CustomDataBytes.ByteArrays);
  char id_text[48];
  std::snprintf(id_text, sizeof id_text, kCryoDinoIdFormat, dino_id.id1, dino_id.id2);
  const std::string saved = std::string(kCryoBytesPrefix) + creature_id + kCryoBytesSeparator + id_text;
  for (char c : saved) AppendToEngineArray(bytes.Bytes, static_cast<unsigned char>(c));
  return data;
}

std::string CreatureOf(const CustomData& entry) {
  const std::optional<std::string> saved = SavedState(entry);
  return saved ? saved->substr(0, saved->find(kCryoBytesSeparator)) : std::string();
}

std::optional<DinoId> DinoIdOf(const CustomData& entry) {
  const std::optional<std::string> saved = SavedState(entry);
  const std::size_t separator = saved ? saved->find(kCryoBytesSeparator) : std::string::npos;
  if (separator == std::string::npos) return std::nullopt;
  DinoId id;
  if (std::sscanf(saved->c_str() + separator + 1, kCryoDinoIdFormat, &id.id1, &id.id2) != 2) return std::nullopt;
  return id;
}

std::string TextOf(const rec::FString& text) {
  return text.Data.ArrayNum > 0 ? simfw::ToUtf8(text.Data.Data, text.Data.ArrayNum - 1) : std::string();
}

std::string NameOf(const CustomData& entry) { return Names().Text(std::bit_cast<FName>(entry.CustomDataName)); }

void SetName(CustomData& entry, std::string_view text) { entry.CustomDataName = RecordName(text); }

}  // namespace sim
