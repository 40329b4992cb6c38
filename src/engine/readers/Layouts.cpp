#include "readers/Layouts.h"

namespace kov {

namespace {

void AppendActivityBlock(Layout& layout, int blockStart) {
    for (int p = 1; p <= 40; ++p) layout.push_back({ActivityColumn(blockStart, p), ActivityWidth(p)});
}

Layout MakeHeaderLayout() {
    return {{5, 16},  {21, 8},  {29, 8},  {37, 4},   {41, 4},   {45, 10},  {55, 8},   {63, 4},  {67, 5},
            {72, 10}, {82, 10}, {92, 10}, {102, 10}, {112, 10}, {122, 10}, {132, 10}, {142, 8}, {166, 4}};
}

Layout MakePoolLayout() {
    Layout layout{{5, 16}, {21, 8}, {29, 5}, {34, 10}, {44, 6}, {50, 10}, {60, 6}, {66, 1}};
    AppendActivityBlock(layout, PoolActivityStart);
    layout.insert(layout.end(), {{459, 6}, {465, 6}, {471, 10}, {487, 4}});
    return layout;
}

Layout MakeObjectLayout() {
    Layout layout{{5, 16}, {21, 8}, {29, 1}, {30, 27}};
    AppendActivityBlock(layout, ObjectActivityStart);
    layout.push_back({457, 36});
    return layout;
}

}  // namespace

const Layout& HeaderLayout() {
    static const Layout layout = MakeHeaderLayout();
    return layout;
}
const Layout& PoolLayout() {
    static const Layout layout = MakePoolLayout();
    return layout;
}
const Layout& ObjectLayout() {
    static const Layout layout = MakeObjectLayout();
    return layout;
}

const SimHeaderLayout& SimHeader() {
    static const SimHeaderLayout layout{
        {{5, 16}, {21, 4}, {25, 4}, {29, 10}, {39, 8}, {47, 4}, {51, 6}, {57, 5}, {62, 6}, {68, 6}}};
    return layout;
}

}  // namespace kov
