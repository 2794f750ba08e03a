# GLFW 3.3.8 from Debian's source package, unpacked into the build tree,
# patched with window/glfw-patches/*.patch and built as a static library
# with the cross toolchain.
set(ZEPHYRINE_GLFW_ROOT ${CMAKE_BINARY_DIR}/_deps/glfw3)
set(ZEPHYRINE_GLFW_PATCHES ${CMAKE_SOURCE_DIR}/window/glfw-patches)

file(GLOB _zephyrine_glfw_patch_files ${ZEPHYRINE_GLFW_PATCHES}/*.patch)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/tools/fetch-glfw.sh ${_zephyrine_glfw_patch_files})

execute_process(
    COMMAND bash ${CMAKE_SOURCE_DIR}/tools/fetch-glfw.sh ${ZEPHYRINE_GLFW_ROOT} ${ZEPHYRINE_GLFW_PATCHES}
    RESULT_VARIABLE _zephyrine_glfw_result)
if(NOT _zephyrine_glfw_result EQUAL 0)
    message(FATAL_ERROR "Could not bring in GLFW's source (tools/fetch-glfw.sh)")
endif()

set(GLFW_BUILD_EXAMPLES OFF CACHE BOOL "" FORCE)
set(GLFW_BUILD_TESTS OFF CACHE BOOL "" FORCE)
set(GLFW_BUILD_DOCS OFF CACHE BOOL "" FORCE)
set(GLFW_INSTALL OFF CACHE BOOL "" FORCE)
set(BUILD_SHARED_LIBS OFF CACHE BOOL "" FORCE)
add_subdirectory(${ZEPHYRINE_GLFW_ROOT}/glfw ${CMAKE_BINARY_DIR}/_deps/glfw-build EXCLUDE_FROM_ALL SYSTEM)

# Our addition to GLFW's window module is compiled as part of the library, so
# it sees GLFW's internal headers and configuration.
target_sources(glfw PRIVATE ${CMAKE_SOURCE_DIR}/window/glfw_attach_host_window.c)
target_include_directories(glfw PRIVATE ${CMAKE_SOURCE_DIR}/window)
