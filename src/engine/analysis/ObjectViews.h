#pragma once
// The "Object Info" page: the current pool's objects as a list and as a grid
// of their read activity, and the breakdown of the current object (labels and
// a pie) by access type, pages read or read I/Os.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/ReportModel.h"
#include "views/ChartData.h"
#include "views/ViewData.h"

namespace kov {

// The texts of cboObjectGraphType, graph type 1 first.
const std::vector<std::string>& ObjectGraphTypes();
const std::vector<std::string>& ObjectGridHeadings();

enum class ObjectIcon { TableSpace, Index, D, Other };

struct ObjectListItem {
    std::string Name;  // trimmed object name
    ObjectIcon Icon = ObjectIcon::Other;
    friend bool operator==(const ObjectListItem&, const ObjectListItem&) = default;
};

// lvObjects and grdObjectInfo for pool p, in table order; empty (headings
// only) for a pool without objects or no such pool.
std::vector<ObjectListItem> ObjectListItems(const ReportModel& model, int p);
StringTable ObjectGrid(const ReportModel& model, int p);

// The positions of the list items after a heading click, by the grids' rule.
std::vector<std::size_t> ObjectListOrder(const std::vector<ObjectListItem>& items, bool ascending);

// The object of pool p that a list item or grid row names: the last one whose
// trimmed name equals the text; 0 when none does.
int FindObjectByName(const ReportModel& model, int p, std::string_view name);

// What ShowObjectDetails changes for one object and graph type (1..3).
struct ObjectBreakdown {
    // Labels written from label 0 on; labels beyond them keep their text.
    std::vector<LabelPair> Labels;
    bool HideLastLabel = false;      // label 4 is hidden (access type)
    std::optional<ChartData> Chart;  // nothing: the chart keeps what it shows
    std::vector<Message> Messages;
};

// Nothing for object 0, an object outside the table or no graph type.
std::optional<ObjectBreakdown> ObjectBreakdownFor(const ReportModel& model, int object, int graphType);

}  // namespace kov
