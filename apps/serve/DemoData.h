// A believable example for demonstrations, tests and benchmarks: one route through four
// centers, loads 5001 and 5002 on it for facility DEMO, and generated loads of any size.
#pragma once

#include <string>

namespace tarvine::serve {

class Database;

// The facility of every demo order and load.
inline constexpr const char* kDemoFacility = "DEMO";
// The load being built in the demo.
inline constexpr int kDemoLoad = 5001;
// A second load on the same route, holding orders that the first one does not list.
inline constexpr int kDemoOtherLoad = 5002;

// Creates the demo centers, route, loads 5001 and 5002 and their orders, unless load 5001
// exists already. Throws DatabaseError when the database fails.
void createDemoData(Database& db);

// Adds load loadId on the demo route (created when missing) with `segments` segments over
// orders of 1 to 5 segments. Throws std::invalid_argument for a load id outside 16 bits, a
// segment count outside 1 to 32767 or a load that exists already; DatabaseError otherwise.
void generateLoad(Database& db, int loadId, int segments);

// Creates or opens the demo database at path (making missing parent folders): the schema and
// the demo data, each only when missing. Throws DatabaseError when the file cannot be used.
void openDemoDatabase(const std::string& path);

}  // namespace tarvine::serve
