// Simulation reports: one pool replayed at a series of simulated sizes. A
// report is accepted only against the loaded statistics of the same
// collection, and its results are attached to the pool's and the objects'
// simulation slots.

#include <algorithm>
#include <cstdint>
#include <type_traits>

#include "common/ColumnNumber.h"
#include "common/NumberText.h"
#include "common/TextMatch.h"
#include "model/Figures.h"
#include "readers/FieldParsing.h"
#include "readers/ReportReader.h"

namespace kov {

namespace {

constexpr const char* kHeaderLineKind = "the simulation header line (*BPP)";

// The conversion a record field of type T takes, as ReportReader::NumberField
// chooses it by overload.
template <typename T>
constexpr NumberKind NumberKindOf() {
    if constexpr (std::is_same_v<T, double>)
        return NumberKind::Double;
    else if constexpr (std::is_same_v<T, std::int32_t>)
        return NumberKind::Int32;
    else {
        static_assert(std::is_same_v<T, std::int16_t>, "a number field is Int16, Int32 or Double");
        return NumberKind::Int16;
    }
}

constexpr SimLineLayout kOnePoint{1};
template <int Detail>
constexpr FieldSpan FirstPointSpan() {
    return Detail <= 5 ? kOnePoint.Group1(1, Detail) : kOnePoint.Group2(1, Detail);
}
template <int Detail>
constexpr int kDetailOffset = FirstPointSpan<Detail>().Start - FirstPointSpan<Detail <= 5 ? 1 : 6>().Start;
template <int Detail>
constexpr auto kDetailWidth = static_cast<std::size_t>(FirstPointSpan<Detail>().Length);
constexpr int kGroup1Stride = kOnePoint.Group1(2, 1).Start - kOnePoint.Group1(1, 1).Start;
constexpr int kGroup2Stride = kOnePoint.Group2(2, 6).Start - kOnePoint.Group2(1, 6).Start;

template <int Detail, typename T>
[[gnu::always_inline]] inline void ConvertDetail(const char* group, bool decimalComma, T& target) {
    if constexpr (std::is_same_v<T, double>)
        target = ColumnDouble<kDetailWidth<Detail>>(group + kDetailOffset<Detail>, decimalComma);
    else
        target = ColumnInt32<kDetailWidth<Detail>>(group + kDetailOffset<Detail>, decimalComma);
}

// VP + HP size of point i, as the pool's slot keeps it beside the point's
// figures.
std::int32_t SimulatedPoolSize(const SimulationRecord& sim, int i) {
    const auto p = static_cast<std::size_t>(i);
    const long long size = static_cast<long long>(sim.SimVPSize[p]) + sim.SimHPSize[p];
    if (size > INT32_MAX || size < INT32_MIN)
        throw FieldError("the simulated size of point " + std::to_string(i) + " is too large");
    return static_cast<std::int32_t>(size);
}

template <FieldSpan Span>
std::int32_t ConvertInt32(std::string_view line, bool decimalComma) {
    return ColumnInt32<static_cast<std::size_t>(Span.Length)>(line.data() + (Span.Start - 1), decimalComma);
}

// The numbers of an object line that holds every column of its points, in
// the order of its fields; a field that does not convert throws FieldError
// after the fields before it are stored, as the walk by field does. The
// narrow columns read the two characters before them as well.
void ConvertCompleteObjectLine(std::string_view line, const SimLineLayout& layout, int points, bool decimalComma,
                               SimObjectRecord& slot) {
    ForEachPointField(SimObjectFields, [&](auto field) {
        using Field = decltype(field);
        if constexpr (FillsNumber<Field, SimObjectRecord>)
            slot.*Field::Member = ConvertInt32<Field::Span>(line, decimalComma);
    });
    const char* group1 = line.data() + (layout.Group1(1, 1).Start - 1);
    const char* group2 = line.data() + (layout.Group2(1, 6).Start - 1);
    for (int i = 1; i <= points; ++i, group1 += kGroup1Stride, group2 += kGroup2Stride) {
        const auto p = static_cast<std::size_t>(i);
        ForEachPointField(SimObjectPointFields, [&](auto field) {
            using Point = decltype(field);
            ConvertDetail<Point::Detail>(Point::Detail <= 5 ? group1 : group2, decimalComma, (slot.*Point::Member)[p]);
        });
    }
}

}  // namespace

void ReportReader::ReadSimFile(const std::string& path) {
    const int simNo = model_.SimulationCount;
    const PoolObjectsForgotten forgetAtEnd(*this);
    try {
        lines_.Close();
        FileError = false;
        RecordError = false;
        if (!model_.StatsLoaded) {
            Show("Simulation File", "Please Read Statistics File First", MessageIcon::Critical);
            FileError = true;
            return;
        }
        const std::string trimmedPath(TrimBlanks(path));
        if (const ReportFileKind kind = IdentifyReport(trimmedPath);
            kind == ReportFileKind::Statistics || kind == ReportFileKind::Consolidated)
            return RefuseWrongPlace("Read Simulation Report Information", kind);
        lines_.Open(trimmedPath);
        lines_.ResetReadCounters();
        ProgressHeldBack opening(lines_);
        CheckEnvironment();
        if (FileError) {
            lines_.Close();
            return;
        }
        ReadSimHeader(simNo);
        if (!AttachSimulation(simNo, trimmedPath)) {
            lines_.Close();
            return;
        }
        opening.Release();
        ReadSimLines(simNo);
        lines_.Close();
        if (!FileError) model_.SimulationsLoaded = true;
    } catch (const std::exception& failure) {
        RunTimeFailure("Read Simulation File", failure);
        FileError = true;
    }
}

// The collection check, the pool and the pool line; false when the read
// must stop.
bool ReportReader::AttachSimulation(int simNo, const std::string& fileName) {
    SimulationRecord& sim = model_.Simulations(simNo);
    const bool sameCollection =
        EqualIgnoringCase(sim.CollectionDate.Padded(), model_.SysInfo.CollectionDate.Padded()) &&
        EqualIgnoringCase(sim.CollectionTime.Padded(), model_.SysInfo.CollectionTime.Padded());
    if (FileError || RecordError) return false;
    if (!sameCollection) {
        Show("ZOVOD", "The Collection Date and timestamp do not match", MessageIcon::Information);
        FileError = true;
        return false;
    }
    sim.FileName = fileName;
    simPool_ = model_.FindPool(sim.PoolName.Padded());
    if (simPool_ != 0) {
        PoolRecord& pool = model_.Pools(simPool_);
        pool.SimSlot(pool.SimCount + 1).SimulationNo = static_cast<std::int16_t>(simNo);
        ++pool.SimCount;
    }
    ReadSimPoolLine(simNo, simPool_);
    if (FileError || RecordError) return false;
    IndexPoolObjects(simPool_);
    return true;
}

void ReportReader::ReadSimLines(int simNo) {
    while (!lines_.AtEnd())
        if (!HandleSimLine(lines_.ReadReportLine(), simNo)) return;
}

// One line after the pool line; false when the read must stop.
bool ReportReader::HandleSimLine(std::string_view line, int simNo) {
    if (CodeContains(line, "BPS")) {
        ReadSimObjectLine(line, simNo, simPool_);
        return !FileError;
    }
    if (CodeContains(line, "BPO") && TrimBlanks(SimLineLayout::IncludeFlag.In(line)) == "I") {
        Show("Simulation File Read Error", "Can not analyse file containing Include Objects", MessageIcon::Exclamation);
        FileError = true;
        sink_.Beep();
        return false;
    }
    return true;
}

// Lines before the header are looked at for include flags (column 21 "I").
// The scan ends at the "*BPP" header line, or right after the first flagged
// line, whose successor is then taken as the header.
bool ReportReader::ScanIncludeLines(std::string_view& line) {
    bool found = false;
    while (!found && line.substr(0, 4) != "*BPP") {
        if (TrimBlanks(SimLineLayout::IncludeFlag.In(line)) == "I") found = true;
        line = ReadLineOrFieldError(SimHeader().Fixed[0], kHeaderLineKind);
    }
    return found;
}

void ReportReader::ReadSimHeader(int simNo) {
    context_ = {"Read Simulation Report Information", true};
    lines_.ReadFieldNumber() = 0;
    const Layout& f = SimHeader().Fixed;
    // The entry exists from the start of the read, so a file that ends before
    // its header keeps its number with an empty entry; the entry beyond the
    // table is refused at the header's first field.
    if (simNo <= MaxSimulations) model_.Simulations.GrowTo(simNo);
    try {
        std::string_view line = ReadLineOrFieldError(f[0], kHeaderLineKind);
        const bool includeFlagged = ScanIncludeLines(line);
        SimulationRecord* sim = nullptr;
        Field(line, f[0], [&](std::string_view text) {
            model_.Simulations.GrowTo(simNo);
            sim = &model_.Simulations(simNo);
            sim->RecordTag.AssignTrimmed(text);
        });
        FieldsInto(line, f, SimHeaderFields, *sim);

        // Older collectors declare fewer points than they write.
        int n = std::max<int>(sim->SizeCount, 8);
        if (sim->DB2Version.Trimmed() == "7.1" && n >= 9) n = 8;
        if (sim->DB2Version.Trimmed() == "8.1" && n < 16) n = 16;
        sim->SizeCount = static_cast<std::int16_t>(n);
        simLayout_.Points = std::min(n, MaxSizes);

        for (int i = 1; i <= n; ++i) {
            if (i > MaxSizes) {
                Field(line, SimHeaderLayout::VPSize(i), [&](std::string_view) {
                    throw FieldError("the header declares " + std::to_string(n) +
                                     " size points; a simulation holds at most " + std::to_string(MaxSizes));
                });
            }
            ForEachPointField(SimHeaderPointFields, [&](auto field) {
                using Point = decltype(field);
                NumberField(line, Point::Span(i), (sim->*Point::Member)[static_cast<std::size_t>(i)]);
            });
        }
        for (int i = 1; i <= n; ++i)
            TextField(line, SimHeaderLayout::SizeLabel(n, i), sim->SizeLabel[static_cast<std::size_t>(i)], false);

        if (includeFlagged)
            Show("Simulation Data Warning",
                 "Included Objects will not have valid Statistical data for - " + sim->PoolName.PaddedString(),
                 MessageIcon::Exclamation);
    } catch (const LineAbandoned&) {
    }
}

void ReportReader::ReadSimPoolLine(int simNo, int poolNo) {
    context_ = {"Read Simulation Buffer Pool Information", true};
    lines_.ReadFieldNumber() = 0;
    try {
        const std::string_view line = ReadLineOrFieldError(simLayout_.Group1(1, 1), "the simulation pool line");
        SimulationRecord& sim = model_.Simulations(simNo);
        if (poolNo == 0) {
            Show("KOV for DB2",
                 sim.PoolName.PaddedString() + "Not found in data file. Can not process simulation data.",
                 MessageIcon::Critical);
            RecordError = true;
            return;
        }
        PoolRecord& pool = model_.Pools(poolNo);
        PoolSimRecord* slot = nullptr;
        for (int s = 1; s <= MaxSimulations && slot == nullptr; ++s) {
            PoolSimRecord& candidate = pool.SimSlot(s);
            if (candidate.SimPoolSize[1] == 0) slot = &candidate;
        }
        if (slot == nullptr) {
            Field(line, simLayout_.Group1(1, 1), [&](std::string_view) {
                throw CapacityError("all " + std::to_string(MaxSimulations) + " simulation slots of pool " +
                                    pool.PoolName.TrimmedString() + " are in use");
            });
        }
        slot->SimulationNo = static_cast<std::int16_t>(simNo);

        const int n = sim.SizeCount;
        for (int i = 1; i <= n; ++i) {
            const auto p = static_cast<std::size_t>(i);
            ForEachPointField(SimPoolPointFields, [&](auto field) {
                using Point = decltype(field);
                auto& target = (slot->*Point::Member)[p];
                const FieldSpan span = simLayout_.Detail(i, Point::Detail);
                if constexpr (Point::Detail == 1)
                    Field(line, span, [&](std::string_view text) {
                        slot->SimPoolSize[p] = SimulatedPoolSize(sim, i);
                        target =
                            static_cast<std::int32_t>(ParseNumberField(text, NumberKind::Int32, lines_.DecimalComma));
                    });
                else
                    NumberField(line, span, target);
            });
        }

        const auto poolSize = static_cast<double>(PoolSize(pool));
        bool sizeMatches = false;
        for (int j = 1; j <= n; ++j)
            sizeMatches = sizeMatches || slot->SimPoolSize[static_cast<std::size_t>(j)] == poolSize;

        // Unused trailing points are written as pairs of zero sizes.
        for (int k = 1; k <= n; k += 2) {
            if (static_cast<std::int64_t>(slot->SimPoolSize[static_cast<std::size_t>(k)]) +
                    slot->SimPoolSize[static_cast<std::size_t>(k) + 1] ==
                0) {
                sim.SizeCount = static_cast<std::int16_t>(k - 1);
                break;
            }
        }
        if (!sizeMatches) sink_.Show(SimulationSizeMismatch(poolSize));
    } catch (const LineAbandoned&) {
    }
}

void ReportReader::ForgetPoolObjects() {
    poolObjectIndex_.clear();
    poolObjectFirstOfName_.clear();
    indexedFirstObject_ = nextObject_ = 0;
}

void ReportReader::IndexPoolObjects(int poolNo) {
    poolObjectIndex_.clear();
    poolObjectFirstOfName_.clear();
    const PoolRecord& pool = model_.Pools(poolNo);
    indexedFirstObject_ = nextObject_ = pool.FirstObject;
    if (pool.FirstObject == 0) return;
    const int objects = pool.LastObject - pool.FirstObject + 1;
    poolObjectIndex_.reserve(static_cast<std::size_t>(std::max(objects, 0)));
    for (int o = pool.FirstObject; o <= pool.LastObject; ++o)
        poolObjectFirstOfName_.push_back(poolObjectIndex_.emplace(model_.Objects(o).ObjectName.Trimmed(), o).second);
}

// A simulation report lists the pool's objects in the order of the
// statistics report, so the object after the last one found is tried first;
// it is taken only where the index would give it (the first of its name).
int ReportReader::FindPoolObject(std::string_view name) {
    const int expected = nextObject_;
    const auto offset = static_cast<std::size_t>(expected - indexedFirstObject_);
    if (expected >= indexedFirstObject_ && offset < poolObjectFirstOfName_.size() && poolObjectFirstOfName_[offset] &&
        model_.Objects(expected).ObjectName.Trimmed() == name) {
        nextObject_ = expected + 1;
        return expected;
    }
    const auto found = poolObjectIndex_.find(name);
    if (found == poolObjectIndex_.end()) return 0;
    nextObject_ = found->second + 1;
    return found->second;
}

void ReportReader::ReadSimObjectLine(std::string_view line, int simNo, int poolNo) {
    // A failing field abandons only the rest of its line.
    context_ = {"Read Simulation Object Information", true};
    lines_.ReadFieldNumber() = 0;
    try {
        const std::string_view name = TrimBlanks(SimLineLayout::ObjectName.In(line));
        const PoolRecord& pool = model_.Pools(poolNo);
        if (pool.FirstObject == 0) {
            Field(line, SimLineLayout::ObjectName, [&](std::string_view) {
                throw FieldError("pool " + pool.PoolName.TrimmedString() +
                                 " has no objects to hold simulation results");
            });
        }
        const int found = FindPoolObject(name);
        if (found == 0) {
            Show("Reading Simulation Objects",
                 "Can not located object " + std::string(name) + " in Buffer pool " + pool.PoolName.PaddedString(),
                 MessageIcon::Exclamation);
            return;
        }
        ObjectRecord& object = model_.Objects(found);
        if (object.SimCount() >= MaxSimulations) {
            Field(line, SimLineLayout::RecordTag, [&](std::string_view) {
                throw CapacityError("object " + std::string(name) + " already holds " + std::to_string(MaxSimulations) +
                                    " simulation results");
            });
        }
        SimObjectRecord& slot = object.Sims.emplace_back();
        slot.SimulationNo = static_cast<std::int16_t>(simNo);
        slot.ObjectName = name;

        ForEachPointField(SimObjectFields, [&](auto field) {
            using Field = decltype(field);
            if constexpr (!FillsNumber<Field, SimObjectRecord>) TextField(line, Field::Span, slot.*Field::Member);
        });
        // The numbers: those before the points, then the details of each point.
        const int n = model_.Simulations(simNo).SizeCount;
        const auto numbers = [&](auto&& number) {
            ForEachPointField(SimObjectFields, [&](auto field) {
                using Field = decltype(field);
                if constexpr (FillsNumber<Field, SimObjectRecord>) number(Field::Span, slot.*Field::Member);
            });
            for (int i = 1; i <= n; ++i) {
                const auto p = static_cast<std::size_t>(i);
                ForEachPointField(SimObjectPointFields, [&](auto field) {
                    using Point = decltype(field);
                    number(simLayout_.Detail(i, Point::Detail), (slot.*Point::Member)[p]);
                });
            }
        };
        const bool decimalComma = lines_.DecimalComma;
        const auto convert = [&](std::string_view text, auto& target) {
            using Target = std::remove_reference_t<decltype(target)>;
            target = static_cast<Target>(ParseNumberField(text, NumberKindOf<Target>(), decimalComma));
        };
        // An object line carries up to 130 numbers and a simulation of a big
        // pool thousands of lines, nearly all of them sound: they are
        // converted straight through. Only a line with a field that does not
        // convert is read again field by field, which counts the fields and
        // reports the failing one exactly as every other parser does.
        bool sound = true;
        try {
            if (n <= simLayout_.Points && line.size() >= static_cast<std::size_t>(simLayout_.LineLength()))
                ConvertCompleteObjectLine(line, simLayout_, n, decimalComma, slot);
            else
                numbers([&](const FieldSpan& span, auto& target) { convert(span.In(line), target); });
        } catch (const FieldError&) {
            sound = false;
        }
        if (sound) {
            lines_.ReadFieldNumber() += 2 + 8 * std::max(n, 0);
        } else {
            numbers([&](const FieldSpan& span, auto& target) {
                Field(line, span, [&](std::string_view text) { convert(text, target); });
            });
        }
    } catch (const LineAbandoned&) {
    }
}

Message SimulationSizeMismatch(double poolSize) {
    return {"VAVEZ - Simulation Pool Size MisMatch",
            "A simulation size must match original Pool Size.\r\nOne of the simulated sizes should be " +
                ShortestDecimal(poolSize),
            MessageIcon::Exclamation};
}

std::string SimulationSizeMismatchLine(double poolSize) {
    // Appended rather than replaced in place, which GCC 12 warns on falsely.
    const std::string message = SimulationSizeMismatch(poolSize).Text;
    const std::size_t lineBreak = std::min(message.find("\r\n"), message.size());
    std::string line(message, 0, lineBreak);
    if (lineBreak < message.size()) line.append(" ").append(message, lineBreak + 2, std::string::npos);
    return line;
}

}  // namespace kov
