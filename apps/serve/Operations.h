// The seven operations of the route service, looked up by name.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tarvine::serve {

class Database;
class SoapRequest;
struct RequestRecord;

// What an operation hands back: a query's result text (see DataSetWriter) or none for an update.
struct OperationResult {
  std::optional<std::string> resultText;
  std::size_t rows = 0;
};

// One operation: reads its parameters from the request and works on db; an update notes what
// it was asked (person, statements, load) in record for the log, before it can fail. Throws
// SoapFault for a bad request and DatabaseError when the database fails.
using OperationHandler = OperationResult (*)(const SoapRequest& request, Database& db,
                                             RequestRecord& record);

// The handler of the named operation, or nullptr when the service has no such operation.
OperationHandler findOperation(std::string_view name);

}  // namespace tarvine::serve
