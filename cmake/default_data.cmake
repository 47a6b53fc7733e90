# heater_default_data(TOOL <mkdata target or path> SOURCES <folder of the CSV sources> DATA <data folder>)
#
# The shipped data files are built by mkdata into DATA/defaults/, rebuilt
# whenever a source changes. The program's own files in DATA are the
# dealer's: the target default_data (built every time) creates them from
# DATA/defaults/ only where one is missing and never replaces one that is
# there (install_defaults.cmake). Other shipped files put into
# DATA/defaults/ by targets that default_data depends on are installed the
# same way.
set(HEATER_INSTALL_DEFAULTS ${CMAKE_CURRENT_LIST_DIR}/install_defaults.cmake)

function(heater_default_data)
  cmake_parse_arguments(D "" "TOOL;SOURCES;DATA" "" ${ARGN})
  set(defaults ${D_DATA}/defaults)
  set(built)
  foreach(name location.dat PumpHP.dat PumpHP1.dat PumpHP2.dat PumpHP3.dat defaulte.dat)
    list(APPEND built ${defaults}/${name})
  endforeach()
  add_custom_command(
    OUTPUT ${built}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${defaults}
    COMMAND ${D_TOOL} ${D_SOURCES} ${defaults}
    DEPENDS ${D_TOOL} ${D_SOURCES}/cities.csv ${D_SOURCES}/competitors.csv ${D_SOURCES}/lease_factors.csv
            ${D_SOURCES}/pumps.csv
    COMMENT "Building the default data files")
  add_custom_target(default_data_files DEPENDS ${built})
  add_custom_target(default_data ALL
    COMMAND ${CMAKE_COMMAND} -DFROM=${defaults} -DTO=${D_DATA} -P ${HEATER_INSTALL_DEFAULTS}
    COMMENT "Creating the data files that are missing from the shipped ones")
  add_dependencies(default_data default_data_files)
endfunction()
