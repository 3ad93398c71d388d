# umbrix_module(NAME OBJECTS ENTRY LIBS...): a loadable module NAME.so of the command line,
# built beside the program and installed in LIBDIR/umbrix. It holds the OBJECTS and the ENTRY
# source and links LIBS, but not the core: that it resolves from the program, which exports it.
function(umbrix_module name objects entry)
  add_library(${name} MODULE ${entry} $<TARGET_OBJECTS:${objects}>)
  set_target_properties(${name} PROPERTIES PREFIX "" LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  target_include_directories(${name} PRIVATE
    $<TARGET_PROPERTY:umbrix_core,INTERFACE_INCLUDE_DIRECTORIES>)
  target_compile_definitions(${name} PRIVATE
    $<TARGET_PROPERTY:umbrix_core,INTERFACE_COMPILE_DEFINITIONS>)
  target_link_libraries(${name} PRIVATE ${ARGN})
  install(TARGETS ${name} LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/umbrix)
endfunction()
