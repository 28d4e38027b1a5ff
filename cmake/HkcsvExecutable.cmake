# hkcsv_add_executable(NAME ROOT [LITERAL])
# Builds the hkcsv program with ROOT compiled in as its base directory. The
# shipped program is one such executable; the end-to-end tests build more, each
# with a folder of its own, so that tests never share a base directory. With
# LITERAL, ROOT is already the text of a C string literal (escapes and all).
function(hkcsv_add_executable name root)
  if("LITERAL" IN_LIST ARGN)
    set(HKCSV_ROOT_LITERAL "${root}")
  else()
    string(REPLACE "\\" "\\\\" escaped "${root}")
    string(REPLACE "\"" "\\\"" escaped "${escaped}")
    set(HKCSV_ROOT_LITERAL "${escaped}")
  endif()
  set(generated "${CMAKE_CURRENT_BINARY_DIR}/${name}_sample_root.cpp")
  configure_file("${PROJECT_SOURCE_DIR}/app/sample_root.cpp.in" "${generated}" @ONLY)
  add_executable(${name} "${PROJECT_SOURCE_DIR}/app/main.cpp" "${generated}")
  target_link_libraries(${name} PRIVATE hkcsv_app)
endfunction()
