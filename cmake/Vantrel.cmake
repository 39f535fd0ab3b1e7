# Helpers that keep every subsystem, test suite and benchmark built the same way.

# vantrel_add_subsystem(NAME DEPS <libraries>): one static library per subsystem folder, from
# every source file in it. Headers are included as "<subsystem>/<File>.h".
function(vantrel_add_subsystem name)
    cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS
        ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.ui)
    if(NOT sources MATCHES "\\.cpp")
        # A subsystem whose code has not arrived yet.
        add_library(vantrel_${name} INTERFACE)
        target_include_directories(vantrel_${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
        target_link_libraries(vantrel_${name} INTERFACE ${ARG_DEPS})
        return()
    endif()
    add_library(vantrel_${name} STATIC ${sources})
    target_include_directories(vantrel_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(vantrel_${name} PUBLIC ${ARG_DEPS})
    set_property(GLOBAL APPEND PROPERTY VANTREL_SUBSYSTEM_LIBRARIES vantrel_${name})
endfunction()

# vantrel_linked_targets(TARGET RESULT): TARGET and every target it links, directly or not.
function(vantrel_linked_targets target result)
    set(pending ${target})
    set(seen "")
    while(pending)
        list(POP_FRONT pending current)
        if(current IN_LIST seen OR NOT TARGET ${current})
            continue()
        endif()
        list(APPEND seen ${current})
        get_target_property(links ${current} INTERFACE_LINK_LIBRARIES)
        if(links)
            list(APPEND pending ${links})
        endif()
    endwhile()
    set(${result} ${seen} PARENT_SCOPE)
endfunction()

# vantrel_add_test_suite(NAME [GUI] [LABELS <labels>] [SEPARATE <files>]): one GoogleTest executable from
# tests/NAME/*.cpp, linked with vantrel_NAME. Every test is labelled NAME and LABELS (for example
# "gl" for a suite that renders through OpenGL); tests whose full name contains "Threads" are also
# labelled "threads" so that the ThreadSanitizer run can pick them.
# vantrel_threaded_test_sources(SOURCES): drops from the list SOURCES the test files that declare
# no test with "Threads" in its suite, test or instantiation name; headers and helper files (no
# test of their own) stay. Empty when no file declares such a test.
function(vantrel_threaded_test_sources list)
    set(kept "")
    set(threaded FALSE)
    foreach(source IN LISTS ${list})
        if(source MATCHES "\\.cpp$")
            file(READ ${source} text)
            set(declaration "(^|\n)(TYPED_|INSTANTIATE_|INSTANTIATE_TYPED_)?TEST(_F|_P|_SUITE_P)?\\(")
            if(text MATCHES "${declaration}[^)]*Threads")
                set(threaded TRUE)
            elseif(text MATCHES "${declaration}")
                continue()
            endif()
        endif()
        list(APPEND kept ${source})
    endforeach()
    if(NOT threaded)
        set(kept "")
    endif()
    set(${list} ${kept} PARENT_SCOPE)
endfunction()

# vantrel_unity_test_build(TARGET SEPARATE): compiles the test program's files eight to a unit,
# except the files SEPARATE names (they define helpers of the same name as another file's). In a
# unit the included files count as headers, whose types of internal linkage GCC would warn about
# in every test fixture.
function(vantrel_unity_test_build target separate)
    set_target_properties(${target} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 8)
    target_compile_options(${target} PRIVATE -Wno-subobject-linkage)
    list(TRANSFORM separate PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/)
    if(separate)
        set_source_files_properties(${separate} PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
    endif()
endfunction()

# With VANTREL_TESTS_THREADS_ONLY a suite keeps only its helpers and the files declaring a test
# whose name contains "Threads", and is left out when it has none.
function(vantrel_add_test_suite name)
    cmake_parse_arguments(ARG "GUI" "" "DEPS;LABELS;SEPARATE" ${ARGN})
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    if(VANTREL_TESTS_THREADS_ONLY)
        vantrel_threaded_test_sources(sources)
    endif()
    if(NOT sources MATCHES "\\.cpp")
        return()
    endif()
    set(exe vantrel_${name}_tests)
    add_executable(${exe} ${sources})
    if(VANTREL_UNITY_TESTS)
        vantrel_unity_test_build(${exe} "${ARG_SEPARATE}")
    endif()
    add_dependencies(vantrel_tests ${exe})
    target_link_libraries(${exe} PRIVATE vantrel_${name} vantrel_testsupport ${ARG_DEPS}
        GTest::gtest GTest::gmock)
    if(ARG_GUI)
        target_link_libraries(${exe} PRIVATE vantrel_testmain_gui)
    else()
        target_link_libraries(${exe} PRIVATE vantrel_testmain)
    endif()
    vantrel_linked_targets(vantrel_${name} linked)
    if(vantrel_graphics IN_LIST linked)
        target_link_libraries(${exe} PRIVATE vantrel_testexit_opengl)
    elseif(vantrel_foundation IN_LIST linked)
        target_link_libraries(${exe} PRIVATE vantrel_testexit_threads)
    else()
        target_link_libraries(${exe} PRIVATE vantrel_testexit)
    endif()
    gtest_discover_tests(${exe} TEST_FILTER "-*Threads*" DISCOVERY_TIMEOUT 120 TEST_LIST ${exe}_plain)
    gtest_discover_tests(${exe} TEST_FILTER "*Threads*" DISCOVERY_TIMEOUT 120 TEST_LIST ${exe}_threaded)
    # A list value does not survive gtest_discover_tests' PROPERTIES, so labels and environment are
    # set once the tests are known.
    list(JOIN ARG_LABELS ";" extra)
    set(suite_labels "${name}")
    if(ARG_LABELS)
        string(APPEND suite_labels ";${extra}")
    endif()
    set(env "QT_QPA_PLATFORM=offscreen;EGL_PLATFORM=surfaceless;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/scripts/lsan.supp:print_suppressions=0")
    set(properties ${CMAKE_CURRENT_BINARY_DIR}/${exe}_properties.cmake)
    file(WRITE ${properties}
        "if(${exe}_plain)\n"
        "  set_tests_properties(\${${exe}_plain} PROPERTIES LABELS \"${suite_labels}\" ENVIRONMENT \"${env}\")\n"
        "endif()\n"
        "if(${exe}_threaded)\n"
        "  set_tests_properties(\${${exe}_threaded} PROPERTIES LABELS \"${suite_labels};threads\" ENVIRONMENT \"${env}\")\n"
        "endif()\n")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${properties})
endfunction()

# vantrel_add_benchmarks(): one Google Benchmark program per bench/*.cpp, linked with every
# subsystem library (benchmarks compare across subsystems and against outside baselines).
function(vantrel_add_benchmarks)
    cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
    get_property(libraries GLOBAL PROPERTY VANTREL_SUBSYSTEM_LIBRARIES)
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    foreach(source IN LISTS sources)
        get_filename_component(stem ${source} NAME_WE)
        add_executable(${stem} ${source})
        target_link_libraries(${stem} PRIVATE ${libraries} ${ARG_DEPS} benchmark::benchmark)
    endforeach()
endfunction()

# vantrel_add_fuzzers(LIBRARIES <libraries>): one libFuzzer target per tests/fuzz/fuzz_*.cpp, linked
# with LIBRARIES (the highest subsystems holding the readers they fuzz, so that the fuzz tree builds
# no more than those need), built only with VANTREL_FUZZ=ON and clang; seed inputs live in
# tests/fuzz/seeds/<target>/.
function(vantrel_add_fuzzers)
    cmake_parse_arguments(ARG "" "" "LIBRARIES" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_*.cpp)
    foreach(source IN LISTS sources)
        get_filename_component(stem ${source} NAME_WE)
        add_executable(${stem} ${source})
        target_link_options(${stem} PRIVATE -fsanitize=fuzzer)
        target_link_libraries(${stem} PRIVATE ${ARG_LIBRARIES})
    endforeach()
endfunction()
