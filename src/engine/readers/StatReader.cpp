// The statistics report: environment line, header line, then pool lines
// (code "BPS") each followed by its object lines (code "BPD").

#include "common/TextMatch.h"
#include "readers/FieldParsing.h"
#include "readers/ReportReader.h"

namespace kov {

void ReportReader::ReadStatDataFile() {
    readingStats_ = true;
    StatsStop = {};
    try {
        const ReportFileKind kind = OpenStatisticsFile();
        if (kind == ReportFileKind::Consolidated)
            ReadConsolidatedFile();
        else if (kind == ReportFileKind::Simulation)
            RefuseWrongPlace("Read Stat Report Information", kind);
        else
            ReadStatFile();
    } catch (const std::exception& failure) {
        RunTimeFailure("Read Stat Data File", failure);
    }
    readingStats_ = false;
}

void ReportReader::ReadStatFile() {
    try {
        if (!StartStatisticsPart(false)) return;
        StatLineState state;
        while (!lines_.AtEnd()) {
            if (!HandleStatLine(lines_.ReadReportLine(), state)) {
                AbandonFile();
                return;
            }
        }
        CloseObjectRange(state);
        lines_.Close();
        SetProgress(100);
        model_.StatsLoaded = true;
    } catch (const std::exception& failure) {
        RunTimeFailure("Read Stat File", failure);
    }
}

ReportFileKind ReportReader::OpenStatisticsFile() {
    lines_.Close();
    lines_.Open(model_.StatFileName);
    return IdentifyReport(lines_);
}

// False, with the file abandoned, when the environment or the header fails.
// A consolidated file first has its "*CHD" marker line.
bool ReportReader::StartStatisticsPart(bool markerLineFirst) {
    FileError = false;
    RecordError = false;
    if (!lines_.IsOpen()) lines_.Open(model_.StatFileName);
    lines_.Rewind();
    model_.ObjectCountersRead = objectCounters_;
    {
        const ProgressHeldBack opening(lines_);
        if (markerLineFirst && !lines_.AtEnd()) lines_.ReadReportLine();
        CheckEnvironment();
        if (!FileError) ReadHeader();
    }
    if (!FileError && !RecordError) return true;
    AbandonFile();
    return false;
}

// One line of the statistics part; false when a line failed and the read
// must stop.
bool ReportReader::HandleStatLine(std::string_view line, StatLineState& state) {
    if (CodeContains(line, "BPS")) {
        if (state.ObjectsSinceLastPool) {
            CloseObjectRange(state);
            state.ObjectsSinceLastPool = false;
        }
        ReadPoolLine(line);
        if (RecordError) return false;
        state.PoolJustRead = true;
    } else if (CodeContains(line, "BPD")) {
        ReadObjectLine(line);
        if (RecordError) return false;
        if (state.PoolJustRead) {
            model_.Pools(model_.PoolCount()).FirstObject = static_cast<std::int16_t>(model_.ObjectCount());
            state.PoolJustRead = false;
        }
        state.ObjectsSinceLastPool = true;
    }
    return true;
}

void ReportReader::CloseObjectRange(const StatLineState& state) {
    if (!state.ObjectsSinceLastPool) return;
    if (model_.PoolCount() == 0)
        throw std::runtime_error("object lines (BPD) come before the first pool line (BPS), so they belong to no pool");
    model_.Pools(model_.PoolCount()).LastObject = static_cast<std::int16_t>(model_.ObjectCount());
}

void ReportReader::ReadHeader() {
    context_ = {"Read Stat Report Information", true};
    lines_.ReadFieldNumber() = 0;
    const Layout& f = HeaderLayout();
    SystemInfo& s = model_.SysInfo;
    try {
        const std::string_view line = ReadLineOrFieldError(f[0], "the header line");
        FieldsInto(line, f, HeaderFields, s);
    } catch (const LineAbandoned&) {
    }
}

void ReportReader::ReadPoolLine(std::string_view line) {
    context_ = {"Read Stat Pool Information", true};
    lines_.ReadFieldNumber() = 0;
    const Layout& f = PoolLayout();
    try {
        PoolRecord* pool = nullptr;
        Field(line, f[0], [&](std::string_view text) {
            pool = &model_.Pools(model_.Pools.Add());
            pool->RecordTag.AssignTrimmed(text);
        });
        FieldsInto(line, f, PoolSettingFields, *pool);
        ActivityFields(line, pool->Activity, f, 9, ActivityCounters::All());
        FieldsInto(line, f, PoolThresholdFields, *pool);
        Field(line, f[50],
              [&](std::string_view text) { pool->DataSpace = ContainsIgnoringCase(text, "Data Space") ? "Y" : "N"; });
        TextField(line, f[51], pool->PoolMgt, false);
    } catch (const LineAbandoned&) {
    }
}

void ReportReader::ReadObjectLine(std::string_view line) {
    // Every failing field of an object line gets its own message.
    context_ = {"Read Stat Object Information", false};
    lines_.ReadFieldNumber() = 0;
    const Layout& f = ObjectLayout();
    try {
        ObjectRecord* object = nullptr;
        Field(line, f[0], [&](std::string_view text) {
            object = &model_.Objects(model_.Objects.Add());
            object->RecordTag.AssignTrimmed(text);
        });
        FieldsInto(line, f, ObjectFields, *object);
        ActivityFields(line, object->Activity, f, 5, objectCounters_, objectConversion_);
        Field(line, f[44], [&](std::string_view text) {
            if (!object->LongName.AssignTrimmed(text)) object->LongName = object->ObjectName.Trimmed();
        });
    } catch (const LineAbandoned&) {
    }
}

}  // namespace kov
