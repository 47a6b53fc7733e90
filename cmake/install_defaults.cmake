# cmake -DFROM=<folder of the shipped files> -DTO=<the program's data folder> -P install_defaults.cmake
#
# The program's data folder holds the dealer's own files: weather cities,
# heat-pump tables, settings, the city workbook. The build makes the shipped
# versions in a folder of their own (FROM, always the current ones) and this
# step puts a shipped file into the data folder only where it has no file of
# that name, so that a build, or an update followed by a build, never
# replaces what the dealer has edited.
foreach(var FROM TO)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "install_defaults.cmake: -D${var}=<folder> is needed")
  endif()
endforeach()

file(GLOB names RELATIVE "${FROM}" "${FROM}/*")
foreach(name IN LISTS names)
  set(src "${FROM}/${name}")
  set(dst "${TO}/${name}")
  if(IS_DIRECTORY "${src}" OR EXISTS "${dst}" OR IS_SYMLINK "${dst}")
    continue()
  endif()
  # A complete copy under a temporary name, then renamed into place only if
  # the name is still free: a file that appeared meanwhile stays as it is.
  set(tmp "${dst}.new~")
  file(COPY_FILE "${src}" "${tmp}")
  file(RENAME "${tmp}" "${dst}" NO_REPLACE RESULT taken)
  # NO_REPLACE may give the file its new name as a second link: the
  # temporary name goes either way.
  file(REMOVE "${tmp}")
  if(taken STREQUAL "0")
    message(STATUS "Installed the shipped ${name}")
  endif()
endforeach()
