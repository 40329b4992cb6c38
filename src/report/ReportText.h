#pragma once
// The batch report's JSON document as readable text: the same content, the
// grids as aligned columns.

#include <nlohmann/json.hpp>
#include <string>

namespace kov {

std::string RenderText(const nlohmann::ordered_json& document);

}  // namespace kov
