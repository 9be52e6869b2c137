# Windows build: OrvaneSetup.exe (GUI, static runtime, artwork embedded) and
# the programs the demo and the Wine tests run beside it.
enable_language(RC)

set(ORVANE_RESOURCE_DIR ${CMAKE_SOURCE_DIR}/src/resources)
set(ORVANE_ART_SCALES 125 150 200)
set(ORVANE_ARTWORK_GLOBS ${ORVANE_RESOURCE_DIR}/*.jpg ${ORVANE_RESOURCE_DIR}/*.gif
  ${ORVANE_RESOURCE_DIR}/*.bmp)
foreach(scale ${ORVANE_ART_SCALES})
  list(APPEND ORVANE_ARTWORK_GLOBS ${ORVANE_RESOURCE_DIR}/${scale}/*.jpg
    ${ORVANE_RESOURCE_DIR}/${scale}/*.gif ${ORVANE_RESOURCE_DIR}/${scale}/*.bmp)
endforeach()
file(GLOB ORVANE_ARTWORK CONFIGURE_DEPENDS ${ORVANE_ARTWORK_GLOBS})

# Every picture is embedded as RCDATA under its file name, upper-cased with
# "." as "_" ("bg.jpg" -> BG_JPG), which is how the host looks it up; a
# picture drawn for another scale has the percent after it ("150/bg.jpg" ->
# BG_JPG_150).
# The manifest names the processor the program is built for.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(ORVANE_MANIFEST_ARCH amd64)
else()
  set(ORVANE_MANIFEST_ARCH x86)
endif()
# It names the program's version too, read from the header the version
# resource includes.
set(ORVANE_VERSION_HEADER ${CMAKE_SOURCE_DIR}/src/platform/program_version.h)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${ORVANE_VERSION_HEADER})
file(STRINGS ${ORVANE_VERSION_HEADER} ORVANE_VERSION
  REGEX "^#define ORVANE_VERSION_(MAJOR|MINOR|PATCH|BUILD) ")
list(TRANSFORM ORVANE_VERSION REPLACE "^#define ORVANE_VERSION_[A-Z]+ " "")
list(JOIN ORVANE_VERSION "." ORVANE_VERSION)
configure_file(${CMAKE_SOURCE_DIR}/src/platform/win32/orvane.manifest.in
  ${CMAKE_BINARY_DIR}/orvane.manifest @ONLY)

set(ORVANE_RC "")
foreach(picture ${ORVANE_ARTWORK})
  get_filename_component(file_name ${picture} NAME)
  get_filename_component(folder ${picture} DIRECTORY)
  get_filename_component(folder ${folder} NAME)
  string(TOUPPER ${file_name} resource_name)
  string(REPLACE "." "_" resource_name ${resource_name})
  if(folder IN_LIST ORVANE_ART_SCALES)
    string(APPEND resource_name "_${folder}")
  endif()
  string(APPEND ORVANE_RC "${resource_name} RCDATA \"${picture}\"\n")
endforeach()
string(APPEND ORVANE_RC "ORVANE ICON \"${ORVANE_RESOURCE_DIR}/orvane.ico\"\n")
string(APPEND ORVANE_RC "HAND CURSOR \"${ORVANE_RESOURCE_DIR}/hand.cur\"\n")
string(APPEND ORVANE_RC "1 24 \"${CMAKE_BINARY_DIR}/orvane.manifest\"\n")
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/orvane_resources.rc CONTENT "${ORVANE_RC}")
# The compiler of resources reports no dependencies: a changed picture or
# manifest must still rebuild what embeds it.
set_source_files_properties(${CMAKE_BINARY_DIR}/orvane_resources.rc PROPERTIES OBJECT_DEPENDS
  "${ORVANE_ARTWORK};${ORVANE_RESOURCE_DIR}/orvane.ico;${ORVANE_RESOURCE_DIR}/hand.cur;${CMAKE_BINARY_DIR}/orvane.manifest")

file(GLOB ORVANE_WIN32_SOURCES CONFIGURE_DEPENDS src/platform/win32/*.cpp)
list(REMOVE_ITEM ORVANE_WIN32_SOURCES ${CMAKE_SOURCE_DIR}/src/platform/win32/main.cpp)
add_library(orvane_win32 STATIC ${ORVANE_WIN32_SOURCES})
# Only DLLs that Windows keeps in its KnownDLLs list (and comctl32, from the
# side-by-side assembly the manifest names) are imported: any other one would
# be looked for beside the program first. WinINet, XmlLite and GDI+ are
# loaded at run time from the system folder.
target_link_libraries(orvane_win32 PUBLIC orvane_platform shlwapi shell32 comctl32 gdi32 user32
  ole32)
target_compile_options(orvane_win32 PRIVATE ${ORVANE_WARNINGS})
target_compile_definitions(orvane_win32 PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
  _WIN32_WINNT=0x0601)

# Every program and DLL built here asks the linker for ASLR (high-entropy where
# 64-bit) and DEP rather than trusting its defaults, which older binutils leave
# off, and keeps the relocations that ASLR needs. No link time stamp: a build
# is the same bytes whenever and wherever it is made.
add_link_options(-Wl,--dynamicbase,--nxcompat,--enable-reloc-section,--no-insert-timestamp)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  add_link_options(-Wl,--high-entropy-va)
endif()

# The program, once per server host and code-signing publisher (the subject
# common name whose signature it checks for; empty checks none).
function(orvane_program target host publisher)
  add_executable(${target} WIN32 ${CMAKE_SOURCE_DIR}/src/platform/win32/main.cpp
    ${CMAKE_BINARY_DIR}/orvane_resources.rc ${CMAKE_SOURCE_DIR}/src/platform/win32/version.rc)
  # The composition root (application.h) wires every layer together.
  target_link_libraries(${target} PRIVATE orvane_program_modules orvane_win32)
  target_compile_options(${target} PRIVATE ${ORVANE_WARNINGS})
  target_compile_definitions(${target} PRIVATE ORVANE_PUBLISHER="${publisher}")
  # Windows 7 is the oldest it runs on (GetTickCount64): the header says so.
  target_link_options(${target} PRIVATE -municode -s
    -Wl,--major-subsystem-version,6,--minor-subsystem-version,1
    -Wl,--major-os-version,6,--minor-os-version,1)
  orvane_server_host(${target} "${host}")
endfunction()
orvane_program(OrvaneSetup "${ORVANE_SERVER_HOST}" "${ORVANE_PUBLISHER}")

# A release builds the shipped program only; what follows is for the demo and
# the tests.
if(ORVANE_RELEASE)
  return()
endif()

# The same program checking for a publisher the tests sign with themselves.
# It keeps the name OrvaneSetup.exe, since it starts its own copy by that name.
orvane_program(OrvaneSetupTestPublisher "${ORVANE_SERVER_HOST}" "Orvane Test Publisher")
set_target_properties(OrvaneSetupTestPublisher PROPERTIES OUTPUT_NAME OrvaneSetup
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/publisher_check)

add_subdirectory(tools/win)
add_subdirectory(bench)
add_subdirectory(tests/win32)

# Stand-ins for the installer and the live-update program that the demo
# server serves and the end-to-end tests start.
foreach(role install Tarvik)
  add_executable(stand_in_${role} WIN32 ${CMAKE_SOURCE_DIR}/tools/stand_ins/stand_in.cpp)
  target_compile_definitions(stand_in_${role} PRIVATE UNICODE _UNICODE STAND_IN_ROLE=L"${role}")
  target_compile_options(stand_in_${role} PRIVATE ${ORVANE_WARNINGS})
  target_link_options(stand_in_${role} PRIVATE -municode -s)
  target_link_libraries(stand_in_${role} PRIVATE shell32)
  set_target_properties(stand_in_${role} PROPERTIES OUTPUT_NAME ${role}
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/stand_ins)
endforeach()
