# cmake -DGENERATOR=<generator> -DMKDATA=<mkdata> -DSOURCE=<repository> -P build_keeps_data.cmake
#
# A build puts the shipped data into the data folder only where a file is
# missing: a scratch project with the real data rules (cmake/default_data.cmake)
# is built, the dealer changes location.dat and loses PumpHP2.dat, a source
# changes (as a git pull would bring), and the next build keeps the dealer's
# cities, brings back the missing file and has the new defaults ready.
if(DEFINED ENV{TMPDIR} AND IS_DIRECTORY "$ENV{TMPDIR}")
  set(tmp "$ENV{TMPDIR}")
else()
  set(tmp /tmp)
endif()
string(RANDOM LENGTH 10 tag)
set(scratch "${tmp}/heater-build-data-${tag}")
file(MAKE_DIRECTORY "${scratch}/data" "${scratch}/project")
file(CHMOD "${scratch}" DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)

function(check what)
  if(NOT (${ARGN}))
    file(REMOVE_RECURSE "${scratch}")
    message(FATAL_ERROR "${what}")
  endif()
endfunction()

function(build label)
  execute_process(COMMAND ${CMAKE_COMMAND} --build "${scratch}/build" RESULT_VARIABLE rc OUTPUT_VARIABLE out
                  ERROR_VARIABLE out)
  check("the ${label} build failed:\n${out}" rc EQUAL 0)
  set(out "${out}" PARENT_SCOPE)
endfunction()

foreach(name cities.csv competitors.csv lease_factors.csv pumps.csv)
  file(COPY_FILE "${SOURCE}/data/${name}" "${scratch}/data/${name}")
endforeach()
file(WRITE "${scratch}/project/CMakeLists.txt" "
cmake_minimum_required(VERSION 3.21)
project(data_rules NONE)
include(\"${SOURCE}/cmake/default_data.cmake\")
heater_default_data(TOOL \"${MKDATA}\" SOURCES \"${scratch}/data\" DATA \"${scratch}/bin\")
")
execute_process(COMMAND ${CMAKE_COMMAND} -S "${scratch}/project" -B "${scratch}/build" -G "${GENERATOR}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
check("the scratch project does not configure:\n${out}" rc EQUAL 0)

build(first)
set(bin "${scratch}/bin")
foreach(name location.dat PumpHP.dat PumpHP1.dat PumpHP2.dat PumpHP3.dat defaulte.dat)
  check("the first build left no ${name}" EXISTS "${bin}/${name}")
  file(READ "${bin}/${name}" got HEX)
  file(READ "${bin}/defaults/${name}" shipped HEX)
  check("${name} is not the shipped one" got STREQUAL shipped)
endforeach()

# The dealer's own cities and settings; a lost competitor file.
file(WRITE "${bin}/location.dat" "the dealer's own cities")
file(WRITE "${bin}/defaulte.dat" "company_name=The dealer\n")
file(REMOVE "${bin}/PumpHP2.dat")
# An update changes the shipped cities.
file(READ "${bin}/defaults/location.dat" old_default HEX)
file(APPEND "${scratch}/data/cities.csv" "Newtown,FL,test,0.1,1,2,3,7,70,70,70,70,70,70,70,70,70,70,70,70,400,400,400,400,400,400,400,400,400,400,400,400,60,60,60,60,60,60,60,60,60,60,60,60\n")

build(second)
check("the second build did not rebuild the defaults:\n${out}" out MATCHES "Building the default data files")
file(READ "${bin}/location.dat" got)
check("the build replaced the dealer's location.dat" got STREQUAL "the dealer's own cities")
file(READ "${bin}/defaulte.dat" got)
check("the build replaced the dealer's defaulte.dat" got STREQUAL "company_name=The dealer\n")
check("the missing PumpHP2.dat was not created" EXISTS "${bin}/PumpHP2.dat")
file(READ "${bin}/defaults/location.dat" new_default HEX)
check("the shipped cities were not rebuilt" NOT new_default STREQUAL old_default)
file(GLOB left "${bin}/*~")
check("temporary copies left: ${left}" NOT left)

file(REMOVE_RECURSE "${scratch}")
