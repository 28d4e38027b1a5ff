# hkcsv_add_program(NAME MAIN LIBRARY ROOT [LITERAL])
# Builds a program from the entry point MAIN and LIBRARY, with ROOT compiled
# in as its base directory. The shipped hkcsv and hkreport are such
# executables; the end-to-end tests build more, each with a folder of its own,
# so that tests never share a base directory. With LITERAL, ROOT is already
# the text of a C string literal (escapes and all).
function(hkcsv_add_program name main library root)
  if("LITERAL" IN_LIST ARGN)
    set(HKCSV_ROOT_LITERAL "${root}")
  else()
    string(REPLACE "\\" "\\\\" escaped "${root}")
    string(REPLACE "\"" "\\\"" escaped "${escaped}")
    set(HKCSV_ROOT_LITERAL "${escaped}")
  endif()
  set(generated "${CMAKE_CURRENT_BINARY_DIR}/${name}_sample_root.cpp")
  configure_file("${PROJECT_SOURCE_DIR}/app/sample_root.cpp.in" "${generated}" @ONLY)
  add_executable(${name} "${PROJECT_SOURCE_DIR}/app/${main}" "${generated}")
  target_link_libraries(${name} PRIVATE ${library})
endfunction()

# hkcsv_add_executable(NAME ROOT [LITERAL]): an hkcsv program.
function(hkcsv_add_executable name root)
  hkcsv_add_program(${name} hkcsv_main.cpp hkcsv_run "${root}" ${ARGN})
endfunction()

# hkreport_add_executable(NAME ROOT [LITERAL]): an hkreport program.
function(hkreport_add_executable name root)
  hkcsv_add_program(${name} hkreport_main.cpp hkreport_app "${root}" ${ARGN})
endfunction()
