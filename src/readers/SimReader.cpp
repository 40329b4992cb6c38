// Simulation reports: one pool replayed at a series of simulated sizes. A
// report is accepted only against the loaded statistics of the same
// collection, and its results are attached to the pool's and the objects'
// simulation slots.

#include <algorithm>

#include "common/NumberText.h"
#include "common/TextMatch.h"
#include "readers/FieldParsing.h"
#include "readers/ReportReader.h"

namespace kov {

namespace {

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && FindIgnoringCase(a, b) == 0;
}

constexpr const char* kHeaderLineKind = "the simulation header line (*BPP)";

}  // namespace

void ReportReader::ReadSimFile(const std::string& path) {
    const int simNo = model_.SimulationCount;
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
        lines_.Open(trimmedPath);
        lines_.ResetReadCounters();
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
    if (model_.FindPool(sim.PoolName.Padded()) != 0) {
        PoolRecord& pool = model_.Pools(model_.CurrentPool);
        pool.SimSlot(pool.SimCount + 1).SimulationNo = static_cast<std::int16_t>(simNo);
        ++pool.SimCount;
    }
    ReadSimPoolLine(simNo);
    if (FileError || RecordError) return false;
    IndexPoolObjects();
    return true;
}

void ReportReader::ReadSimLines(int simNo) {
    while (!lines_.AtEnd())
        if (!HandleSimLine(lines_.ReadReportLine(), simNo)) return;
}

// One line after the pool line; false when the read must stop.
bool ReportReader::HandleSimLine(std::string_view line, int simNo) {
    if (CodeContains(line, "BPS")) {
        ReadSimObjectLine(line, simNo);
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
    try {
        std::string_view line = ReadLineOrFieldError(f[0], kHeaderLineKind);
        const bool includeFlagged = ScanIncludeLines(line);
        SimulationRecord* sim = nullptr;
        Field(line, f[0], [&](std::string_view text) {
            model_.Simulations.GrowTo(simNo);
            sim = &model_.Simulations(simNo);
            sim->RecordTag = TrimBlanks(text);
        });
        TextField(line, f[1], sim->SimText21);
        TextField(line, f[2], sim->SimText25);
        TextField(line, f[3], sim->CollectionDate);
        TextField(line, f[4], sim->CollectionTime);
        TextField(line, f[5], sim->DB2Version);
        TextField(line, f[6], sim->PoolName);
        NumberField(line, f[7], sim->SizeCount);
        NumberField(line, f[8], sim->SimValue62);
        NumberField(line, f[9], sim->SimValue68);

        // Older collectors declare fewer points than they write.
        int n = std::max<int>(sim->SizeCount, 8);
        if (sim->DB2Version.Trimmed() == "7.1" && n >= 9) n = 8;
        if (sim->DB2Version.Trimmed() == "8.1" && n < 16) n = 16;
        sim->SizeCount = static_cast<std::int16_t>(n);
        simLayout_.Points = std::min(n, MaxSizes);

        for (int i = 1; i <= n; ++i) {
            if (i > MaxSizes) {
                Field(line, SimHeaderLayout::VPSize(i), [&](std::string_view) {
                    throw FieldError("the header declares " + std::to_string(n) + " size points; a simulation holds at most " +
                                     std::to_string(MaxSizes));
                });
            }
            NumberField(line, SimHeaderLayout::VPSize(i), sim->SimVPSize[static_cast<std::size_t>(i)]);
            NumberField(line, SimHeaderLayout::HPSize(i), sim->SimHPSize[static_cast<std::size_t>(i)]);
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

void ReportReader::ReadSimPoolLine(int simNo) {
    context_ = {"Read Simulation Buffer Pool Information", true};
    lines_.ReadFieldNumber() = 0;
    try {
        const std::string_view line = ReadLineOrFieldError(simLayout_.Group1(1, 1), "the simulation pool line");
        SimulationRecord& sim = model_.Simulations(simNo);
        if (model_.CurrentPool == 0) {
            Show("KOV for DB2",
                 sim.PoolName.PaddedString() + "Not found in data file. Can not process simulation data.",
                 MessageIcon::Critical);
            RecordError = true;
            return;
        }
        PoolRecord& pool = model_.Pools(model_.CurrentPool);
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
            const long long size = static_cast<long long>(sim.SimVPSize[p]) + sim.SimHPSize[p];
            Field(line, simLayout_.Group1(i, 1), [&](std::string_view text) {
                if (size > INT32_MAX || size < INT32_MIN)
                    throw FieldError("the simulated size of point " + std::to_string(i) + " is too large");
                slot->SimPoolSize[p] = static_cast<std::int32_t>(size);
                slot->Detail1[p] = static_cast<std::int32_t>(ParseNumberField(text, NumberKind::Int32, lines_.DecimalComma));
            });
            NumberField(line, simLayout_.Group1(i, 2), slot->Detail2[p]);
            NumberField(line, simLayout_.Group1(i, 3), slot->Detail3[p]);
            NumberField(line, simLayout_.Group2(i, 7), slot->Detail7[p]);
            NumberField(line, simLayout_.Group2(i, 8), slot->Detail8[p]);
        }

        const double poolSize = static_cast<double>(pool.VPSize) + pool.HPSize;
        bool sizeMatches = false;
        for (int j = 1; j <= n; ++j) sizeMatches = sizeMatches || slot->SimPoolSize[static_cast<std::size_t>(j)] == poolSize;

        // Unused trailing points are written as pairs of zero sizes.
        for (int k = 1; k <= n; k += 2) {
            if (slot->SimPoolSize[static_cast<std::size_t>(k)] + slot->SimPoolSize[static_cast<std::size_t>(k + 1)] == 0) {
                sim.SizeCount = static_cast<std::int16_t>(k - 1);
                break;
            }
        }
        if (!sizeMatches)
            Show("VAVEZ - Simulation Pool Size MisMatch",
                 "A simulation size must match original Pool Size.\r\nOne of the simulated sizes should be " +
                     ShortestDecimal(poolSize),
                 MessageIcon::Exclamation);
    } catch (const LineAbandoned&) {
    }
}

void ReportReader::IndexPoolObjects() {
    poolObjectIndex_.clear();
    const PoolRecord& pool = model_.Pools(model_.CurrentPool);
    if (pool.FirstObject == 0) return;
    for (int o = pool.FirstObject; o <= pool.LastObject; ++o)
        poolObjectIndex_.emplace(model_.Objects(o).ObjectName.TrimmedString(), o);
}

void ReportReader::ReadSimObjectLine(std::string_view line, int simNo) {
    // A failing field abandons only the rest of its line.
    context_ = {"Read Simulation Object Information", true};
    lines_.ReadFieldNumber() = 0;
    try {
        const std::string name(TrimBlanks(SimLineLayout::ObjectName.In(line)));
        const PoolRecord& pool = model_.Pools(model_.CurrentPool);
        if (pool.FirstObject == 0) {
            Field(line, SimLineLayout::ObjectName, [&](std::string_view) {
                throw FieldError("pool " + pool.PoolName.TrimmedString() + " has no objects to hold simulation results");
            });
        }
        const auto found = poolObjectIndex_.find(name);
        if (found == poolObjectIndex_.end()) {
            Show("Reading Simulation Objects",
                 "Can not located object " + name + " in Buffer pool " + pool.PoolName.PaddedString(),
                 MessageIcon::Exclamation);
            return;
        }
        ObjectRecord& object = model_.Objects(found->second);
        if (object.SimCount() >= MaxSimulations) {
            Field(line, SimLineLayout::RecordTag, [&](std::string_view) {
                throw CapacityError("object " + name + " already holds " + std::to_string(MaxSimulations) +
                                    " simulation results");
            });
        }
        // Grow by whole steps up to the 25 slots an object can hold, so a
        // full set of simulations costs no more than it must.
        if (object.Sims.size() == object.Sims.capacity())
            object.Sims.reserve(std::min<std::size_t>(MaxSimulations, std::max<std::size_t>(4, object.Sims.size() * 2)));
        SimObjectRecord& slot = object.Sims.emplace_back();
        slot.SimulationNo = static_cast<std::int16_t>(simNo);
        slot.ObjectName = name;

        TextField(line, SimLineLayout::RecordTag, slot.RecordTag);
        TextField(line, SimLineLayout::IncludeFlag, slot.IncludeFlag);
        TextField(line, SimLineLayout::ObjectName, slot.ObjectName);
        NumberField(line, SimLineLayout::SimValue49, slot.SimValue49);
        NumberField(line, SimLineLayout::SimValue59, slot.SimValue59);
        const int n = model_.Simulations(simNo).SizeCount;
        for (int i = 1; i <= n; ++i) {
            const auto p = static_cast<std::size_t>(i);
            NumberField(line, simLayout_.Group1(i, 1), slot.Detail1[p]);
            NumberField(line, simLayout_.Group1(i, 2), slot.Detail2[p]);
            NumberField(line, simLayout_.Group1(i, 3), slot.Detail3[p]);
            NumberField(line, simLayout_.Group1(i, 4), slot.Detail4[p]);
            NumberField(line, simLayout_.Group1(i, 5), slot.Detail5[p]);
            NumberField(line, simLayout_.Group2(i, 6), slot.Detail6[p]);
            NumberField(line, simLayout_.Group2(i, 7), slot.Detail7[p]);
            NumberField(line, simLayout_.Group2(i, 8), slot.Detail8[p]);
        }
    } catch (const LineAbandoned&) {
    }
}

}  // namespace kov
