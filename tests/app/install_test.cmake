# Installs the build into a fresh prefix and runs what was installed: the files the desktop menu and
# the program need are there, kelvra-calc calculates, and kelvra starts offscreen and ends.
set(prefix ${WORK}/install-test-prefix)
file(REMOVE_RECURSE ${prefix})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${prefix} RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()
foreach(f bin/kelvra bin/kelvra-calc lib/kelvra/kelvra lib/kelvra/Dutch_lng.ini lib/kelvra/English_lng.ini
          lib/kelvra/kelvra_history.txt share/applications/kelvra.desktop
          share/icons/hicolor/scalable/apps/kelvra.svg "lib/kelvra/drivers/Generic 8-inch example.ini"
          "lib/kelvra/drivers/Generic 15-inch example.ini")
    if(NOT EXISTS ${prefix}/${f})
        message(FATAL_ERROR "not installed: ${f}")
    endif()
endforeach()
file(READ ${prefix}/share/applications/kelvra.desktop desktop)
if(NOT desktop MATCHES "\nExec=kelvra" OR NOT desktop MATCHES "\nIcon=kelvra\n")
    message(FATAL_ERROR "the desktop entry does not start kelvra with its icon")
endif()

execute_process(COMMAND ${prefix}/bin/kelvra-calc --decimal , --set h2=50 --json RESULT_VARIABLE rc
                OUTPUT_VARIABLE out TIMEOUT 30)
if(NOT rc EQUAL 0 OR NOT out MATCHES "\"h2\":\"50\"")
    message(FATAL_ERROR "installed kelvra-calc: ${rc} ${out}")
endif()

# Through the link in bin/, the program finds its language files and writes its settings in lib/kelvra/.
set(ENV{QT_QPA_PLATFORM} offscreen)
set(ENV{KELVRA_SCREENSHOT} ${prefix}/shot.png)
execute_process(COMMAND ${prefix}/bin/kelvra RESULT_VARIABLE rc TIMEOUT 60 OUTPUT_QUIET ERROR_QUIET)
if(NOT rc EQUAL 0 OR NOT EXISTS ${prefix}/shot.png)
    message(FATAL_ERROR "installed kelvra did not start and end: ${rc}")
endif()
file(READ ${prefix}/lib/kelvra/kelvra.ini settings)
if(NOT settings MATCHES "USE=2" OR NOT settings MATCHES "\\[Settings\\]" OR NOT settings MATCHES "\\[LU\\]")
    message(FATAL_ERROR "installed kelvra wrote no start and exit settings beside itself: ${settings}")
endif()
file(REMOVE_RECURSE ${prefix})
