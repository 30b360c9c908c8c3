# Installs the build into a scratch prefix and checks the layout that Linux
# users get: the program in bin/, the extension package and the unpacked
# extension in share/velmor/. Run with -DBUILD=<build folder> -DPREFIX=<scratch>.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${status}")
endif()

foreach(path bin/velmor share/velmor/velmor-extension.vsix)
    if(NOT EXISTS ${PREFIX}/${path})
        message(FATAL_ERROR "${path} was not installed")
    endif()
endforeach()
# The unpacked extension holds its own files only, not the package's two.
set(expected README.md language-configuration.json out/extension.js package.json snippets/velmor.json
    syntaxes/velmor.tmLanguage.json)
file(GLOB_RECURSE installed RELATIVE ${PREFIX}/share/velmor/editor ${PREFIX}/share/velmor/editor/*)
list(SORT installed)
list(SORT expected)
if(NOT installed STREQUAL expected)
    message(FATAL_ERROR "share/velmor/editor differs\n  expected: ${expected}\n  installed: ${installed}")
endif()
file(REMOVE_RECURSE ${PREFIX})
