# Release tools that run during the build (package building, tag stamping,
# trust documents). They are host programs: the host preset builds them
# directly; a cross build makes its own native, test-free build of the tools
# under host-tools/ and runs them from there.
#
#   tl_host_tool_path(<out-var> <tool>)  the tool's path, usable in COMMAND
#   TL_HOST_TOOLS_TARGET                 what a custom command must DEPEND on
if(CMAKE_CROSSCOMPILING)
  include(ExternalProject)
  ExternalProject_Add(tl_host_tools
    SOURCE_DIR ${CMAKE_SOURCE_DIR}
    BINARY_DIR ${CMAKE_BINARY_DIR}/host-tools
    CMAKE_GENERATOR Ninja
    CMAKE_ARGS -DTL_BUILD_TESTS=OFF -DTL_HOST_TOOLS_ONLY=ON -DCMAKE_BUILD_TYPE=Release
               -DTL_CACHE_DIR=${TL_CACHE_DIR}
    BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target tl_host_tool_set
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    LOG_CONFIGURE ON LOG_BUILD ON LOG_OUTPUT_ON_FAILURE ON)
  set(TL_HOST_TOOLS_TARGET tl_host_tools)
  function(tl_host_tool_path out tool)
    set(${out} ${CMAKE_BINARY_DIR}/host-tools/release_tools/${tool} PARENT_SCOPE)
  endfunction()
else()
  set(TL_HOST_TOOLS_TARGET tl_host_tool_set)
  function(tl_host_tool_path out tool)
    set(${out} ${CMAKE_BINARY_DIR}/release_tools/${tool} PARENT_SCOPE)
  endfunction()
endif()
