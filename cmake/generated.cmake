# Sources produced at build time from sources of ours and from installed
# headers: nothing generated is committed.
set(ZEPHYRINE_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
file(MAKE_DIRECTORY ${ZEPHYRINE_GENERATED_DIR})

# The Khronos header of the toolchain in use: the host's for the native
# build, mingw-w64's for the Windows one.
find_path(ZEPHYRINE_GLCOREARB_INCLUDE_DIR GL/glcorearb.h REQUIRED)
set(ZEPHYRINE_GLCOREARB ${ZEPHYRINE_GLCOREARB_INCLUDE_DIR}/GL/glcorearb.h)

add_custom_command(
    OUTPUT ${ZEPHYRINE_GENERATED_DIR}/gl_entry_points_table.h ${ZEPHYRINE_GENERATED_DIR}/gl_entry_points_table.cpp
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/gen_gl_entry_points.py ${ZEPHYRINE_GLCOREARB}
            ${ZEPHYRINE_GENERATED_DIR}/gl_entry_points_table.h ${ZEPHYRINE_GENERATED_DIR}/gl_entry_points_table.cpp
    DEPENDS ${CMAKE_SOURCE_DIR}/tools/gen_gl_entry_points.py ${ZEPHYRINE_GLCOREARB}
    COMMENT "Generating the OpenGL entry-point table from ${ZEPHYRINE_GLCOREARB}"
    VERBATIM)

add_custom_command(
    OUTPUT ${ZEPHYRINE_GENERATED_DIR}/window_icon_table.cpp ${ZEPHYRINE_GENERATED_DIR}/zephyrine.ico
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/gen_icon.py
            ${ZEPHYRINE_GENERATED_DIR}/window_icon_table.cpp ${ZEPHYRINE_GENERATED_DIR}/zephyrine.ico
    DEPENDS ${CMAKE_SOURCE_DIR}/tools/gen_icon.py
    COMMENT "Drawing the window and shell icons"
    VERBATIM)

add_custom_command(
    OUTPUT ${ZEPHYRINE_GENERATED_DIR}/native_resources.cpp
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/gen_native_resources.py
            ${CMAKE_SOURCE_DIR}/resources/zephyrine.rc ${ZEPHYRINE_GENERATED_DIR}/native_resources.cpp
            ${ZEPHYRINE_GENERATED_DIR}/native_resources.d
    DEPENDS ${CMAKE_SOURCE_DIR}/tools/gen_native_resources.py ${CMAKE_SOURCE_DIR}/resources/zephyrine.rc
    DEPFILE ${ZEPHYRINE_GENERATED_DIR}/native_resources.d
    COMMENT "Embedding the text resources for the native build"
    VERBATIM)

# The About window's logo: a still of the picture from the CPU reference of
# the background program. The generator is built with the host's compiler in
# every build tree, the cross-compiling ones included.
find_program(ZEPHYRINE_HOST_CXX NAMES g++ c++ REQUIRED)
set(ZEPHYRINE_LOGO_TOOL ${ZEPHYRINE_GENERATED_DIR}/make_logo)
set(ZEPHYRINE_LOGO ${ZEPHYRINE_GENERATED_DIR}/logo.bmp)
# The time and size of the still: glowing bands over the dark ground.
set(ZEPHYRINE_LOGO_TIME 9)
add_custom_command(
    OUTPUT ${ZEPHYRINE_LOGO_TOOL}
    COMMAND ${ZEPHYRINE_HOST_CXX} -std=c++17 -O2 -I${CMAKE_SOURCE_DIR}
            ${CMAKE_SOURCE_DIR}/tools/make_logo.cpp ${CMAKE_SOURCE_DIR}/render/background_reference.cpp
            -o ${ZEPHYRINE_LOGO_TOOL}
    DEPENDS ${CMAKE_SOURCE_DIR}/tools/make_logo.cpp ${CMAKE_SOURCE_DIR}/render/background_reference.cpp
            ${CMAKE_SOURCE_DIR}/render/background_reference.h
    COMMENT "Building the logo generator with the host compiler"
    VERBATIM)
add_custom_command(
    OUTPUT ${ZEPHYRINE_LOGO}
    COMMAND ${ZEPHYRINE_LOGO_TOOL} ${ZEPHYRINE_LOGO_TIME} 110 83 ${ZEPHYRINE_LOGO}
    DEPENDS ${ZEPHYRINE_LOGO_TOOL}
    COMMENT "Drawing the About window's logo"
    VERBATIM)

# Targets in other folders that embed the resource script wait for these.
add_custom_target(zephyrine_resource_assets DEPENDS ${ZEPHYRINE_LOGO} ${ZEPHYRINE_GENERATED_DIR}/zephyrine.ico)
