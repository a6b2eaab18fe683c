# korvex_subsistema(<name> [LIBS ...] [UI_LIBS ...])
# A subsystem folder as two libraries: korvex_<name> from the folder's own files (logic, no
# widgets) and korvex_<name>_ui from ui/ (its windows, made known to the module frame by the
# subsystem's registraJanelas(), which the program calls).
function(korvex_subsistema name)
  cmake_parse_arguments(S "" "" "LIBS;UI_LIBS" ${ARGN})
  set(dir ${CMAKE_CURRENT_SOURCE_DIR})
  file(GLOB logica CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
  add_library(korvex_${name} STATIC ${logica})
  target_include_directories(korvex_${name} PUBLIC ${dir})
  target_link_libraries(korvex_${name} PUBLIC korvex_core korvex_data Qt6::Core Qt6::Sql ${S_LIBS})

  if(NOT TARGET korvex_core_ui)
    return()
  endif()
  file(GLOB janelas CONFIGURE_DEPENDS ${dir}/ui/*.cpp ${dir}/ui/*.h)
  if(NOT janelas)
    return()
  endif()
  add_library(korvex_${name}_ui STATIC ${janelas})
  target_include_directories(korvex_${name}_ui PUBLIC ${dir}/ui)
  target_link_libraries(korvex_${name}_ui PUBLIC korvex_${name} korvex_core_ui Qt6::Widgets ${S_UI_LIBS})
endfunction()
