# Native Linux build: the portable core, its Linux conversions and the unit tests.
if(VORLANE_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

file(GLOB VORLANE_POSIX_SOURCES CONFIGURE_DEPENDS src/posix/*.cpp)
target_sources(vorlane_core PRIVATE ${VORLANE_POSIX_SOURCES})

find_package(GTest REQUIRED)
file(GLOB VORLANE_UNIT_TESTS CONFIGURE_DEPENDS tests/unit/*.cpp)
add_executable(vorlane_unit_tests ${VORLANE_UNIT_TESTS})
target_include_directories(vorlane_unit_tests PRIVATE tests/unit)
target_link_libraries(vorlane_unit_tests PRIVATE vorlane_core GTest::gtest GTest::gtest_main)
target_compile_definitions(vorlane_unit_tests PRIVATE VORLANE_ASSETS_DIR="${CMAKE_SOURCE_DIR}/assets")
add_test(NAME unit COMMAND vorlane_unit_tests)
