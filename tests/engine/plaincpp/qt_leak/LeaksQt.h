#pragma once
// A header the plain C++ check must refuse (see tests/CMakeLists.txt).
#include <QString>
