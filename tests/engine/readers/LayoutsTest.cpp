// The column layouts are the contract with the host collection tool. The
// round trip cannot catch a wrong column (writer and readers share these
// tables), so the statistics columns are pinned here; the simulation point
// columns are pinned by the simulation reader's field-error cases, and the
// columns the statistics reader's field-error cases name are pinned there.

#include <gtest/gtest.h>

#include "readers/Layouts.h"

namespace kov {
namespace {

TEST(Layouts, FieldOrdinalsSitAtTheReportColumns) {
    const struct {
        const char* what;
        const Layout& layout;
        int field;  // 1-based: the "Error in Field" number
        int start;
        int length;
    } cases[] = {
        {"header RecordTag", HeaderLayout(), 1, 5, 16},
        {"header CollectionDate", HeaderLayout(), 6, 45, 10},
        {"header HeaderValue122", HeaderLayout(), 15, 122, 10},
        {"header ElapsedTime", HeaderLayout(), 17, 142, 8},
        {"header DSGroup", HeaderLayout(), 18, 166, 4},
        {"pool PoolName", PoolLayout(), 2, 21, 8},
        {"pool VPSEQT", PoolLayout(), 5, 44, 6},
        {"pool HPSize", PoolLayout(), 6, 50, 10},
        {"pool CastOut", PoolLayout(), 8, 66, 1},
        {"pool GetPages", PoolLayout(), 9, 67, 10},
        {"pool AppHitRatio", PoolLayout(), 17, 147, 6},
        {"pool Activity11", PoolLayout(), 19, 159, 10},
        {"pool Activity40", PoolLayout(), 48, 449, 10},
        {"pool DWQT", PoolLayout(), 49, 459, 6},
        {"pool VDWQT", PoolLayout(), 50, 465, 6},
        {"object ObjectType", ObjectLayout(), 3, 29, 1},
        {"object ObjectName", ObjectLayout(), 4, 30, 27},
        {"object GetPages", ObjectLayout(), 5, 57, 10},
        {"object SysHitRatio", ObjectLayout(), 14, 143, 6},
        {"object Activity11", ObjectLayout(), 15, 149, 10},
        {"object Activity40", ObjectLayout(), 44, 439, 10},
        {"simulation SimValue68", SimHeader().Fixed, 10, 68, 6},
    };
    EXPECT_EQ(HeaderLayout().size(), 18u);
    EXPECT_EQ(PoolLayout().size(), 52u);
    EXPECT_EQ(ObjectLayout().size(), 45u);
    EXPECT_EQ(SimHeader().Fixed.size(), 10u);
    for (const auto& c : cases) {
        const FieldSpan& span = c.layout.at(static_cast<std::size_t>(c.field - 1));
        EXPECT_EQ(span.Start, c.start) << c.what;
        EXPECT_EQ(span.Length, c.length) << c.what;
    }
}

}  // namespace
}  // namespace kov
