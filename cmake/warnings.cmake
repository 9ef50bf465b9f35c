# Warnings for the project's own targets, not for third-party code built
# beside them (GoogleTest in the cross build): set once, at the end of the
# top-level list, on every compiled target defined under the source tree.
# They are errors with BOTTLES_WERROR, which the test scripts turn on.
function(bottles_warnings dir)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target ${targets})
    get_target_property(type ${target} TYPE)
    if(type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|OBJECT_LIBRARY)$")
      target_compile_options(${target} PRIVATE -Wall -Wextra -Wconversion
        # clang's -Wconversion also means -Wsign-conversion, which g++'s does not.
        $<$<CXX_COMPILER_ID:Clang>:-Wno-sign-conversion>
        $<$<BOOL:${BOTTLES_WERROR}>:-Werror>)
    endif()
  endforeach()
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(subdir ${subdirs})
    cmake_path(IS_PREFIX PROJECT_SOURCE_DIR "${subdir}" ours)
    if(ours)
      bottles_warnings(${subdir})
    endif()
  endforeach()
endfunction()
