# nlohmann-json and CLI11 for a Windows build. A Windows machine finds them where its package
# manager put them. The cross build takes Debian's, which are headers alone and the same for
# every target; but the cross compiler must not search /usr/include as a whole, which holds
# the build machine's C library, so their two folders are linked into one of the build's own.
find_package(nlohmann_json 3 QUIET)
find_package(CLI11 QUIET)

set(OMBREL_HOST_INCLUDE /usr/include CACHE PATH "Where the build machine keeps nlohmann/ and CLI/")
set(ombrel_header_links ${CMAKE_BINARY_DIR}/header-only)
foreach(library IN ITEMS "nlohmann_json:nlohmann/json.hpp" "CLI11:CLI/CLI.hpp")
  string(REPLACE ":" ";" parts "${library}")
  list(GET parts 0 name)
  list(GET parts 1 header)
  if(TARGET ${name}::${name})
    continue()
  endif()
  get_filename_component(folder "${header}" DIRECTORY)
  if(NOT EXISTS ${OMBREL_HOST_INCLUDE}/${header})
    message(FATAL_ERROR "${name} not found: neither its CMake package nor "
                        "${OMBREL_HOST_INCLUDE}/${header} (scripts/install-deps installs it)")
  endif()
  file(MAKE_DIRECTORY ${ombrel_header_links})
  file(CREATE_LINK ${OMBREL_HOST_INCLUDE}/${folder} ${ombrel_header_links}/${folder} SYMBOLIC)
  add_library(${name}::${name} INTERFACE IMPORTED)
  target_include_directories(${name}::${name} SYSTEM INTERFACE ${ombrel_header_links})
endforeach()
