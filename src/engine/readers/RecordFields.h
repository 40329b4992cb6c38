#pragma once
// Which record member each field of a report line fills, by the field's
// index in its Layout or by its place. The readers parse into these members
// and the writer writes them, so the mapping of a line type is written once.
// Fields that need more than a conversion (a record tag that starts a new
// record, the activity block, the "Data Space" flag, a long name that falls
// back to the short one, the simulation header's size labels) are handled
// beside the tables.

#include <cstddef>
#include <tuple>
#include <type_traits>
#include <utility>

#include "model/Records.h"
#include "readers/Layouts.h"

namespace kov {

// Field `Index` of a line's Layout fills `Member`.
template <typename Record, typename Type>
struct FieldMember {
    std::size_t Index;
    Type Record::*Member;
};

// Calls visit(index, member pointer) for each field of the table, in order.
template <typename Table, typename Visit>
constexpr void ForEachField(const Table& table, Visit&& visit) {
    std::apply([&](const auto&... field) { (visit(field.Index, field.Member), ...); }, table);
}

// The statistics header line: every field, in column order (HeaderValue112
// is stored after HeaderValue122 but comes first on the line).
inline constexpr std::tuple HeaderFields{
    FieldMember<SystemInfo, FixedText<16>>{0, &SystemInfo::RecordTag},
    FieldMember<SystemInfo, FixedText<8>>{1, &SystemInfo::HeaderText21},
    FieldMember<SystemInfo, FixedText<8>>{2, &SystemInfo::HeaderText29},
    FieldMember<SystemInfo, FixedText<4>>{3, &SystemInfo::System},
    FieldMember<SystemInfo, FixedText<4>>{4, &SystemInfo::SubSystem},
    FieldMember<SystemInfo, FixedText<10>>{5, &SystemInfo::CollectionDate},
    FieldMember<SystemInfo, FixedText<8>>{6, &SystemInfo::CollectionTime},
    FieldMember<SystemInfo, FixedText<4>>{7, &SystemInfo::DB2Version},
    FieldMember<SystemInfo, std::int16_t>{8, &SystemInfo::PoolsReported},
    FieldMember<SystemInfo, std::int16_t>{9, &SystemInfo::HeaderValue72},
    FieldMember<SystemInfo, std::int32_t>{10, &SystemInfo::HeaderValue82},
    FieldMember<SystemInfo, std::int32_t>{11, &SystemInfo::HeaderValue92},
    FieldMember<SystemInfo, std::int32_t>{12, &SystemInfo::HeaderValue102},
    FieldMember<SystemInfo, std::int32_t>{13, &SystemInfo::HeaderValue112},
    FieldMember<SystemInfo, std::int32_t>{14, &SystemInfo::HeaderValue122},
    FieldMember<SystemInfo, std::int32_t>{15, &SystemInfo::HeaderValue132},
    FieldMember<SystemInfo, FixedText<8>>{16, &SystemInfo::ElapsedTime},
    FieldMember<SystemInfo, FixedText<4>>{17, &SystemInfo::DSGroup},
};

// A pool line before its activity block (after the record tag) ...
inline constexpr std::tuple PoolSettingFields{
    FieldMember<PoolRecord, FixedText<8>>{1, &PoolRecord::PoolName},
    FieldMember<PoolRecord, double>{2, &PoolRecord::PoolValue29},
    FieldMember<PoolRecord, std::int32_t>{3, &PoolRecord::VPSize},
    FieldMember<PoolRecord, std::int32_t>{4, &PoolRecord::VPSEQT},
    FieldMember<PoolRecord, std::int32_t>{5, &PoolRecord::HPSize},
    FieldMember<PoolRecord, std::int32_t>{6, &PoolRecord::HPSEQT},
    FieldMember<PoolRecord, FixedText<1>>{7, &PoolRecord::CastOut},
};
// ... and after it.
inline constexpr std::tuple PoolThresholdFields{
    FieldMember<PoolRecord, double>{48, &PoolRecord::DWQT},
    FieldMember<PoolRecord, double>{49, &PoolRecord::VDWQT},
};

// An object line between its record tag and its activity block.
inline constexpr std::tuple ObjectFields{
    FieldMember<ObjectRecord, FixedText<8>>{1, &ObjectRecord::PoolName},
    FieldMember<ObjectRecord, FixedText<1>>{2, &ObjectRecord::ObjectType},
    FieldMember<ObjectRecord, FixedText<27>>{3, &ObjectRecord::ObjectName},
};

// The fixed part of a simulation header line after its record tag.
inline constexpr std::tuple SimHeaderFields{
    FieldMember<SimulationRecord, FixedText<4>>{1, &SimulationRecord::SimText21},
    FieldMember<SimulationRecord, FixedText<4>>{2, &SimulationRecord::SimText25},
    FieldMember<SimulationRecord, FixedText<10>>{3, &SimulationRecord::CollectionDate},
    FieldMember<SimulationRecord, FixedText<8>>{4, &SimulationRecord::CollectionTime},
    FieldMember<SimulationRecord, FixedText<4>>{5, &SimulationRecord::DB2Version},
    FieldMember<SimulationRecord, FixedText<6>>{6, &SimulationRecord::PoolName},
    FieldMember<SimulationRecord, std::int16_t>{7, &SimulationRecord::SizeCount},
    FieldMember<SimulationRecord, double>{8, &SimulationRecord::SimValue62},
    FieldMember<SimulationRecord, double>{9, &SimulationRecord::SimValue68},
};

// Detail `D` (1..8) of every size point of a simulation line fills element
// p, the point, of the array `Member`. The detail is a compile-time constant
// so that the reader's straight conversion of a sound line knows each
// column's width.
template <int D, auto M>
struct PointMember {
    static constexpr int Detail = D;
    static constexpr auto Member = M;
};

// Calls visit(field) for each entry of a table whose entries carry their
// place and member in their type (PointMember, SpanMember,
// HeaderPointMember), in order; the visitor reads decltype(field).
template <typename Table, typename Visit>
constexpr void ForEachPointField(const Table& table, Visit&& visit) {
    std::apply([&](const auto&... field) { (visit(field), ...); }, table);
}

// Whether the member a typed field names is a number (else a text).
template <typename Field, typename Record>
inline constexpr bool FillsNumber =
    std::is_arithmetic_v<std::remove_reference_t<decltype(std::declval<Record&>().*Field::Member)>>;

// A field at a place its line type fixes fills `Member`. The place is a
// compile-time constant, so the reader's straight conversion of a sound
// line knows the column's width.
template <FieldSpan S, auto M>
struct SpanMember {
    static constexpr FieldSpan Span = S;
    static constexpr auto Member = M;
};

// The simulation object line before its size points, in column order.
inline constexpr std::tuple SimObjectFields{
    SpanMember<SimLineLayout::RecordTag, &SimObjectRecord::RecordTag>{},
    SpanMember<SimLineLayout::IncludeFlag, &SimObjectRecord::IncludeFlag>{},
    SpanMember<SimLineLayout::ObjectName, &SimObjectRecord::ObjectName>{},
    SpanMember<SimLineLayout::SimValue49, &SimObjectRecord::SimValue49>{},
    SpanMember<SimLineLayout::SimValue59, &SimObjectRecord::SimValue59>{},
};

// A field of size point i of the simulation header, at SpanOf(i), fills
// element i of the array `Member`.
template <FieldSpan (*SpanOf)(int), auto M>
struct HeaderPointMember {
    static FieldSpan Span(int point) { return SpanOf(point); }
    static constexpr auto Member = M;
};

// Each size point of the simulation header: its simulated VP and HP sizes.
inline constexpr std::tuple SimHeaderPointFields{
    HeaderPointMember<&SimHeaderLayout::VPSize, &SimulationRecord::SimVPSize>{},
    HeaderPointMember<&SimHeaderLayout::HPSize, &SimulationRecord::SimHPSize>{},
};

// Each size point of a simulation object line, in column order.
inline constexpr std::tuple SimObjectPointFields{
    PointMember<1, &SimObjectRecord::Detail1>{}, PointMember<2, &SimObjectRecord::Detail2>{},
    PointMember<3, &SimObjectRecord::Detail3>{}, PointMember<4, &SimObjectRecord::Detail4>{},
    PointMember<5, &SimObjectRecord::Detail5>{}, PointMember<6, &SimObjectRecord::Detail6>{},
    PointMember<7, &SimObjectRecord::Detail7>{}, PointMember<8, &SimObjectRecord::Detail8>{},
};

// Each size point of the simulation pool line ("POOL TOTAL"). Its details 4
// to 6 are not kept: the writer writes them as 0. The reader takes detail 1
// together with the point's simulated pool size.
inline constexpr std::tuple SimPoolPointFields{
    PointMember<1, &PoolSimRecord::Detail1>{}, PointMember<2, &PoolSimRecord::Detail2>{},
    PointMember<3, &PoolSimRecord::Detail3>{}, PointMember<7, &PoolSimRecord::Detail7>{},
    PointMember<8, &PoolSimRecord::Detail8>{},
};

}  // namespace kov
