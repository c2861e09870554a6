#pragma once
// The control library's type description as data: the library, the control class, its dispatch
// and event interfaces and the public record, with their identifiers.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvine::component {

// Variant type codes, numbered as the component platform numbers them.
enum class VarType : std::int32_t {
  Empty = 0,
  I2 = 2,
  I4 = 3,
  R8 = 5,
  Text = 8,
  Missing = 10,  // an omitted optional argument
  Bool = 11,
  Variant = 12,
};

// The name of a type code ("Text", "I4"...), for descriptions and messages.
std::string_view typeName(VarType type);

struct ParamDesc {
  std::string_view name;
  VarType type;
  bool optional = false;
};

struct MethodDesc {
  std::int32_t dispatchId;
  std::string_view name;
  std::vector<ParamDesc> params;
  VarType result;  // Empty: no result at all; Variant: a variant that stays empty
};

struct FieldDesc {
  std::string_view name;
  VarType type;
};

struct InterfaceDesc {
  std::string_view name;
  std::string_view id;
  std::vector<MethodDesc> methods;
};

struct TypeLibraryDesc {
  std::string_view name;
  std::string_view id;
  std::uint16_t majorVersion;
  std::uint16_t minorVersion;
  std::uint32_t locale;
  std::string_view className;
  std::string_view classId;
  std::string_view progId;
  InterfaceDesc dispatch;
  InterfaceDesc events;
  std::string_view recordName;
  std::string_view recordId;
  std::vector<FieldDesc> recordFields;
};

// Identifiers, written as the platform's registry writes them: upper case, in braces.
inline constexpr std::string_view kLibraryId = "{28B2433C-EBC9-4B44-941A-F4B0193B378F}";
inline constexpr std::string_view kClassId = "{EA12B6FE-8FB7-4A59-9821-C8431AB93931}";
inline constexpr std::string_view kDispatchInterfaceId = "{4EF0B256-157F-4924-BA21-B73B4D134DEA}";
inline constexpr std::string_view kEventInterfaceId = "{4BC9B089-BD3A-4D75-8C30-BA857FA3D7D5}";
inline constexpr std::string_view kRecordId = "{F75CCF0E-264A-41E4-BEC7-DEC39DB600B3}";

// Dispatch ids of the public methods.
inline constexpr std::int32_t kDispRefreshData = 0x60030038;
inline constexpr std::int32_t kDispPutServerName = 0x60030040;
inline constexpr std::int32_t kDispPutTarvineID = 0x60030050;
inline constexpr std::int32_t kDispReturnWebserviceXML = 0x60030059;
inline constexpr std::int32_t kDispSetFacilityID = 0x6003005a;
inline constexpr std::int32_t kDispSetPersonInformation = 0x6003005b;

// The whole description; built once, never fails.
const TypeLibraryDesc& typeLibrary();

// The method with this dispatch id, or null.
const MethodDesc* methodById(std::int32_t dispatchId);

// The dispatch id of a method name, matched in any letter case, or nothing.
std::optional<std::int32_t> dispatchIdOfName(std::string_view name);

// The whole description as JSON text (library, class, interfaces, record).
std::string typeDescriptionJson();

// True when the text names the control class: its identifier with or without braces, in any
// letter case.
bool isClassId(std::string_view text);

}  // namespace tarvine::component
