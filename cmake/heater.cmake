# Helpers shared by the folders' CMakeLists.txt.
if(NOT HEATER_FUZZ)
  include(GoogleTest)
endif()

# heater_library(<name> [QT] SOURCES <files...> [LINK <targets...>])
# A static library of one folder. QT: a windows library (moc on, Qt linked
# through its dependencies); without it the library must not see Qt.
function(heater_library name)
  cmake_parse_arguments(L "QT" "" "SOURCES;LINK" ${ARGN})
  add_library(${name} STATIC ${L_SOURCES})
  target_link_libraries(${name} PUBLIC ${L_LINK})
  if(L_QT)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
  endif()
endfunction()

# heater_tests(<program> SOURCES <files...> LINK <targets...>)
# One test program per subsystem, in tests/<subsystem>/CMakeLists.txt; ctest
# names every test as <program>.<Suite>.<Test>. Tests run headless from
# build/tests with the built default data (heater_test_support sets the
# environment), and every box a test did not script fails it.
function(heater_tests name)
  cmake_parse_arguments(T "" "" "SOURCES;LINK" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LINK} heater_test_support GTest::gtest GTest::gtest_main)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_dependencies(${name} default_data)
  gtest_discover_tests(${name} TEST_PREFIX "${name}." WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/tests
                       DISCOVERY_MODE PRE_TEST)
endfunction()
