#include "readers/ReportReader.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

#include "common/ColumnNumber.h"
#include "common/NumberField.h"
#include "readers/ActivityConversion.h"
#include "readers/FieldParsing.h"

namespace kov {

std::string FieldErrorText(const std::string& description, int lineNumber, int fieldNumber, int column) {
    const auto quoted = [](const std::string& text) { return "\"" + text + "\""; };
    return std::string("Error information :") + '\t' + "Error Description : " + quoted(description) + '\t' +
           "Data Line         : " + quoted(std::to_string(lineNumber)) + '\t' +
           "Error in Field    : " + quoted(std::to_string(fieldNumber)) + '\t' +
           "Error at Index    : " + quoted(std::to_string(column)) + '\t';
}

ReportReader::ReportReader(ReportModel& model, MessageSink& sink, ProgressFn progress)
    : model_(model),
      sink_(sink),
      progress_(std::move(progress)),
      lines_([this](int percent) { SetProgress(percent); }) {}

void ReportReader::Show(std::string title, std::string text, MessageIcon icon) {
    NoteStatsStop(std::max(1, lines_.ReadLineNumber()), text);
    sink_.Show(Message{std::move(title), std::move(text), icon});
}

// Only the first failure of a statistics read counts: it is where the read
// stopped, and what the window's notice names.
void ReportReader::NoteStatsStop(int line, const std::string& reason) {
    if (!readingStats_ || model_.StatsLoaded || !StatsStop.Reason.empty()) return;
    StatsStop = {line, reason};
}

// The line reader reaches 100 on the last line and the end of a read sets 100
// again; the window redraws (and processes events) only on a change.
void ReportReader::SetProgress(int percent) {
    if (percent == lastPercent_) return;
    lastPercent_ = percent;
    if (progress_) progress_(percent);
}

void ReportReader::RunTimeFailure(const char* title, const std::exception& failure) {
    lines_.Close();
    // An overlong line is a field error of the step that was reading (its
    // first field, at the first column past the limit); nothing more is read.
    if (const auto* overlong = dynamic_cast<const OverlongLine*>(&failure)) {
        lines_.ReadFieldNumber() = 1;
        ReportFieldError(overlong->what(), static_cast<int>(ReportLineReader::MaxLineLength) + 1, overlong->LineNumber);
        return;
    }
    Show(title, failure.what(), MessageIcon::Information);
}

void ReportReader::RefuseWrongPlace(const char* title, ReportFileKind kind) {
    Show(title, WrongPlaceText(kind), MessageIcon::Exclamation);
    FileError = true;
}

void ReportReader::ReportFieldError(const std::string& description, int column, int lineNumber) {
    NoteStatsStop(lineNumber, description);
    Show(context_.Title, FieldErrorText(description, lineNumber, lines_.ReadFieldNumber(), column),
         MessageIcon::Exclamation);
    RecordError = true;
}

void ReportReader::NumberField(std::string_view line, const FieldSpan& span, std::int16_t& target) {
    Field(line, span, [&](std::string_view text) {
        target = static_cast<std::int16_t>(ParseNumberField(text, NumberKind::Int16, lines_.DecimalComma));
    });
}

void ReportReader::NumberField(std::string_view line, const FieldSpan& span, std::int32_t& target) {
    Field(line, span, [&](std::string_view text) {
        target = static_cast<std::int32_t>(ParseNumberField(text, NumberKind::Int32, lines_.DecimalComma));
    });
}

void ReportReader::NumberField(std::string_view line, const FieldSpan& span, double& target) {
    Field(line, span,
          [&](std::string_view text) { target = ParseNumberField(text, NumberKind::Double, lines_.DecimalComma); });
}

// A line the layout requires is missing: reported like a field that cannot be
// read, at the first field of the missing line.
std::string_view ReportReader::ReadLineOrFieldError(const FieldSpan& firstField, const char* lineKind) {
    if (!lines_.AtEnd()) return lines_.ReadReportLine();
    ++lines_.ReadFieldNumber();
    ReportFieldError(std::string("the file ends where ") + lineKind + " was expected", firstField.Start,
                     lines_.ReadLineNumber() + 1);
    throw LineAbandoned{};
}

namespace {

// All 40 positions in column order, so that a failing field leaves the same
// counters written as the walk by layout does.
template <int... P>
void ConvertActivityBlock(const char* block, bool decimalComma, ActivityBlock& b, std::integer_sequence<int, P...>) {
    (activity::Convert<P + 1, false>(block, decimalComma, b), ...);
}

}  // namespace

void ReportReader::ActivityFields(std::string_view line, ActivityBlock& block, const Layout& layout, int firstField,
                                  ActivityCounters chosen, ChosenConversion convertChosen) {
    const auto each = [&](auto&& convert) {
        for (int p = 1; p <= ActivityPositions; ++p) {
            const FieldSpan& span = layout[static_cast<std::size_t>(firstField - 1 + p - 1)];
            const ActivityFieldRef ref = ActivityField(block, p);
            convert(span, ref);
        }
    };
    // Nearly every counter block is sound: it is converted straight through,
    // and only a block with a field that does not convert is read again
    // field by field to count and report the failing one.
    const bool decimalComma = lines_.DecimalComma;
    const FieldSpan& first = layout[static_cast<std::size_t>(firstField - 1)];
    const FieldSpan& last = layout[static_cast<std::size_t>(firstField - 1 + ActivityPositions - 1)];
    try {
        if (line.size() >= static_cast<std::size_t>(last.End())) {
            // The whole block is in the line: each column at its fixed place
            // (a narrow column reads the two characters before it as well).
            static_assert(ActivityColumn(1, 1) == 1 && ActivityWidth(1) == 10);
            const char* text = line.data() + (first.Start - 1);
            constexpr auto positions = std::make_integer_sequence<int, ActivityPositions>{};
            const std::size_t readable = line.size() - static_cast<std::size_t>(first.Start - 1);
            if (convertChosen == nullptr)
                ConvertActivityBlock(text, decimalComma, block, positions);
            else
                convertChosen(text, readable, decimalComma, block);
            lines_.ReadFieldNumber() += ActivityPositions;
            return;
        }
        int p = 0;
        each([&](const FieldSpan& span, const ActivityFieldRef& ref) {
            if (ref.Real != nullptr)
                *ref.Real = ParseNumberField(span.In(line), NumberKind::Double, decimalComma);
            else
                *ref.Integer =
                    static_cast<std::int32_t>(ParseNumberField(span.In(line), NumberKind::Int32, decimalComma));
            if (!chosen.Has(++p)) MarkNotRead(ref);
        });
        lines_.ReadFieldNumber() += ActivityPositions;
        return;
    } catch (const FieldError&) {
    }
    each([&](const FieldSpan& span, const ActivityFieldRef& ref) {
        if (ref.Real != nullptr)
            NumberField(line, span, *ref.Real);
        else
            NumberField(line, span, *ref.Integer);
    });
}

void ReportReader::CheckEnvironment() {
    context_ = {"File IO", true};
    const std::string_view line = lines_.AtEnd() ? std::string_view{} : lines_.ReadReportLine();
    if (line.find("ENV") == std::string_view::npos) {
        Show("File IO", "Incorrect File Format, Use A Flat File", MessageIcon::Exclamation);
        FileError = true;
        return;
    }
    const std::string_view lastThree = line.size() >= 3 ? line.substr(line.size() - 3) : line;
    lines_.DecimalComma = lastThree.find("USA") == std::string_view::npos;
}

bool ReportReader::AddSimulationFile(const std::string& path) {
    ++model_.SimulationCount;
    ReadSimFile(path);
    // A refused 26th report leaves no entry behind.
    if (model_.SimulationCount > MaxSimulations) model_.SimulationCount = MaxSimulations;
    return !FileError;
}

}  // namespace kov
