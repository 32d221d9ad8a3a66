// The game's records as the simulated game lays them out: its own
// transcription of the framework's released declarations (API 2.03:
// API/ARK/Other.h for the custom item data and its parts and the RCON
// packet, API/ARK/UE.h for the weak pointer, the soft object path and
// pointer, API/UE/Containers for the array and the string), never the
// plugin's sdk/. The simulated game registers its field offsets from these
// declarations, so the plugin's own layouts are tested against an
// independent reading of the release.
//
// Freestanding (no library header): the layout check also compiles this
// file with clang in MSVC mode beside the plugin's declarations.
#pragma once

namespace sim::rec {

// TArray<T, TSizedDefaultAllocator<32>>: data, count, capacity.
template <typename T>
struct TArray {
  T* Data;
  int ArrayNum;
  int ArrayMax;

  T* begin() const { return Data; }
  T* end() const { return Data + ArrayNum; }
  T& operator[](int index) const { return Data[index]; }
};

// FString: its characters, 16-bit code units with the terminator counted.
struct FString {
  TArray<char16_t> Data;
};

struct FName {
  int ComparisonIndex;
  int Number;
};

struct FWeakObjectPtr {
  int ObjectIndex;
  int ObjectSerialNumber;
};

struct FTopLevelAssetPath {
  FName PackageName;
  FName AssetName;
};

struct FSoftObjectPath {
  FTopLevelAssetPath AssetPath;
  FString SubPathString;
};

template <typename Path>
struct TPersistentObjectPtr {
  FWeakObjectPtr WeakPtr;
  Path ObjectID;
};

struct FSoftObjectPtr : TPersistentObjectPtr<FSoftObjectPath> {};

template <typename T>
struct TSoftClassPtr {
  FSoftObjectPtr SoftObjectPtr;
};

// API 2.03, API/ARK/UE.h.
struct FItemNetID {
  unsigned int ItemID1;
  unsigned int ItemID2;
};

// UE::Math::TVector<double>, TQuat<double> and the vectorised
// TTransform<double> (API/UE/Math): each member of the transform is a
// persistent vector register of four doubles.
struct FVector {
  double X;
  double Y;
  double Z;
};

struct alignas(16) FVectorRegister4Double {
  double V[4];
};

struct alignas(16) FTransform {
  FVectorRegister4Double Rotation;
  FVectorRegister4Double Translation;
  FVectorRegister4Double Scale3D;
};

// API 2.03, API/Base.h.
struct BitField {
  unsigned long long offset;
  unsigned long bit_position;
  unsigned long long num_bits;
  unsigned long long length;
};

// API 2.03, API/ARK/Other.h: a packet an RCON client sent, as the game reads
// it off the connection and hands it to RCONClientConnection's processing.
struct RCONPacket {
  int Length;
  int Id;
  int Type;
  FString Body;
};

struct UObject;
struct UClass;

struct FPaintingKeyValue {
  int Key;
  int Value;
};

struct FCustomItemByteArray {
  TArray<unsigned char> Bytes;
};

struct FCustomItemByteArrays {
  TArray<FCustomItemByteArray> ByteArrays;
};

struct FCustomItemDoubles {
  TArray<double> Doubles;
};

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

// Every member of the record whose offset the game's offsets cache holds,
// with the offset this transcription gives it.
struct RecordMember {
  const char* key;
  unsigned long long offset;
};

#define CK_SIM_MEMBER(Record, member) RecordMember{#Record "." #member, __builtin_offsetof(Record, member)}
inline constexpr RecordMember kRecordMembers[] = {
    CK_SIM_MEMBER(FCustomItemData, CustomDataBytes),
    CK_SIM_MEMBER(FCustomItemData, CustomDataDoubles),
    CK_SIM_MEMBER(FCustomItemData, CustomDataStrings),
    CK_SIM_MEMBER(FCustomItemData, CustomDataFloats),
    CK_SIM_MEMBER(FCustomItemData, CustomDataObjects),
    CK_SIM_MEMBER(FCustomItemData, CustomDataClasses),
    CK_SIM_MEMBER(FCustomItemData, CustomDataNames),
    CK_SIM_MEMBER(FCustomItemData, UniquePaintingIdMap),
    CK_SIM_MEMBER(FCustomItemData, PaintingRevisionMap),
    CK_SIM_MEMBER(FCustomItemData, CustomDataName),
    CK_SIM_MEMBER(FCustomItemData, CustomDataSoftClasses),
    CK_SIM_MEMBER(FCustomItemDoubles, Doubles),
    CK_SIM_MEMBER(FCustomItemByteArrays, ByteArrays),
    CK_SIM_MEMBER(FCustomItemByteArray, Bytes),
};
#undef CK_SIM_MEMBER

}  // namespace sim::rec
