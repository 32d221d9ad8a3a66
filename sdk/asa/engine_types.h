// Engine value types with the engine's memory layout.
//
// The game owns buffers behind these types and allocates them with the engine
// allocator (FMemory). TArray is a plain record: whoever owns one frees its
// storage explicitly. FString owns its buffer and frees it on destruction.
// Engine text is 16-bit code units on every platform (char16_t), never wchar_t.
#pragma once

#include <cstddef>
#include <cstdint>

#include "asa/api.h"

using int8 = std::int8_t;
using uint8 = std::uint8_t;
using int16 = std::int16_t;
using uint16 = std::uint16_t;
using int32 = std::int32_t;
using uint32 = std::uint32_t;
using int64 = std::int64_t;
using uint64 = std::uint64_t;

// Game classes are opaque to the plugin: it reaches their members by key.
class UObject;
class UClass;
class UStruct;
class UFunction;
class UWorld;
class AActor;
class APawn;
class AController;
class APlayerController;
class APrimalPlayerController;
class AShooterPlayerController;
class APrimalCharacter;
class AShooterCharacter;
class APrimalDinoCharacter;
class AShooterGameMode;
class UPrimalItem;
class UPrimalInventoryComponent;
class APrimalBuff;
class UShooterCheatManager;
class USceneComponent;

// The engine allocator. Every TArray and FString buffer is owned through it.
// The framework's headers reach it inline through the game's keys
// ("FMemory.Malloc(unsigned__int64,unsignedint)", ...), and so does the
// plugin; these out-of-line entry points are the simulated framework's own.
namespace FMemory {
ASAAPI_API void* Malloc(uint64 count, uint32 alignment = 0);
ASAAPI_API void* Realloc(void* original, uint64 count, uint32 alignment = 0);
ASAAPI_API void Free(void* original);
}  // namespace FMemory

// {data, count, capacity}. No constructor or destructor of its own, so that a
// TArray can sit inside game records and be handed across the seam by value.
template <typename T>
struct TArray {
  T* Data;
  int32 ArrayNum;
  int32 ArrayMax;

  int32 Num() const { return ArrayNum; }
  int32 Max() const { return ArrayMax; }
  bool IsValidIndex(int32 index) const { return index >= 0 && index < ArrayNum; }
  T& operator[](int32 index) { return Data[index]; }
  const T& operator[](int32 index) const { return Data[index]; }
  T* begin() { return Data; }
  T* end() { return Data + ArrayNum; }
  const T* begin() const { return Data; }
  const T* end() const { return Data + ArrayNum; }
};
static_assert(sizeof(TArray<int>) == 16);

// Engine text: a TArray of 16-bit code units whose count includes the
// terminating zero (an empty string has no buffer at all).
//
// The framework exports the constructors from a zero-terminated text and
// from a length and a text. Copying, moving and destruction are the engine's
// inline code in the framework's headers; the simulated framework provides
// them for its own use. The plugin never uses them: it owns engine text
// through host::EngineString, which frees through the engine allocator's key.
class FString {
 public:
  FString() noexcept : Data{nullptr, 0, 0} {}
  ARK_API FString(const WIDECHAR* Str);
  ARK_API FString(int32 Len, const WIDECHAR* Str);
  ASAAPI_API FString(const FString& other);
  ASAAPI_API FString(FString&& other) noexcept;
  ASAAPI_API FString& operator=(const FString& other);
  ASAAPI_API FString& operator=(FString&& other) noexcept;
  ASAAPI_API ~FString();

  // The text, zero-terminated; never null.
  const char16_t* operator*() const {
    return Data.ArrayNum > 0 ? Data.Data : u"";
  }
  // Code units without the terminator.
  int32 Len() const { return Data.ArrayNum > 0 ? Data.ArrayNum - 1 : 0; }
  bool IsEmpty() const { return Len() == 0; }

  // 16-bit code units; WIDECHAR has the same size and representation.
  TArray<char16_t> Data;
};
static_assert(sizeof(FString) == 16);

// An RCON client's packet as the game reads it (API 2.03, API/ARK/Other.h).
struct RCONPacket {
  int32 Length;
  int32 Id;
  int32 Type;
  FString Body;
};
// An RCON client's connection: its members are reached by key.
struct RCONClientConnection;

// A name: an index into the engine's name table plus an instance number.
struct FName {
  int32 ComparisonIndex;
  int32 Number;
};
static_assert(sizeof(FName) == 8);

enum EFindName : int32 { FNAME_Find = 0, FNAME_Add = 1 };

struct FWeakObjectPtr {
  int32 ObjectIndex;
  int32 ObjectSerialNumber;
};
static_assert(sizeof(FWeakObjectPtr) == 8);

// A weak pointer known to refer to a T, laid out as FWeakObjectPtr.
template <typename T>
struct TWeakObjectPtr {
  int32 ObjectIndex;
  int32 ObjectSerialNumber;
};

struct FItemNetID {
  uint32 ItemID1;
  uint32 ItemID2;
};
static_assert(sizeof(FItemNetID) == 8);

struct FVector {
  double X;
  double Y;
  double Z;
};

struct FQuat {
  double X;
  double Y;
  double Z;
  double W;
};

struct alignas(16) FTransform {
  FQuat Rotation;
  FVector Translation;
  double TranslationPad;
  FVector Scale3D;
  double ScalePad;
};
static_assert(offsetof(FTransform, Translation) == 32);

// A class handle, TSubclassOf<T>: one class pointer. The engine's holds a
// TObjectPtr<UClass> whose copy is written by hand, so the game passes it by
// the address of the caller's copy and returns it through a hidden result
// pointer, like any class that is not trivially copyable.
template <typename T>
struct TSubclassOf {
  UClass* uClass;
};
static_assert(sizeof(TSubclassOf<UObject>) == 8);

// A soft object path: the asset's package and name, then a sub-path
// (API 2.03, API/ARK/UE.h: FTopLevelAssetPath, FSoftObjectPath).
struct FTopLevelAssetPath {
  FName PackageName;
  FName AssetName;
};
static_assert(sizeof(FTopLevelAssetPath) == 16);

struct FSoftObjectPath {
  FTopLevelAssetPath AssetPath;
  FString SubPathString;
};
static_assert(sizeof(FSoftObjectPath) == 32 && offsetof(FSoftObjectPath, SubPathString) == 16);

// A soft object reference: a weak pointer and the object's path
// (API 2.03, API/ARK/UE.h: TPersistentObjectPtr<FSoftObjectPath>, which
// FSoftObjectPtr and TSoftClassPtr<T> wrap without adding a member).
struct FSoftObjectPtr {
  FWeakObjectPtr WeakPtr;
  FSoftObjectPath ObjectID;
};
static_assert(sizeof(FSoftObjectPtr) == 40 && offsetof(FSoftObjectPtr, ObjectID) == 8);

// TSoftClassPtr<T>: one FSoftObjectPtr.
template <typename T>
struct TSoftClassPtr {
  FSoftObjectPtr SoftObjectPtr;
};
static_assert(sizeof(TSoftClassPtr<UObject>) == 40);

// API 2.03, API/ARK/Other.h.
struct FPaintingKeyValue {
  int32 Key;
  int32 Value;
};
static_assert(sizeof(FPaintingKeyValue) == 8);

struct FCustomItemByteArray {
  TArray<uint8> Bytes;
};

struct FCustomItemByteArrays {
  TArray<FCustomItemByteArray> ByteArrays;
};

struct FCustomItemDoubles {
  TArray<double> Doubles;
};

// One entry of an item's custom data, in the game's order (API 2.03,
// API/ARK/Other.h). 168 bytes; the game's offsets cache gives the same
// offsets for every member, which start-up compares.
struct FCustomItemData {
  FCustomItemByteArrays CustomDataBytes;
  FCustomItemDoubles CustomDataDoubles;
  TArray<FString> CustomDataStrings;
  TArray<float> CustomDataFloats;
  TArray<UObject*> CustomDataObjects;
  TArray<UClass*> CustomDataClasses;
  TArray<FName> CustomDataNames;
  TArray<FPaintingKeyValue> UniquePaintingIdMap;
  TArray<FPaintingKeyValue> PaintingRevisionMap;
  FName CustomDataName;
  TArray<TSoftClassPtr<UObject>> CustomDataSoftClasses;
};
static_assert(sizeof(FCustomItemData) == 168);
static_assert(offsetof(FCustomItemData, CustomDataDoubles) == 16 && offsetof(FCustomItemData, CustomDataStrings) == 32);
static_assert(offsetof(FCustomItemData, UniquePaintingIdMap) == 112 &&
              offsetof(FCustomItemData, PaintingRevisionMap) == 128);
static_assert(offsetof(FCustomItemData, CustomDataName) == 144 &&
              offsetof(FCustomItemData, CustomDataSoftClasses) == 152);

// A bit field located inside one object: the address of the 32-bit word that
// holds it, the first bit, the number of bits and the length in bytes.
struct BitField {
  DWORD64 offset;
  DWORD bit_position;
  ULONGLONG num_bits;
  ULONGLONG length;
};
static_assert(sizeof(BitField) == 32 && offsetof(BitField, num_bits) == 16);

// Parameters of a net-exec command. Hooked functions that take it by value
// receive, at the binary level, the address of the caller's copy.
struct FBPNetExecParams {
  int32 IntParam1;
  int32 IntParam2;
  int32 IntParam3;
  float FloatParam1;
  float FloatParam2;
  float FloatParam3;
  UObject* ObjParam1;
  UObject* ObjParam2;
  UObject* ObjParam3;
  TArray<char16_t> StringParam1;
};

enum class EServerOctreeGroup : int32 {
  STASISCOMPONENTS = 0,
  PLAYERPAWNS = 1,
  DINOPAWNS = 2,
  PAWNS = 3,
  STRUCTURES = 4,
  TARGETABLEACTORS = 5,
  PLAYERS_AND_TAMED_DINOS = 6,
};

namespace EIncludeSuperFlag {
enum Type : int32 { ExcludeSuper = 0, IncludeSuper = 1 };
}
