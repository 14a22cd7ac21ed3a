# The sources of the Windows-free core, shared by the MinGW build and the
# native one (cmake/native) so both build the same code: the settings text
# model and menu texts (core/), the password cipher (common/) and the setup
# file reader (installer/).
get_filename_component(FAV_ROOT ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
set(FAV_CORE_LIB_SOURCES
  ${FAV_ROOT}/core/ini_text.cpp
  ${FAV_ROOT}/common/string_cipher.cpp
  ${FAV_ROOT}/installer/un_tolvanesetup.cpp)
set(FAV_CORE_INCLUDE_DIRS ${FAV_ROOT}/core)
# Its headers that live beside the Windows code, reached one by one.
set(FAV_CORE_HEADER_DIRS ${FAV_ROOT}/common ${FAV_ROOT}/installer)
