# Checks the includes of every file under src/ against the modules' declared
# dependencies (the orvalet_module calls in src/CMakeLists.txt):
#   - a module includes only its own headers and those of the modules it
#     declares;
#   - its portable files, directly in src/<module>/ or in one of its concern
#     folders, include no win32/ header of any module and no <*.h> system
#     header: the C++ standard headers have no .h, the Windows ones all have;
#   - a module grouped into concern folders has no source outside them (its
#     entry/ folder, the program's entry point and resources, aside).
# ctest runs it as the test "layering":
#   cmake -D SOURCE_DIR=<src> -D "LAYERS=base=|sampling=base|..."
#         -D "CONCERNS=shell/about|shell/meter|..." -P CheckLayering.cmake
cmake_minimum_required(VERSION 3.25)
if(NOT SOURCE_DIR OR NOT LAYERS)
  message(FATAL_ERROR "Usage: cmake -D SOURCE_DIR=<src> -D LAYERS=<module>=<dep>,...|... -P CheckLayering.cmake")
endif()
get_filename_component(SOURCE_DIR "${SOURCE_DIR}" ABSOLUTE)

string(REPLACE "|" ";" layers "${LAYERS}")
set(modules "")
foreach(layer IN LISTS layers)
  string(REGEX MATCH "^([^=]+)=(.*)$" layer "${layer}")
  set(module "${CMAKE_MATCH_1}")
  string(REPLACE "," ";" deps "${CMAKE_MATCH_2}")
  list(APPEND modules ${module})
  set(deps_${module} ${deps})
endforeach()
string(REPLACE "|" ";" concerns "${CONCERNS}")
set(grouped_modules "")
foreach(concern IN LISTS concerns)
  string(REGEX MATCH "^[^/]+" module "${concern}")
  list(APPEND grouped_modules ${module})
endforeach()

# Where a quoted include leads, relative to src/: like the compiler, the
# including file's folder first, then src/, the include root.
function(resolve_include path folder out)
  if(EXISTS "${SOURCE_DIR}/${folder}/${path}")
    get_filename_component(full "${SOURCE_DIR}/${folder}/${path}" ABSOLUTE)
    file(RELATIVE_PATH path "${SOURCE_DIR}" "${full}")
  endif()
  set(${out} "${path}" PARENT_SCOPE)
endfunction()

set(faults "")
file(GLOB_RECURSE files RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp" "${SOURCE_DIR}/*.rc")
list(SORT files)
foreach(file IN LISTS files)
  string(REGEX MATCH "^[^/]+" module "${file}")
  if(NOT module IN_LIST modules)
    list(APPEND faults "src/${file}: src/${module} is not a declared module")
    continue()
  endif()
  get_filename_component(folder "${file}" DIRECTORY)
  set(portable FALSE)
  if(folder STREQUAL module OR folder IN_LIST concerns)
    set(portable TRUE)
  endif()
  if(module IN_LIST grouped_modules AND (folder STREQUAL module OR folder STREQUAL "${module}/win32"))
    list(APPEND faults "src/${file}: lies outside the concern folders of src/${module}")
  endif()

  file(STRINGS "${SOURCE_DIR}/${file}" includes REGEX "^[ \t]*#[ \t]*include")
  foreach(line IN LISTS includes)
    if(line MATCHES "include[ \t]*\"([^\"]+)\"")
      set(header "${CMAKE_MATCH_1}")
      resolve_include("${header}" "${folder}" target)
      string(REGEX MATCH "^[^/]+" used "${target}")
      if(NOT used STREQUAL module AND NOT used IN_LIST deps_${module})
        string(REPLACE ";" ", " deps "${deps_${module}}")
        if(NOT deps)
          set(deps "none")
        endif()
        list(APPEND faults "src/${file}: includes \"${header}\", from outside ${module} and its dependencies (${deps})")
      elseif(portable AND target MATCHES "(^|/)win32/")
        list(APPEND faults "src/${file}: portable, but includes the Windows header \"${header}\"")
      endif()
    elseif(portable AND line MATCHES "include[ \t]*<([^>]+\\.h)>")
      list(APPEND faults "src/${file}: portable, but includes the system header <${CMAKE_MATCH_1}>")
    endif()
  endforeach()
endforeach()

if(faults)
  list(LENGTH faults count)
  list(JOIN faults "\n" report)
  message(FATAL_ERROR "${report}\n${count} include(s) break the layering of src/CMakeLists.txt.")
endif()
list(LENGTH files count)
message(STATUS "Layering: the includes of ${count} files follow src/CMakeLists.txt.")
