#pragma once
// Field conversion shared by the statistics and simulation line parsers
// (private to the readers).

#include "common/NumberField.h"
#include "readers/RecordFields.h"
#include "readers/ReportReader.h"

namespace kov {

template <typename Assign>
void ReportReader::Field(std::string_view line, const FieldSpan& span, Assign&& assign) {
    ++lines_.ReadFieldNumber();
    try {
        assign(span.In(line));
    } catch (const FieldError& error) {
        ReportFieldError(error.what(), span.Start, lines_.ReadLineNumber());
        if (context_.StopAtFirstError) throw LineAbandoned{};
    } catch (const CapacityError& error) {
        // A full table: nothing of this line has anywhere to go.
        ReportFieldError(error.what(), span.Start, lines_.ReadLineNumber());
        throw LineAbandoned{};
    }
}

template <typename Table, typename Record>
void ReportReader::FieldsInto(std::string_view line, const Layout& layout, const Table& table, Record& record) {
    ForEachField(table, [&](std::size_t index, auto member) { FieldInto(line, layout[index], record.*member); });
}

// Any text is a value, so a text field cannot fail: it is counted and taken
// without Field's error handling, which every object line would pay for.
template <std::size_t N>
void ReportReader::TextField(std::string_view line, const FieldSpan& span, FixedText<N>& target, bool trim) {
    ++lines_.ReadFieldNumber();
    const std::string_view text = span.In(line);
    if (trim)
        target.AssignTrimmed(text);
    else
        target = text;
}

}  // namespace kov
