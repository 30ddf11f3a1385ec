# SPDX-License-Identifier: MIT
# Layers: each library sees the headers of its own folder and of the layers
# it links, and no others, so that an include pointing up the tree does not
# compile. A target's headers are reached through a folder of the build tree
# that holds one link, named as the source folder is (runtime/, astro/time/,
# cli/print/ ...), to that folder alone.
#
#   vantoril_layer(TARGET FOLDER)   FOLDER relative to the source tree
function(vantoril_layer target folder)
  set(_stage ${PROJECT_BINARY_DIR}/layers/${target})
  cmake_path(GET folder PARENT_PATH _parent)
  file(MAKE_DIRECTORY ${_stage}/${_parent})
  if(NOT EXISTS ${_stage}/${folder})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${_stage}/${folder} SYMBOLIC)
  endif()
  target_include_directories(${target} PUBLIC ${_stage})
  target_compile_features(${target} PUBLIC cxx_std_20)
endfunction()
