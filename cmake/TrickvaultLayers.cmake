# Which library may use which. Each line: a library, its folder under src/, and the libraries it may
# link directly. A line may name only libraries on the lines above it, so the libraries form layers
# without a cycle: the pure ones first, then the Qt ones from the leaf widgets up to the program.
# tkv_check_layers() holds the build to this table, for links and for includes.

set_property(GLOBAL PROPERTY TKV_LAYERS "")

function(tkv_layer name folder)
  get_property(declared GLOBAL PROPERTY TKV_LAYERS)
  set(reach "")
  foreach(dep IN LISTS ARGN)
    if(NOT dep IN_LIST declared)
      message(FATAL_ERROR "Layer table: ${name} may use only libraries above it, and ${dep} is not")
    endif()
    get_property(dep_reach GLOBAL PROPERTY TKV_LAYER_REACH_${dep})
    list(APPEND reach ${dep} ${dep_reach})
  endforeach()
  list(REMOVE_DUPLICATES reach)
  string(REPLACE "/" "_" key "${folder}")
  set_property(GLOBAL APPEND PROPERTY TKV_LAYERS ${name})
  set_property(GLOBAL PROPERTY TKV_LAYER_FOLDER_${name} "${folder}")
  set_property(GLOBAL PROPERTY TKV_LAYER_ALLOWED_${name} "${ARGN}")
  set_property(GLOBAL PROPERTY TKV_LAYER_REACH_${name} "${reach}")
  set_property(GLOBAL PROPERTY TKV_FOLDER_LIBRARY_${key} ${name})
endfunction()

# Pure libraries (never Qt).
tkv_layer(tkv_shell         shell)
tkv_layer(tkv_platform      platform)
tkv_layer(tkv_appearance    appearance     tkv_shell tkv_platform)
tkv_layer(tkv_database      database       tkv_appearance tkv_shell tkv_platform)
tkv_layer(tkv_profiles      profiles       tkv_database tkv_shell)
tkv_layer(tkv_internet      internet       tkv_database tkv_shell tkv_platform)
tkv_layer(tkv_options       options        tkv_shell)
tkv_layer(tkv_search        search         tkv_database tkv_shell)
tkv_layer(tkv_context       context        tkv_appearance tkv_database tkv_profiles tkv_shell)
tkv_layer(tkv_app           app            tkv_context tkv_appearance tkv_database tkv_profiles tkv_internet
                                           tkv_shell tkv_platform)
tkv_layer(tkv_cli           cli            tkv_context tkv_profiles tkv_database tkv_internet tkv_search)
# Qt libraries.
tkv_layer(tkv_widgets       widgets)
tkv_layer(tkv_search_ui     search/ui      tkv_search)
tkv_layer(tkv_platform_qt   platform/qt    tkv_platform tkv_shell)
tkv_layer(tkv_appearance_ui appearance/ui  tkv_context tkv_appearance tkv_widgets tkv_platform_qt)
tkv_layer(tkv_tasks_ui      tasks/ui       tkv_appearance_ui tkv_context tkv_database tkv_shell)
tkv_layer(tkv_statistics_ui statistics/ui  tkv_appearance_ui tkv_context tkv_platform_qt)
tkv_layer(tkv_internet_ui   internet/ui    tkv_internet tkv_appearance_ui tkv_platform_qt tkv_context tkv_tasks_ui
                                           tkv_widgets)
tkv_layer(tkv_options_ui    options/ui     tkv_options tkv_internet_ui tkv_appearance_ui tkv_widgets tkv_context
                                           tkv_platform_qt)
tkv_layer(tkv_profiles_ui   profiles/ui    tkv_appearance_ui tkv_widgets tkv_profiles tkv_context tkv_platform_qt
                                           tkv_tasks_ui tkv_internet_ui tkv_options_ui)
tkv_layer(tkv_windows_ui    windows/ui     tkv_appearance_ui tkv_widgets tkv_database tkv_context tkv_tasks_ui
                                           tkv_profiles_ui tkv_statistics_ui tkv_internet_ui tkv_search_ui tkv_search)
tkv_layer(tkv_program       app/ui         tkv_app tkv_tasks_ui tkv_profiles_ui tkv_options_ui tkv_internet_ui
                                           tkv_windows_ui)

# The library that owns an include such as "options/ui/skins_panel.h" (its folder, else the folder's
# first part); empty for headers outside src/.
function(_tkv_owner_of_include include out)
  get_filename_component(dir "${include}" DIRECTORY)
  string(REPLACE "/" "_" key "${dir}")
  get_property(owner GLOBAL PROPERTY TKV_FOLDER_LIBRARY_${key})
  if(NOT owner)
    string(REGEX REPLACE "/.*" "" top "${dir}")
    get_property(owner GLOBAL PROPERTY TKV_FOLDER_LIBRARY_${top})
  endif()
  set(${out} "${owner}" PARENT_SCOPE)
endfunction()

# Fails the configuration when a library of ours is missing from the table, links a library of ours
# that its line does not name, or has a file that includes a header of a library it cannot reach.
function(tkv_check_layers)
  get_property(layers GLOBAL PROPERTY TKV_LAYERS)
  get_property(ours GLOBAL PROPERTY TKV_LIBRARIES)
  foreach(lib IN LISTS ours)
    if(NOT lib IN_LIST layers)
      message(FATAL_ERROR "Library ${lib} is missing from the layer table in cmake/TrickvaultLayers.cmake")
    endif()
  endforeach()
  foreach(lib IN LISTS layers)
    get_property(allowed GLOBAL PROPERTY TKV_LAYER_ALLOWED_${lib})
    get_property(reach GLOBAL PROPERTY TKV_LAYER_REACH_${lib})
    get_property(folder GLOBAL PROPERTY TKV_LAYER_FOLDER_${lib})
    get_target_property(links ${lib} LINK_LIBRARIES)
    foreach(link IN LISTS links)
      if(link IN_LIST ours AND NOT link IN_LIST allowed)
        message(FATAL_ERROR "${lib} links ${link}, which the layer table does not allow it")
      endif()
    endforeach()
    file(GLOB files "${PROJECT_SOURCE_DIR}/src/${folder}/*.h" "${PROJECT_SOURCE_DIR}/src/${folder}/*.cpp")
    foreach(file IN LISTS files)
      file(STRINGS "${file}" includes REGEX "^#include \"[^\"]+\"")
      foreach(line IN LISTS includes)
        string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" include "${line}")
        _tkv_owner_of_include("${include}" owner)
        if(owner AND NOT owner STREQUAL lib AND NOT owner IN_LIST reach)
          file(RELATIVE_PATH shown "${PROJECT_SOURCE_DIR}" "${file}")
          message(FATAL_ERROR "${shown} includes ${include} of ${owner}, which ${lib} may not use")
        endif()
      endforeach()
    endforeach()
  endforeach()
endfunction()
