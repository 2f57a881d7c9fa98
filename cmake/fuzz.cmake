# libFuzzer targets (clang): each is built from only the sources it exercises, so the
# rest of the core (whose literals clang cannot make GB18030) is never compiled here.
set_target_properties(vorlane_core PROPERTIES EXCLUDE_FROM_ALL ON)

set(VORLANE_FUZZ_SANITIZERS -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all)

function(vorlane_fuzz_target name)
    add_executable(${name} tests/fuzz/${name}.cpp ${ARGN})
    target_include_directories(${name} PRIVATE src tests/fuzz)
    target_compile_options(${name} PRIVATE ${VORLANE_FUZZ_SANITIZERS} -fno-omit-frame-pointer)
    target_link_options(${name} PRIVATE ${VORLANE_FUZZ_SANITIZERS})
endfunction()

vorlane_fuzz_target(fuzz_text src/base/text.cpp)
vorlane_fuzz_target(fuzz_text_between src/online/text_between.cpp src/base/text.cpp)
vorlane_fuzz_target(fuzz_encoding src/posix/encoding_iconv.cpp)
