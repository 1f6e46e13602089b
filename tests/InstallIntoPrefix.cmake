# Installs the built project afresh into PREFIX/all, and its "tutorial" component alone into
# PREFIX/tutorial, as `cmake --install` does for a user: nothing is built here.
#   cmake -DBUILD_DIR=... -DPREFIX=... -P InstallIntoPrefix.cmake
file(REMOVE_RECURSE ${PREFIX})
foreach(step "all;" "tutorial;--component;tutorial")
    list(POP_FRONT step folder)
    execute_process(
        COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}/${folder} ${step}
        OUTPUT_QUIET RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "cmake --install into ${PREFIX}/${folder} failed")
    endif()
endforeach()
