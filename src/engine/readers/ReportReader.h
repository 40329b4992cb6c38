#pragma once
// Reads statistics reports, simulation reports and consolidated data files
// into a ReportModel. Every failure the user must hear of goes to the message
// sink with the title and icon the DBA knows from the host tool's analyser;
// nothing here shows a window or throws past its entry points.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/Message.h"
#include "model/ReportModel.h"
#include "readers/Layouts.h"
#include "readers/ReportFileKind.h"
#include "readers/ReportLineReader.h"

namespace kov {

namespace activity {
// Defined in readers/ActivityConversion.h, which a caller of
// ChooseObjectCounters<Chosen>() includes; the reader's other users need
// not compile the column conversions.
template <const ActivityCounters& Chosen>
void ConvertChosen(const char* block, std::size_t readable, bool decimalComma, ActivityBlock& b);
}  // namespace activity

class ReportReader {
public:
    ReportReader(ReportModel& model, MessageSink& sink, ProgressFn progress = {});

    // The statistics report named by model.StatFileName: a consolidated data
    // file (first line "*CHD") or a plain statistics report. The caller has
    // cleared the model first.
    void ReadStatDataFile();
    void ReadStatFile();
    void ReadConsolidatedFile();

    // One simulation report read as simulation number SimulationCount (the
    // caller has already counted it).
    void ReadSimFile(const std::string& path);
    // What choosing one more simulation file does: count it, then read it.
    // Returns false when the read ended with a file-level error.
    bool AddSimulationFile(const std::string& path);

    // File-level error of the last read (wrong format, wrong collection,
    // refused file) and line-level error (a field could not be read).
    bool FileError = false;
    bool RecordError = false;

    // The object counters the statistics reads convert: all unless a
    // purpose needs fewer (the trend). The others are still checked, so a
    // report fails to read, with the same messages, whatever is chosen. The
    // choice is fixed at compile time, and the block's conversion built for
    // it (readers/ActivityConversion.h).
    template <const ActivityCounters& Chosen>
    void ChooseObjectCounters() {
        objectCounters_ = Chosen;
        objectConversion_ = &activity::ConvertChosen<Chosen>;
    }

    // Where and why the last statistics read stopped: its first failure
    // (line 1 for one met before any line was read). Empty when it was read
    // to its end.
    struct ReadStop {
        int Line = 0;
        std::string Reason;
    };
    ReadStop StatsStop;

    const ReportLineReader& Lines() const { return lines_; }

    // The steps, public so that each can be exercised on its own.
    // Opens the model's statistics file and tells its kind, the lines left
    // at its start; throws std::runtime_error when it cannot be opened.
    ReportFileKind OpenStatisticsFile();
    // Reads the environment and header from the start of the statistics
    // file, opened afresh unless it is open already.
    bool StartStatisticsPart(bool markerLineFirst);
    void CheckEnvironment();
    void ReadHeader();
    void ReadPoolLine(std::string_view line);
    void ReadObjectLine(std::string_view line);
    void ReadSimHeader(int simNo);
    // poolNo: the statistics pool the simulation belongs to (0 when none).
    void ReadSimPoolLine(int simNo, int poolNo);
    void ReadSimObjectLine(std::string_view line, int simNo, int poolNo);

private:
    struct StatLineState {
        bool PoolJustRead = false;
        bool ObjectsSinceLastPool = false;
    };
    // How a line parser treats a failing field: the message title, and
    // whether the rest of the line is abandoned or still read.
    struct ParserContext {
        const char* Title = "";
        bool StopAtFirstError = true;
    };
    struct LineAbandoned {};
    bool readingStats_ = false;  // a statistics read is under way: its first failure is noted
    ActivityCounters objectCounters_ = ActivityCounters::All();
    // A whole block's conversion built for objectCounters_; none for all.
    using ChosenConversion = void (*)(const char* block, std::size_t readable, bool decimalComma, ActivityBlock& b);
    ChosenConversion objectConversion_ = nullptr;

    void Show(std::string title, std::string text, MessageIcon icon);
    void NoteStatsStop(int line, const std::string& reason);
    void SetProgress(int percent);
    // A read that stops early: the file is closed and the progress bar empties.
    void AbandonFile() {
        lines_.Close();
        SetProgress(0);
    }
    void RunTimeFailure(const char* title, const std::exception& failure);
    // A report of another kind chosen in this place: said so under the title
    // of the step that would have failed on it.
    void RefuseWrongPlace(const char* title, ReportFileKind kind);

    // Field parsing: counts the field, converts it, and on failure shows the
    // five-part field-error message and sets RecordError.
    template <typename Assign>
    void Field(std::string_view line, const FieldSpan& span, Assign&& assign);
    template <std::size_t N>
    void TextField(std::string_view line, const FieldSpan& span, FixedText<N>& target, bool trim = true);
    void NumberField(std::string_view line, const FieldSpan& span, std::int16_t& target);
    void NumberField(std::string_view line, const FieldSpan& span, std::int32_t& target);
    void NumberField(std::string_view line, const FieldSpan& span, double& target);
    // A text or number member, by its type.
    template <std::size_t N>
    void FieldInto(std::string_view line, const FieldSpan& span, FixedText<N>& target) {
        TextField(line, span, target);
    }
    template <typename Value>
    void FieldInto(std::string_view line, const FieldSpan& span, Value& target) {
        NumberField(line, span, target);
    }
    // The fields of a table of RecordFields.h into their members of `record`.
    template <typename Table, typename Record>
    void FieldsInto(std::string_view line, const Layout& layout, const Table& table, Record& record);
    void ReportFieldError(const std::string& description, int column, int lineNumber);
    std::string_view ReadLineOrFieldError(const FieldSpan& firstField, const char* lineKind);
    // The 40 counters of a pool or object line; those not `chosen` are
    // checked exactly as a conversion would check them, then marked NotRead.
    // `convertChosen`: the block's conversion built for `chosen`; none when
    // all are chosen.
    void ActivityFields(std::string_view line, ActivityBlock& block, const Layout& layout, int firstField,
                        ActivityCounters chosen, ChosenConversion convertChosen = nullptr);

    bool HandleStatLine(std::string_view line, StatLineState& state);
    void CloseObjectRange(const StatLineState& state);
    bool ScanIncludeLines(std::string_view& line);
    bool AttachSimulation(int simNo, const std::string& fileName);
    void ReadSimLines(int simNo);
    bool ReadPart(const std::function<bool(std::string_view)>& handle, std::string& partEnd);
    bool HandleSimLine(std::string_view line, int simNo);
    void IndexPoolObjects(int poolNo);
    int FindPoolObject(std::string_view name);
    void ForgetPoolObjects();
    // The index holds views of the model's object names, so it must not
    // outlive the read that built it: the model may be cleared after it.
    struct PoolObjectsForgotten {
        explicit PoolObjectsForgotten(ReportReader& reader) : Reader(reader) {}
        ~PoolObjectsForgotten() { Reader.ForgetPoolObjects(); }
        PoolObjectsForgotten(const PoolObjectsForgotten&) = delete;
        PoolObjectsForgotten& operator=(const PoolObjectsForgotten&) = delete;
        ReportReader& Reader;
    };

    ReportModel& model_;
    MessageSink& sink_;
    ProgressFn progress_;
    int lastPercent_ = -1;  // last percentage handed to progress_
    ReportLineReader lines_;
    ParserContext context_;
    SimLineLayout simLayout_;
    // The pool of the simulation being read: the reader's own cursor, so a
    // read never moves the pool the window shows.
    int simPool_ = 0;
    // Trimmed object name -> object number, for the pool a simulation is
    // being attached to (the first object of a name wins). The names are
    // views of the objects' own names, which stay in place while a
    // simulation is read; every read builds the index anew.
    std::unordered_map<std::string_view, int> poolObjectIndex_;
    // Per object of that pool from indexedFirstObject_: whether the index
    // gives it for its name.
    std::vector<bool> poolObjectFirstOfName_;
    int indexedFirstObject_ = 0;
    int nextObject_ = 0;  // the object the next object line most likely names
};

// "Error information :<TAB>Error Description : "..."<TAB>..." exactly as the
// DBA's field-error box reads.
std::string FieldErrorText(const std::string& description, int lineNumber, int fieldNumber, int column);

// The warning for a simulation none of whose sizes is the pool's own VP + HP
// size: the simulation stays loaded, but its curves do not pass through the
// pool as measured. The data checks repeat it.
Message SimulationSizeMismatch(double poolSize);
// The same text on one line, for a finding or a skipped pool's reason.
std::string SimulationSizeMismatchLine(double poolSize);

}  // namespace kov
