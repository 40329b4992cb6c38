#include "readers/ReportWriter.h"

#include <stdexcept>

#include "common/NumberText.h"
#include "readers/Layouts.h"
#include "readers/RecordFields.h"

namespace kov {

namespace {

constexpr const char* kLineEnd = "\r\n";

// A report line under construction: blank-padded, fields put at their spans.
class LineBuilder {
public:
    explicit LineBuilder(std::string_view code) : line_(code) {}

    void Text(const FieldSpan& span, std::string_view text) {
        if (text.size() > static_cast<std::size_t>(span.Length))
            throw std::invalid_argument("'" + std::string(text) + "' does not fit the " + std::to_string(span.Length) +
                                        " columns at column " + std::to_string(span.Start));
        Reserve(span);
        line_.replace(static_cast<std::size_t>(span.Start - 1), text.size(), text);
    }

    void Number(const FieldSpan& span, double value) { RightAligned(span, ShortestDecimal(value)); }
    void Number(const FieldSpan& span, long long value) { RightAligned(span, std::to_string(value)); }
    void Number(const FieldSpan& span, std::int32_t value) { Number(span, static_cast<long long>(value)); }
    void Number(const FieldSpan& span, std::int16_t value) { Number(span, static_cast<long long>(value)); }

    // A text member as stored (trimmed), a number as its digits.
    template <std::size_t N>
    void Put(const FieldSpan& span, const FixedText<N>& text) {
        Text(span, text.Trimmed());
    }
    template <typename Value>
    void Put(const FieldSpan& span, Value value) {
        Number(span, value);
    }
    // The members a table of RecordFields.h names, at their fields.
    template <typename Table, typename Record>
    void Fields(const Layout& layout, const Table& table, const Record& record) {
        ForEachField(table, [&](std::size_t index, auto member) { Put(layout[index], record.*member); });
    }
    // Point i of a simulation line: the members a point table names.
    template <typename Table, typename Record>
    void Points(const SimLineLayout& layout, int i, const Table& table, const Record& record) {
        ForEachPointField(table, [&](auto field) {
            using Point = decltype(field);
            Put(layout.Detail(i, Point::Detail), (record.*Point::Member)[static_cast<std::size_t>(i)]);
        });
    }

    // The members a table of SpanMember names, at their places.
    template <typename Table, typename Record>
    void Spans(const Table& table, const Record& record) {
        ForEachPointField(table, [&](auto field) { Put(decltype(field)::Span, record.*decltype(field)::Member); });
    }
    // Point i of a simulation header: the members a HeaderPointMember table names.
    template <typename Table, typename Record>
    void HeaderPoint(int i, const Table& table, const Record& record) {
        ForEachPointField(table, [&](auto field) {
            using Point = decltype(field);
            Put(Point::Span(i), (record.*Point::Member)[static_cast<std::size_t>(i)]);
        });
    }

    void Activity(const ActivityBlock& block, int blockStart) {
        ActivityBlock copy = block;  // ActivityField hands out writable references
        for (int p = 1; p <= ActivityPositions; ++p) {
            const FieldSpan span{ActivityColumn(blockStart, p), ActivityWidth(p)};
            const ActivityFieldRef ref = ActivityField(copy, p);
            if (ref.Real != nullptr)
                Number(span, *ref.Real);
            else
                Number(span, *ref.Integer);
        }
    }

    std::string Done() { return std::move(line_); }

private:
    void Reserve(const FieldSpan& span) {
        if (line_.size() < static_cast<std::size_t>(span.End()))
            line_.resize(static_cast<std::size_t>(span.End()), ' ');
    }
    void RightAligned(const FieldSpan& span, const std::string& digits) {
        if (digits.size() > static_cast<std::size_t>(span.Length))
            throw std::invalid_argument("the number " + digits + " does not fit the " + std::to_string(span.Length) +
                                        " columns at column " + std::to_string(span.Start));
        Text(span, std::string(static_cast<std::size_t>(span.Length) - digits.size(), ' ') + digits);
    }

    std::string line_;
};

const SimLineLayout LayoutFor(int points) {
    return SimLineLayout{points};
}

}  // namespace

std::string EnvironmentLine(const WriteOptions& options) {
    return "ENVIRONMENT KOVGRAPH COLLECTION " + options.Environment;
}

std::string StatHeaderLine(const SystemInfo& s) {
    const Layout& f = HeaderLayout();
    LineBuilder b("BPH ");
    b.Fields(f, HeaderFields, s);
    return b.Done();
}

std::string PoolLine(const PoolRecord& pool) {
    const Layout& f = PoolLayout();
    LineBuilder b("BPS ");
    b.Text(f[0], pool.RecordTag.Trimmed());
    b.Fields(f, PoolSettingFields, pool);
    b.Activity(pool.Activity, PoolActivityStart);
    b.Fields(f, PoolThresholdFields, pool);
    b.Text(f[50], pool.DataSpace.Trimmed() == "Y" ? "Data Space" : "          ");
    b.Text(f[51], pool.PoolMgt.Padded());
    return b.Done();
}

std::string ObjectLine(const ObjectRecord& object) {
    const Layout& f = ObjectLayout();
    LineBuilder b("BPD ");
    b.Text(f[0], object.RecordTag.Trimmed());
    b.Fields(f, ObjectFields, object);
    b.Activity(object.Activity, ObjectActivityStart);
    b.Text(f[44], object.LongName.Padded());
    return b.Done();
}

std::string SimHeaderLine(const SimulationRecord& sim) {
    const Layout& f = SimHeader().Fixed;
    LineBuilder b("*BPP");
    b.Text(f[0], sim.RecordTag.Trimmed());
    b.Fields(f, SimHeaderFields, sim);
    const int n = sim.SizeCount;
    if (n < 1 || n > MaxSizes) throw std::invalid_argument("a simulation must have 1 to 16 size points");
    for (int i = 1; i <= n; ++i) b.HeaderPoint(i, SimHeaderPointFields, sim);
    for (int i = 1; i <= n; ++i)
        b.Text(SimHeaderLayout::SizeLabel(n, i), sim.SizeLabel[static_cast<std::size_t>(i)].Padded());
    return b.Done();
}

std::string SimPoolLine(const PoolSimRecord& slot, int points) {
    const SimLineLayout layout = LayoutFor(points);
    LineBuilder b("*BPT");
    b.Text(SimLineLayout::RecordTag, "POOL TOTAL");
    for (int i = 1; i <= points; ++i) {
        for (const int unkept : {4, 5, 6}) b.Number(layout.Detail(i, unkept), 0LL);
        b.Points(layout, i, SimPoolPointFields, slot);
    }
    return b.Done();
}

std::string SimObjectLine(const SimObjectRecord& slot, int points) {
    const SimLineLayout layout = LayoutFor(points);
    LineBuilder b("BPS ");
    b.Spans(SimObjectFields, slot);
    for (int i = 1; i <= points; ++i) b.Points(layout, i, SimObjectPointFields, slot);
    return b.Done();
}

void WriteStatReport(const ReportModel& model, std::ostream& out, const WriteOptions& options) {
    out << EnvironmentLine(options) << kLineEnd << StatHeaderLine(model.SysInfo) << kLineEnd;
    for (const PoolRecord& pool : model.Pools) {
        out << PoolLine(pool) << kLineEnd;
        if (pool.FirstObject == 0) continue;
        for (int o = pool.FirstObject; o <= pool.LastObject; ++o) out << ObjectLine(model.Objects(o)) << kLineEnd;
    }
}

int PoolOfSimulation(const ReportModel& model, int simNo) {
    for (int p = 1; p <= model.PoolCount(); ++p)
        for (const PoolSimRecord& slot : model.Pools(p).Sims)
            if (slot.SimulationNo == simNo) return p;
    return 0;
}

void WriteSimReport(const ReportModel& model, int simNo, std::ostream& out, const WriteOptions& options) {
    const SimulationRecord& sim = model.Simulations(simNo);
    const int p = PoolOfSimulation(model, simNo);
    if (p == 0) throw std::invalid_argument("simulation " + std::to_string(simNo) + " is attached to no pool");
    const PoolRecord& pool = model.Pools(p);
    const int points = sim.SizeCount;
    out << EnvironmentLine(options) << kLineEnd << SimHeaderLine(sim) << kLineEnd;
    for (const PoolSimRecord& slot : pool.Sims)
        if (slot.SimulationNo == simNo) out << SimPoolLine(slot, points) << kLineEnd;
    if (pool.FirstObject == 0) return;
    for (int o = pool.FirstObject; o <= pool.LastObject; ++o)
        for (const SimObjectRecord& slot : model.Objects(o).Sims)
            if (slot.SimulationNo == simNo) out << SimObjectLine(slot, points) << kLineEnd;
}

void WriteConsolidatedFile(const ReportModel& model, std::ostream& out, const WriteOptions& options) {
    out << "*CHD KOVGRAPH CONSOLIDATED DATA" << kLineEnd;
    WriteStatReport(model, out, options);
    for (int k = 1; k <= model.SimulationCount; ++k) {
        const int p = PoolOfSimulation(model, k);
        out << "*CHD SIMULATION " << (p ? model.Pools(p).PoolName.Trimmed() : "") << kLineEnd;
        WriteSimReport(model, k, out, options);
    }
    // Each part is read with one line of look-ahead: the closing marker
    // keeps the last data line from being the file's last line.
    out << "*CHD END" << kLineEnd;
}

}  // namespace kov
