#include "model/Figures.h"

namespace kov {

std::int32_t CollectionSeconds(const ReportModel& model) {
    return ElapsedSeconds(model.SysInfo.ElapsedTime.Trimmed());
}

}  // namespace kov
