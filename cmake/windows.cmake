# Windows build: the program, the Windows-layer tests and the small helpers the tests use.
enable_language(RC)
set(VORLANE_WIN32_LIBS user32 gdi32 ole32 windowscodecs uuid)  # uuid: interface ids, no DLL
# What the first frame does not need is loaded on first use, from the system folder: the
# linker takes these DLLs' functions from delay-load import libraries made from
# cmake/delay_load/<dll>.def (the functions the program calls; a new one goes there too).
# The common controls are needed at once, but they too load only once the program has
# confined the search for libraries to the system folder: whatever they load by name as
# they start (the theme library) must not come from the game folder.
set(VORLANE_DELAY_LOADED wininet winmm iphlpapi comdlg32 shell32 comctl32)
set(VORLANE_DELAY_LIBS "")
foreach(dll ${VORLANE_DELAY_LOADED})
    set(lib ${CMAKE_BINARY_DIR}/delay_load/lib${dll}_delay.a)
    add_custom_command(OUTPUT ${lib}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/delay_load
        COMMAND ${CMAKE_DLLTOOL} --input-def ${CMAKE_SOURCE_DIR}/cmake/delay_load/${dll}.def
                --dllname ${dll}.dll --output-delaylib ${lib}
        DEPENDS ${CMAKE_SOURCE_DIR}/cmake/delay_load/${dll}.def VERBATIM)
    list(APPEND VORLANE_DELAY_LIBS ${lib})
endforeach()
add_custom_target(vorlane_delay_libs DEPENDS ${VORLANE_DELAY_LIBS})
set(VORLANE_STATIC_LINK -static -static-libgcc -static-libstdc++)
# Reproducible releases: no source or build folder path reaches the program (the link time
# follows SOURCE_DATE_EPOCH, which the release script sets).
target_compile_options(vorlane_core PUBLIC
    $<$<COMPILE_LANGUAGE:CXX>:-ffile-prefix-map=${CMAKE_SOURCE_DIR}/=>
    $<$<COMPILE_LANGUAGE:CXX>:-ffile-prefix-map=${CMAKE_BINARY_DIR}/=>)

file(GLOB VORLANE_WIN32_SOURCES CONFIGURE_DEPENDS src/win32/*.cpp)
list(FILTER VORLANE_WIN32_SOURCES EXCLUDE REGEX "/entry\\.cpp$")
add_library(vorlane_win32 STATIC ${VORLANE_WIN32_SOURCES})
target_link_libraries(vorlane_win32 PUBLIC vorlane_core ${VORLANE_DELAY_LIBS} ${VORLANE_WIN32_LIBS})
add_dependencies(vorlane_win32 vorlane_delay_libs)
# The delay-load hooks (delay_load.cpp) must win over the runtime's empty defaults, which the
# linker would otherwise take: nothing of ours refers to them.
target_link_options(vorlane_win32 INTERFACE -Wl,-u,__pfnDliNotifyHook2 -Wl,-u,__pfnDliFailureHook2)
target_compile_definitions(vorlane_win32 PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00)

# The skin pictures are embedded as PNG, which is far smaller than the BMPs they come from;
# the set drawn at twice the size (assets/2x) under the same names with "_2X" after them.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
file(GLOB VORLANE_ASSET_BMPS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/*.bmp ${CMAKE_SOURCE_DIR}/assets/2x/*.bmp)
set(VORLANE_ASSET_PNGS "")
set(VORLANE_ASSET_RC "${CMAKE_BINARY_DIR}/assets.rc")
file(WRITE ${VORLANE_ASSET_RC}.in "")
foreach(bmp ${VORLANE_ASSET_BMPS})
    get_filename_component(stem ${bmp} NAME_WE)
    if(bmp MATCHES "/2x/[^/]+$")
        set(stem "${stem}_2x")
    endif()
    set(png ${CMAKE_BINARY_DIR}/assets/${stem}.png)
    add_custom_command(OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/assets
        COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/assets/bmp_to_png.py ${bmp} ${png}
        DEPENDS ${bmp} ${CMAKE_SOURCE_DIR}/assets/bmp_to_png.py VERBATIM)
    list(APPEND VORLANE_ASSET_PNGS ${png})
    string(TOUPPER ${stem} resname)
    file(APPEND ${VORLANE_ASSET_RC}.in "${resname} RCDATA \"assets/${stem}.png\"\n")
endforeach()
configure_file(${VORLANE_ASSET_RC}.in ${VORLANE_ASSET_RC} COPYONLY)
add_custom_target(vorlane_assets DEPENDS ${VORLANE_ASSET_PNGS})

configure_file(res/vorlane.rc.in ${CMAKE_BINARY_DIR}/vorlane.rc @ONLY)
add_executable(vorlane WIN32 src/win32/entry.cpp ${CMAKE_BINARY_DIR}/vorlane.rc ${VORLANE_ASSET_RC})
add_dependencies(vorlane vorlane_assets)
set_source_files_properties(${CMAKE_BINARY_DIR}/vorlane.rc ${VORLANE_ASSET_RC} PROPERTIES
    OBJECT_DEPENDS "${VORLANE_ASSET_PNGS};${CMAKE_SOURCE_DIR}/res/vorlane.manifest;${CMAKE_SOURCE_DIR}/assets/vorlane.ico")
target_include_directories(vorlane PRIVATE ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR})
target_link_libraries(vorlane PRIVATE vorlane_win32)
target_link_options(vorlane PRIVATE ${VORLANE_STATIC_LINK} -municode -s)
add_custom_command(TARGET vorlane POST_BUILD
    COMMAND ${CMAKE_SOURCE_DIR}/cmake/check_imports.sh $<TARGET_FILE:vorlane> ${VORLANE_DELAY_LOADED}
    VERBATIM)

# GoogleTest from the sources Debian ships, cross-built.
set(GTEST_SRC /usr/src/googletest/googletest)
add_library(gtest_win STATIC ${GTEST_SRC}/src/gtest-all.cc ${GTEST_SRC}/src/gtest_main.cc)
target_include_directories(gtest_win SYSTEM PUBLIC ${GTEST_SRC}/include PRIVATE ${GTEST_SRC})
target_compile_options(gtest_win PRIVATE -w)

file(GLOB VORLANE_WIN32_TESTS CONFIGURE_DEPENDS tests/win32/*.cpp)
if(VORLANE_WIN32_TESTS)
    add_executable(vorlane_win32_tests ${VORLANE_WIN32_TESTS})
    target_link_libraries(vorlane_win32_tests PRIVATE vorlane_win32 gtest_win winmm)  # winmm: the sound device check
    target_link_options(vorlane_win32_tests PRIVATE ${VORLANE_STATIC_LINK})
    add_test(NAME win32 COMMAND vorlane_win32_tests)
endif()

# Small programs of ours that the tests and the demo start: a stand-in game client, a
# reader of message boxes and a reader of the accessible tree for the end-to-end tests.
file(GLOB VORLANE_TOOL_SOURCES CONFIGURE_DEPENDS tests/tools/*.cpp)
foreach(tool_src ${VORLANE_TOOL_SOURCES})
    get_filename_component(tool ${tool_src} NAME_WE)
    add_executable(${tool} ${tool_src})
    target_compile_definitions(${tool} PRIVATE UNICODE _UNICODE NOMINMAX)
    target_include_directories(${tool} PRIVATE src)
    target_link_libraries(${tool} PRIVATE user32 kernel32)
    target_link_options(${tool} PRIVATE ${VORLANE_STATIC_LINK} -municode)
endforeach()
set_target_properties(client_stub PROPERTIES WIN32_EXECUTABLE ON)
# And a DLL that leaves a mark beside itself when loaded, planted by the tests in a game folder
# under the names of system libraries.
add_library(planted SHARED tests/tools/planted/planted.cpp)
set_target_properties(planted PROPERTIES PREFIX "")
target_compile_definitions(planted PRIVATE UNICODE _UNICODE)
target_link_options(planted PRIVATE -static-libgcc)
target_link_libraries(accessible PRIVATE oleacc ole32 oleaut32)  # a game client has windows, no console
