# The sources of the Windows-free core, shared by the MinGW build and the
# native one (cmake/native) so both build the same code: the settings text
# model and menu texts (plugin/), the code-page interface, the password
# cipher and the shared text rules (common/) and the setup file reader (installer/). Nothing here
# includes <windows.h>.
get_filename_component(FAV_ROOT ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
set(FAV_CORE_LIB_SOURCES
  ${FAV_ROOT}/plugin/ini_text.cpp
  ${FAV_ROOT}/common/ascii_case.cpp
  ${FAV_ROOT}/common/settings_number.cpp
  ${FAV_ROOT}/common/file_path.cpp
  ${FAV_ROOT}/common/string_cipher.cpp
  ${FAV_ROOT}/installer/un_tolvanesetup.cpp)
# Its headers live beside the Windows code of their folders and are reached
# one by one; only the files above and the headers they include are built
# natively.
set(FAV_CORE_INCLUDE_DIRS ${FAV_ROOT}/plugin ${FAV_ROOT}/common ${FAV_ROOT}/installer)
# The favorites list model: the MinGW build takes these files with the rest
# of plugin/; the native one builds them with cmake/native/text_order_portable.cpp
# in place of the system's text order (plugin/text_order.cpp).
set(FAV_MODEL_SOURCES
  ${FAV_ROOT}/plugin/favorites_list.cpp
  ${FAV_ROOT}/plugin/favorite_add.cpp
  ${FAV_ROOT}/plugin/submenu_list.cpp
  ${FAV_ROOT}/plugin/list_exchange.cpp
  ${FAV_ROOT}/plugin/relink.cpp
  ${FAV_ROOT}/plugin/un_favoriteCollections.cpp)
