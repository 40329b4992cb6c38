# Fails when a plain C++ target would pull in Qt: a source under one of the
# given folders includes a Qt header, or a given link list names Qt.
#
#   cmake -DSOURCE_DIRS="dir|dir" -DLINKS="lib|lib" -P CheckPlainCpp.cmake
#
# The link lists come from generator expressions, so they are the targets'
# final lists, whatever was added to them after they were declared.

string(REPLACE "|" ";" SOURCE_DIRS "${SOURCE_DIRS}")
string(REPLACE "|" ";" LINKS "${LINKS}")
set(offences "")
foreach(dir IN LISTS SOURCE_DIRS)
  file(GLOB_RECURSE sources "${dir}/*.h" "${dir}/*.hpp" "${dir}/*.cpp")
  foreach(source IN LISTS sources)
    file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](Q[A-Za-z]|Qt)")
    foreach(line IN LISTS includes)
      string(STRIP "${line}" line)
      list(APPEND offences "${source}: ${line}")
    endforeach()
  endforeach()
endforeach()

foreach(lib IN LISTS LINKS)
  if(lib MATCHES "Qt")
    list(APPEND offences "links ${lib}")
  endif()
endforeach()

if(offences)
  list(JOIN offences "\n  " text)
  message(FATAL_ERROR "Qt found where only plain C++ belongs:\n  ${text}")
endif()
message(STATUS "plain C++: no Qt header included, no Qt library linked")
