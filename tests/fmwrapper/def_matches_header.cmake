# The runtime's export list names exactly the operations its header declares:
# the Windows module's import library is made from the list while the
# plug-in compiles against the header, so a name in one and not the other
# is a missing import or an export no host has.
#   cmake -DHEADER=FMWrapper.h -DDEF=FMWrapper.def -P def_matches_header.cmake
file(READ "${HEADER}" header)
string(REGEX MATCHALL "FMX_API [^;(]*[ *]FM_[A-Za-z0-9_]+\\(" declarations "${header}")
set(declared)
foreach(declaration IN LISTS declarations)
  string(REGEX REPLACE ".*[ *](FM_[A-Za-z0-9_]+)\\($" "\\1" name "${declaration}")
  list(APPEND declared ${name})
endforeach()

file(STRINGS "${DEF}" lines)
set(exported)
set(in_exports OFF)
foreach(line IN LISTS lines)
  string(STRIP "${line}" line)
  if(line MATCHES "^;" OR line STREQUAL "")
    continue()
  elseif(line STREQUAL "EXPORTS")
    set(in_exports ON)
  elseif(in_exports)
    list(APPEND exported ${line})
  endif()
endforeach()

list(SORT declared)
list(SORT exported)
list(LENGTH declared count)
if(count LESS 20)
  message(FATAL_ERROR "found only ${count} operations in ${HEADER}: the pattern no longer fits the header")
endif()
if(NOT declared STREQUAL exported)
  set(only_declared ${declared})
  list(REMOVE_ITEM only_declared ${exported})
  set(only_exported ${exported})
  list(REMOVE_ITEM only_exported ${declared})
  message(FATAL_ERROR "FMWrapper.def and FMWrapper.h differ\n"
                      "  declared, not exported: ${only_declared}\n  exported, not declared: ${only_exported}")
endif()
message(STATUS "${count} operations, declared and exported alike")
