#pragma once

#include <string>

namespace tarvine::test {

// Names a parameterised case after its `name` member (the case's own name in gtest and ctest).
inline constexpr auto caseName = [](const auto& info) { return std::string(info.param.name); };

}  // namespace tarvine::test
