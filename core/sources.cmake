# The sources of the Windows-free core, shared by the MinGW build and the
# native one so both build the same code.
get_filename_component(FAV_ROOT ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
set(FAV_CORE_LIB_SOURCES
  ${FAV_ROOT}/core/ini_text.cpp)
set(FAV_CORE_INCLUDE_DIRS ${FAV_ROOT}/core)
