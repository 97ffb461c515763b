# The folders of the program and the folders each may use. A row names the folders directly below it; a
# folder may use those and everything they may use, so every arrow runs down. A folder not in the table,
# an include or a link that runs up or sideways (one window folder reaching another) fails the
# configuration. This table is the one place the arrows are written; the README draws the same picture.
set(VELTRIX_LAYERS
  # plain C++
  "engine"
  "files"
  "product_texts         engine"
  "report                engine"
  "outline_geometry      engine"
  "judgement             report outline_geometry"
  "quote_form            product_texts"
  "finder                engine"
  "selection_options     finder"
  "exports               judgement files"
  "measured              exports"
  "compare               measured finder"
  "datasheet_content     judgement finder exports product_texts"
  "cli                   selection_options judgement compare"
  # the thin layer over Qt, and the records every window reads
  "resources"
  "platform              files resources"
  "program               judgement product_texts platform"
  "printing              program"
  # the window folders: none uses another
  "specification_window  printing"
  "outline_window        printing outline_geometry"
  "tabular_window        printing report exports"
  "finder_window         printing finder"
  "compare_window        printing compare"
  "info                  printing quote_form"
  # the datasheet puts the specification screen's graph and the outline drawings on its pages
  "datasheet             specification_window outline_window datasheet_content selection_options"
  "app                   specification_window outline_window tabular_window finder_window compare_window info
                         datasheet selection_options"
  "bench                 app cli"
)
# Used by every folder: the generated version header.
set(VELTRIX_LAYERS_SHARED version)
# Use any folder: the tests.
set(VELTRIX_LAYERS_UNCHECKED tests)

# The folders `folder` may use, directly or through others.
function(_veltrix_layer_reach folder out)
  set(_reach)
  set(_queue ${folder})
  while(_queue)
    list(POP_FRONT _queue _f)
    foreach(_below IN LISTS _veltrix_below_${_f})
      if(NOT _below IN_LIST _reach)
        list(APPEND _reach ${_below})
        list(APPEND _queue ${_below})
      endif()
    endforeach()
  endwhile()
  set(${out} ${_reach} PARENT_SCOPE)
endfunction()

# The folder of the project a path lies in ("" outside the project).
function(_veltrix_folder_of path out)
  cmake_path(RELATIVE_PATH path BASE_DIRECTORY ${CMAKE_SOURCE_DIR} OUTPUT_VARIABLE _relative)
  string(REGEX MATCH "^[^/.][^/]*" _folder "${_relative}")
  if(_relative STREQUAL "." OR _relative MATCHES "^\\.\\.")
    set(_folder "")
  endif()
  set(${out} "${_folder}" PARENT_SCOPE)
endfunction()

function(_veltrix_targets_under dir out)
  get_property(_targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(_subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(_sub IN LISTS _subdirs)
    _veltrix_targets_under(${_sub} _more)
    list(APPEND _targets ${_more})
  endforeach()
  set(${out} ${_targets} PARENT_SCOPE)
endfunction()

# Every target's links and every `#include "folder/` of the sources under a folder use only the folders
# that folder may use. Call it at the end of the top-level list, once every target is known.
function(veltrix_check_layers)
  set(_folders)
  foreach(_row IN LISTS VELTRIX_LAYERS)
    string(REGEX MATCHALL "[^ \t\n]+" _words "${_row}")
    list(POP_FRONT _words _folder)
    list(APPEND _folders ${_folder})
    set(_veltrix_below_${_folder} ${_words})
  endforeach()
  foreach(_folder IN LISTS _folders)
    foreach(_below IN LISTS _veltrix_below_${_folder})
      if(NOT _below IN_LIST _folders)
        message(FATAL_ERROR "The layer table lets ${_folder} use ${_below}, which has no row of its own")
      endif()
    endforeach()
  endforeach()

  _veltrix_targets_under(${CMAKE_SOURCE_DIR} _targets)
  foreach(_target IN LISTS _targets)
    get_target_property(_dir ${_target} SOURCE_DIR)
    _veltrix_folder_of(${_dir} _folder)
    if(_folder STREQUAL "" OR _folder IN_LIST VELTRIX_LAYERS_UNCHECKED)
      continue()
    endif()
    if(NOT _folder IN_LIST _folders)
      message(FATAL_ERROR "${_folder}/ (target ${_target}) has no row in the layer table of "
                          "cmake/layers.cmake: add it with the folders it may use")
    endif()
    _veltrix_layer_reach(${_folder} _allowed)
    list(APPEND _allowed ${_folder} ${VELTRIX_LAYERS_SHARED})

    # Links: the project's own targets, wherever they were defined.
    get_target_property(_direct ${_target} LINK_LIBRARIES)
    get_target_property(_interface ${_target} INTERFACE_LINK_LIBRARIES)
    foreach(_lib IN LISTS _direct _interface)
      string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" _lib "${_lib}")
      string(REGEX REPLACE "^\\$<LINK_LIBRARY:[^,]*,(.*)>$" "\\1" _lib "${_lib}")
      if(NOT _lib OR NOT TARGET ${_lib})
        continue()
      endif()
      get_target_property(_aliased ${_lib} ALIASED_TARGET)
      if(_aliased)
        set(_lib ${_aliased})
      endif()
      get_target_property(_imported ${_lib} IMPORTED)
      if(_imported)
        continue()
      endif()
      get_target_property(_lib_dir ${_lib} SOURCE_DIR)
      _veltrix_folder_of(${_lib_dir} _used)
      if(NOT _used STREQUAL "" AND NOT _used IN_LIST _allowed)
        message(FATAL_ERROR "${_folder}/ may not use ${_used}/ (${_target} links ${_lib}); "
                            "see the layer table in cmake/layers.cmake")
      endif()
    endforeach()
  endforeach()

  # Includes: every source and header under each folder, whichever target builds it.
  foreach(_folder IN LISTS _folders)
    _veltrix_layer_reach(${_folder} _allowed)
    list(APPEND _allowed ${_folder} ${VELTRIX_LAYERS_SHARED})
    file(GLOB_RECURSE _files ${CMAKE_SOURCE_DIR}/${_folder}/*.h ${CMAKE_SOURCE_DIR}/${_folder}/*.cpp)
    foreach(_file IN LISTS _files)
      file(STRINGS ${_file} _includes REGEX "^[ \t]*#[ \t]*include[ \t]+\"[A-Za-z0-9_]+/")
      foreach(_line IN LISTS _includes)
        string(REGEX REPLACE "^[^\"]*\"([A-Za-z0-9_]+)/.*$" "\\1" _used "${_line}")
        if(_used IN_LIST _folders AND NOT _used IN_LIST _allowed)
          message(FATAL_ERROR "${_folder}/ may not use ${_used}/ (${_file} includes \"${_used}/\"); "
                              "see the layer table in cmake/layers.cmake")
        endif()
      endforeach()
    endforeach()
  endforeach()
endfunction()
