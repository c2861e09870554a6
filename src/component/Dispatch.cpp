#include "component/Dispatch.h"

#include <vector>

#include "control/OrderPick.h"

namespace tarvine::component {
namespace {

std::string argumentName(const MethodDesc& method, std::size_t index) {
  return "argument " + std::to_string(index + 1) + " (" + std::string(method.params[index].name) +
         ") of " + std::string(method.name);
}

// The argument for parameter `index` coerced to the parameter's type; an omitted optional
// boolean is false.
Variant coerceArgument(const MethodDesc& method, std::size_t index, std::span<const Variant> args) {
  const ParamDesc& param = method.params[index];
  const bool omitted = index >= args.size() || std::holds_alternative<Missing>(args[index]);
  if (omitted) {
    if (param.optional) return false;
    if (index >= args.size()) {
      throw DispatchError(DispatchCode::BadParamCount,
                          "Invalid number of parameters: " + std::string(method.name) + " takes " +
                              std::to_string(method.params.size()) + ", got " +
                              std::to_string(args.size()));
    }
    throw DispatchError(DispatchCode::ParamNotOptional,
                        "Parameter not optional: " + argumentName(method, index),
                        static_cast<int>(index));
  }
  try {
    switch (param.type) {
      case VarType::Text:
        return coerceToText(args[index]);
      case VarType::I4:
        return coerceToInt32(args[index]);
      case VarType::Bool:
        return coerceToBool(args[index]);
      default:
        break;
    }
  } catch (const RuntimeError& error) {
    const bool overflow = error.number() == kErrOverflow;
    throw DispatchError(overflow ? DispatchCode::Overflow : DispatchCode::TypeMismatch,
                        std::string(overflow ? "Overflow: " : "Type mismatch: ") +
                            argumentName(method, index) + " cannot take " +
                            std::string(typeName(typeOf(args[index]))) + " as " +
                            std::string(typeName(param.type)),
                        static_cast<int>(index));
  }
  throw DispatchError(DispatchCode::BadVarType, "Bad variable type: " + argumentName(method, index),
                      static_cast<int>(index));
}

const std::string& text(const Variant& value) {
  return std::get<std::string>(value);
}

// Runs the method with coerced arguments; a run-time error becomes an Exception failure.
Variant call(OrderPick& control, const MethodDesc& method, const std::vector<Variant>& a) {
  try {
    switch (method.dispatchId) {
      case kDispRefreshData:
        control.RefreshData();
        return {};
      case kDispPutServerName:
        control.PutServerName(text(a[0]));
        return {};
      case kDispPutTarvineID:
        control.PutTarvineID(std::get<std::int32_t>(a[0]));
        return {};
      case kDispReturnWebserviceXML:
        return control.ReturnWebserviceXML(text(a[0]), text(a[1]), text(a[2]), text(a[3]),
                                           std::get<bool>(a[4]));
      case kDispSetFacilityID:
        control.SetFacilityID(text(a[0]));
        return {};
      case kDispSetPersonInformation:
        control.SetPersonInformation(text(a[0]), text(a[1]));
        return {};
      default:
        break;
    }
  } catch (...) {
    const RuntimeError error = currentError();
    throw DispatchError(DispatchCode::Exception, error.description(), -1, error.number(),
                        error.source());
  }
  throw DispatchError(DispatchCode::MemberNotFound,
                      "Member not found: " + std::string(method.name));
}

}  // namespace

Variant invoke(OrderPick& control, std::int32_t dispatchId, std::span<const Variant> args) {
  const MethodDesc* method = methodById(dispatchId);
  if (!method) {
    throw DispatchError(
        DispatchCode::MemberNotFound,
        "Member not found: no method has the dispatch id " + std::to_string(dispatchId));
  }
  if (args.size() > method->params.size()) {
    throw DispatchError(DispatchCode::BadParamCount,
                        "Invalid number of parameters: " + std::string(method->name) + " takes " +
                            std::to_string(method->params.size()) + ", got " +
                            std::to_string(args.size()));
  }
  std::vector<Variant> coerced;
  coerced.reserve(method->params.size());
  for (std::size_t i = 0; i < method->params.size(); ++i) {
    coerced.push_back(coerceArgument(*method, i, args));
  }
  return call(control, *method, coerced);
}

Variant invokeByName(OrderPick& control, std::string_view name, std::span<const Variant> args) {
  const auto id = dispatchIdOfName(name);
  if (!id) {
    throw DispatchError(DispatchCode::UnknownName, "Unknown name: " + std::string(name));
  }
  return invoke(control, *id, args);
}

RuntimeError lateBoundError(const DispatchError& error) {
  switch (error.code()) {
    case DispatchCode::UnknownName:
    case DispatchCode::MemberNotFound:
      return RuntimeError(438, "Object doesn't support this property or method");
    case DispatchCode::BadParamCount:
      return RuntimeError(450, "Wrong number of arguments or invalid property assignment");
    case DispatchCode::ParamNotOptional:
      return RuntimeError(449, "Argument not optional");
    case DispatchCode::TypeMismatch:
      return typeMismatchError();
    case DispatchCode::Overflow:
      return overflowError();
    case DispatchCode::BadVarType:
      return RuntimeError(458, "Variable uses an Automation type not supported");
    case DispatchCode::Exception:
      break;
  }
  return RuntimeError(error.number(), error.description(), error.source());
}

void DispatchFace::invokeByName(const std::string& name) {
  ++calls_;
  try {
    component::invokeByName(control_, name, {});
  } catch (const DispatchError& error) {
    throw lateBoundError(error);
  }
}

}  // namespace tarvine::component
