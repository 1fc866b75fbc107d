# Fails when a source file includes from a folder above its own, or from a folder its own has not
# been allowed to include. The folders of src/ from the bottom up (docs/architecture.md), each with
# the folders below it that it may include; main.cpp sits above them all. A new dependency between
# folders is a decision: add it here and to the table in docs/architecture.md.
cmake_policy(SET CMP0057 NEW) # IN_LIST in script mode
set(allowed
    "platform:"
    "settings: platform"
    "store:    platform settings"
    "schedule: platform settings store"
    "todo:     platform settings store schedule"
    "memo:     platform settings store"
    "alarm:    platform settings schedule"
    "calendar: platform settings store schedule todo memo"
    "exchange: platform settings store schedule todo calendar"
    "sync:     platform settings schedule todo calendar exchange"
    "lists:    platform settings store schedule todo memo calendar exchange"
    "print:    platform settings schedule todo calendar"
    "app:      platform settings schedule todo memo alarm calendar exchange sync lists print"
    "commands: platform settings schedule todo calendar exchange sync lists print")

# layers: the folders in order; may_<folder>: what it may include besides itself.
set(layers)
foreach(line IN LISTS allowed)
  string(REGEX MATCH "^[a-z_]+" folder "${line}")
  string(REGEX REPLACE "^[a-z_]+:[ ]*" "" below "${line}")
  separate_arguments(below UNIX_COMMAND "${below}")
  foreach(lower IN LISTS below)
    if(NOT lower IN_LIST layers)
      message(FATAL_ERROR "CheckLayers.cmake: ${folder} may include ${lower}, which is not below it")
    endif()
  endforeach()
  list(APPEND layers ${folder})
  set(may_${folder} ${below})
endforeach()

file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.cpp ${SOURCE_DIR}/*.h ${SOURCE_DIR}/*.inc)
list(REMOVE_ITEM sources main.cpp)
set(upward)
set(unlisted)
foreach(source IN LISTS sources)
  string(REGEX MATCH "^[^/]+" folder ${source})
  list(FIND layers ${folder} rank)
  file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[A-Za-z_]+/")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([A-Za-z_]+)/.*" "\\1" target "${line}")
    list(FIND layers ${target} targetRank)
    if(rank EQUAL -1 OR targetRank EQUAL -1 OR targetRank GREATER rank)
      list(APPEND upward "${source}: ${line}")
    elseif(NOT target STREQUAL folder AND NOT target IN_LIST may_${folder})
      list(APPEND unlisted "${source}: ${line}")
    endif()
  endforeach()
endforeach()
set(report)
# The table of docs/architecture.md says the same: its last column lists what each folder may include.
if(DOC_FILE)
  file(STRINGS ${DOC_FILE} rows REGEX "^\\| `[a-z_]+/` \\|")
  set(documentedFolders)
  foreach(row IN LISTS rows)
    string(REGEX REPLACE "^\\| `([a-z_]+)/` \\|.*" "\\1" folder "${row}")
    list(APPEND documentedFolders ${folder})
    string(REGEX REPLACE ".*\\| ([^|]*) \\|$" "\\1" documented "${row}")
    string(REPLACE "nothing of Kalendra" "" documented "${documented}")
    string(REPLACE ", " ";" documented "${documented}")
    if(NOT folder IN_LIST layers OR NOT "${documented}" STREQUAL "${may_${folder}}")
      string(APPEND report "${DOC_FILE}: ${folder}/ may include \"${documented}\", here \"${may_${folder}}\"\n")
    endif()
  endforeach()
  if(NOT "${documentedFolders}" STREQUAL "${layers}")
    string(APPEND report "${DOC_FILE}: the table's folders \"${documentedFolders}\" are not \"${layers}\"\n")
  endif()
endif()
if(upward)
  string(REPLACE ";" "\n  " lines "${upward}")
  string(APPEND report "Includes that run up the layers:\n  ${lines}\n")
endif()
if(unlisted)
  string(REPLACE ";" "\n  " lines "${unlisted}")
  string(APPEND report "Includes from a folder not allowed in tests/CheckLayers.cmake:\n  ${lines}\n")
endif()
if(report)
  message(FATAL_ERROR "${report}")
endif()
message(STATUS "every include keeps to the layers and the allowed folders")
