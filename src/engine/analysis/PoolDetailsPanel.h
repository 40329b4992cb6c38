#pragma once
// The activity figures of one object, shown when a bar of a top-list chart is
// clicked: 19 caption labels and 19 value labels, indexed 0..18.

#include <array>
#include <string>

#include "model/ReportModel.h"

namespace kov {

struct ObjectDetailFigures {
    std::string Heading;                   // the object's name, so the panel says whose figures these are
    std::array<std::string, 19> Captions;  // lblPanelLabel(i)
    std::array<std::string, 19> Values;    // lblPanelData(i): two blanks, then the value
};

// The captions, always the same.
const std::array<std::string, 19>& PanelCaptions();

// False for object 0 or an index beyond the loaded objects.
bool ObjectDetails(const ReportModel& model, int object, ObjectDetailFigures& figures);

}  // namespace kov
