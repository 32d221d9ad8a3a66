// The plugin's engine and game layouts (sdk/asa/engine_types.h) beside the
// simulated game's own transcription of the released declarations
// (sim/game/records.h), compiled by clang in MSVC mode: every record the
// plugin lays out itself must have the game's size and every member the
// game's offset. Compiled only, by tests/layout/check_layouts.sh; a
// difference is a compile error naming the member.
#include "asa/engine_types.h"
#include "sim/game/records.h"

namespace r = sim::rec;

#define CK_SAME_SIZE(Plugin, Game) static_assert(sizeof(Plugin) == sizeof(Game), #Plugin " has another size")
#define CK_SAME_MEMBER(Plugin, Game, member)                                                       \
  static_assert(__builtin_offsetof(Plugin, member) == __builtin_offsetof(Game, member),           \
                #Plugin "." #member " is at another offset");                                     \
  static_assert(sizeof(Plugin::member) == sizeof(Game::member), #Plugin "." #member " has another size")

CK_SAME_SIZE(TArray<int>, r::TArray<int>);
CK_SAME_MEMBER(TArray<int>, r::TArray<int>, Data);
CK_SAME_MEMBER(TArray<int>, r::TArray<int>, ArrayNum);
CK_SAME_MEMBER(TArray<int>, r::TArray<int>, ArrayMax);
CK_SAME_SIZE(FString, r::FString);
CK_SAME_SIZE(FName, r::FName);
CK_SAME_MEMBER(FName, r::FName, ComparisonIndex);
CK_SAME_MEMBER(FName, r::FName, Number);
CK_SAME_SIZE(FWeakObjectPtr, r::FWeakObjectPtr);
CK_SAME_MEMBER(FWeakObjectPtr, r::FWeakObjectPtr, ObjectIndex);
CK_SAME_MEMBER(FWeakObjectPtr, r::FWeakObjectPtr, ObjectSerialNumber);
CK_SAME_SIZE(FItemNetID, r::FItemNetID);
CK_SAME_MEMBER(FItemNetID, r::FItemNetID, ItemID1);
CK_SAME_MEMBER(FItemNetID, r::FItemNetID, ItemID2);
CK_SAME_SIZE(FVector, r::FVector);
CK_SAME_MEMBER(FVector, r::FVector, X);
CK_SAME_MEMBER(FVector, r::FVector, Y);
CK_SAME_MEMBER(FVector, r::FVector, Z);
CK_SAME_SIZE(FTransform, r::FTransform);
static_assert(alignof(FTransform) == alignof(r::FTransform), "FTransform has another alignment");
static_assert(__builtin_offsetof(FTransform, Rotation) == __builtin_offsetof(r::FTransform, Rotation));
static_assert(__builtin_offsetof(FTransform, Translation) == __builtin_offsetof(r::FTransform, Translation));
static_assert(__builtin_offsetof(FTransform, Scale3D) == __builtin_offsetof(r::FTransform, Scale3D));
CK_SAME_SIZE(BitField, r::BitField);
CK_SAME_MEMBER(BitField, r::BitField, offset);
CK_SAME_MEMBER(BitField, r::BitField, bit_position);
CK_SAME_MEMBER(BitField, r::BitField, num_bits);
CK_SAME_MEMBER(BitField, r::BitField, length);

CK_SAME_SIZE(RCONPacket, r::RCONPacket);
CK_SAME_MEMBER(RCONPacket, r::RCONPacket, Length);
CK_SAME_MEMBER(RCONPacket, r::RCONPacket, Id);
CK_SAME_MEMBER(RCONPacket, r::RCONPacket, Type);
CK_SAME_MEMBER(RCONPacket, r::RCONPacket, Body);

CK_SAME_SIZE(FTopLevelAssetPath, r::FTopLevelAssetPath);
CK_SAME_MEMBER(FTopLevelAssetPath, r::FTopLevelAssetPath, PackageName);
CK_SAME_MEMBER(FTopLevelAssetPath, r::FTopLevelAssetPath, AssetName);
CK_SAME_SIZE(FSoftObjectPath, r::FSoftObjectPath);
CK_SAME_MEMBER(FSoftObjectPath, r::FSoftObjectPath, AssetPath);
CK_SAME_MEMBER(FSoftObjectPath, r::FSoftObjectPath, SubPathString);
CK_SAME_SIZE(FSoftObjectPtr, r::FSoftObjectPtr);
CK_SAME_MEMBER(FSoftObjectPtr, r::FSoftObjectPtr, WeakPtr);
CK_SAME_MEMBER(FSoftObjectPtr, r::FSoftObjectPtr, ObjectID);
CK_SAME_SIZE(TSoftClassPtr<UObject>, r::TSoftClassPtr<r::UObject>);
CK_SAME_SIZE(FPaintingKeyValue, r::FPaintingKeyValue);
CK_SAME_MEMBER(FPaintingKeyValue, r::FPaintingKeyValue, Key);
CK_SAME_MEMBER(FPaintingKeyValue, r::FPaintingKeyValue, Value);
CK_SAME_SIZE(FCustomItemByteArray, r::FCustomItemByteArray);
CK_SAME_MEMBER(FCustomItemByteArray, r::FCustomItemByteArray, Bytes);
CK_SAME_SIZE(FCustomItemByteArrays, r::FCustomItemByteArrays);
CK_SAME_MEMBER(FCustomItemByteArrays, r::FCustomItemByteArrays, ByteArrays);
CK_SAME_SIZE(FCustomItemDoubles, r::FCustomItemDoubles);
CK_SAME_MEMBER(FCustomItemDoubles, r::FCustomItemDoubles, Doubles);

CK_SAME_SIZE(FCustomItemData, r::FCustomItemData);
CK_SAME_MEMBER(FCustomItemData, r::FCustomItemData, CustomDataBytes);
CK_SAME_MEMBER(FCustomItemData, r::FCustomItemData, CustomDataDoubles);
CK_SAME_MEMBER(FCustomItemData, r::FCustomItemData, CustomDataStrings);
CK_SAME_MEMBER(FCustomItemData, r::FCustomItemData, CustomDataFloats);
CK_SAME_MEMBER(FCustomItemData, r::FCustomItemData, CustomDataObjects);
CK_SAME_MEMBER(FCustomItemData, r::FCustomItemData, CustomDataClasses);
CK_SAME_MEMBER(FCustomItemData, r::FCustomItemData, CustomDataNames);
CK_SAME_MEMBER(FCustomItemData, r::FCustomItemData, UniquePaintingIdMap);
CK_SAME_MEMBER(FCustomItemData, r::FCustomItemData, PaintingRevisionMap);
CK_SAME_MEMBER(FCustomItemData, r::FCustomItemData, CustomDataName);
CK_SAME_MEMBER(FCustomItemData, r::FCustomItemData, CustomDataSoftClasses);

// The members whose offsets the game's cache holds are the ones the
// simulated game registers and start-up compares.
static_assert(sizeof(r::kRecordMembers) / sizeof(r::kRecordMembers[0]) == 14);
