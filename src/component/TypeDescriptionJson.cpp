#include <nlohmann/json.hpp>

#include "component/TypeDescription.h"

namespace tarvine::component {
namespace {

using nlohmann::json;

json interfaceJson(const InterfaceDesc& desc) {
  json methods = json::array();
  for (const MethodDesc& method : desc.methods) {
    json params = json::array();
    for (const ParamDesc& param : method.params) {
      params.push_back(
          {{"name", param.name}, {"type", typeName(param.type)}, {"optional", param.optional}});
    }
    methods.push_back({{"dispid", method.dispatchId},
                       {"name", method.name},
                       {"params", std::move(params)},
                       {"result", typeName(method.result)}});
  }
  return {{"name", desc.name}, {"id", desc.id}, {"methods", std::move(methods)}};
}

}  // namespace

std::string typeDescriptionJson() {
  const TypeLibraryDesc& library = typeLibrary();
  json fields = json::array();
  for (const FieldDesc& field : library.recordFields) {
    fields.push_back({{"name", field.name}, {"type", typeName(field.type)}});
  }
  const json description = {
      {"library",
       {{"name", library.name},
        {"id", library.id},
        {"version",
         std::to_string(library.majorVersion) + "." + std::to_string(library.minorVersion)},
        {"locale", library.locale}}},
      {"class",
       {{"name", library.className},
        {"id", library.classId},
        {"progid", library.progId},
        {"dispatch", library.dispatch.name},
        {"events", library.events.name}}},
      {"interfaces", json::array({interfaceJson(library.dispatch), interfaceJson(library.events)})},
      {"records", json::array({{{"name", library.recordName},
                                {"id", library.recordId},
                                {"fields", std::move(fields)}}})},
  };
  return description.dump();
}

}  // namespace tarvine::component
