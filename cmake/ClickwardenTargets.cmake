# Build conventions shared by every target: one warning list, optional sanitizers, and the
# helpers that add a source-folder library or a test program.

add_library(cw_warnings INTERFACE)
target_compile_options(cw_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wnon-virtual-dtor -Wold-style-cast -Woverloaded-virtual -Wsuggest-override)
if(CW_WERROR)
    target_compile_options(cw_warnings INTERFACE -Werror)
endif()

if(CW_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

# cw_add_library(name SOURCES ... LIBS ...): one static library for one source folder.
function(cw_add_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    cw_export_headers(${name} ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_LIBS} PRIVATE cw_warnings)
endfunction()

# cw_export_headers(target folder): the target and whatever links it see the folder's own headers
# as "<folder under src>/Name.h", and no other folder's: each library gets an include root of its
# own with links to just those headers, so a wrong include between layers fails to build.
function(cw_export_headers name folder)
    file(RELATIVE_PATH relative ${PROJECT_SOURCE_DIR}/src ${folder})
    set(root ${CMAKE_BINARY_DIR}/include/${name})
    file(GLOB headers CONFIGURE_DEPENDS ${folder}/*.h)
    file(MAKE_DIRECTORY ${root}/${relative})
    foreach(header IN LISTS headers)
        get_filename_component(file_name ${header} NAME)
        file(CREATE_LINK ${header} ${root}/${relative}/${file_name} SYMBOLIC)
    endforeach()
    target_include_directories(${name} PUBLIC ${root})
endfunction()

# cw_add_test(name SOURCES ... LIBS ... [X_INPUT] [WAYLAND] [GNOME]): one Qt Test program registered with CTest.
# X_INPUT marks tests that drive the shared X server's pointer or keyboard: they never run side by side.
# WAYLAND runs the test as a client of the headless sway of scripts/wayland.sh, one at a time; without
# that session it is skipped. GNOME does the same under the headless mutter of scripts/gnome.sh.
function(cw_add_test name)
    cmake_parse_arguments(ARG "X_INPUT;WAYLAND;GNOME" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt6::Test cw_warnings)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    if(ARG_GNOME)
        add_test(NAME ${name} COMMAND ${PROJECT_SOURCE_DIR}/scripts/gnome-run.sh $<TARGET_FILE:${name}>)
        set(platform offscreen)
    elseif(ARG_WAYLAND)
        add_test(NAME ${name} COMMAND ${PROJECT_SOURCE_DIR}/scripts/wayland-run.sh $<TARGET_FILE:${name}>)
        # Their own windows, and the program's, stay off the compositor's screen, which the test client fills.
        set(platform offscreen)
    else()
        add_test(NAME ${name} COMMAND ${name})
        set(platform xcb)
    endif()
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 120)
    endif()
    # No session bus on the test display: without an address libdbus would try to start one and leak
    # what it read from the failed attempt (_dbus_read), in every Qt program.
    set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT} ENVIRONMENT
        "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0;ASAN_OPTIONS=detect_leaks=1:abort_on_error=0;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1;QT_QPA_PLATFORM=${platform};DBUS_SESSION_BUS_ADDRESS=disabled:")
    if(ARG_X_INPUT)
        set_tests_properties(${name} PROPERTIES RESOURCE_LOCK x11_input)
    endif()
    if(ARG_WAYLAND)
        set_tests_properties(${name} PROPERTIES RESOURCE_LOCK wayland_input SKIP_RETURN_CODE 77)
    endif()
    if(ARG_GNOME)
        set_tests_properties(${name} PROPERTIES RESOURCE_LOCK gnome_input SKIP_RETURN_CODE 77)
    endif()
endfunction()
