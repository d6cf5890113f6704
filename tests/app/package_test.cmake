# Makes the Debian package from the built tree, unpacks it into a temporary folder and runs kelvra-calc
# from there: the package holds what the desktop and the package manager need, depends on Debian's Qt
# packages and passes lintian without errors.
set(work ${WORK}/package-test)
file(REMOVE_RECURSE ${work})
file(MAKE_DIRECTORY ${work})
execute_process(COMMAND ${CPACK} -G DEB --config ${BUILD}/CPackConfig.cmake -B ${work}
                WORKING_DIRECTORY ${BUILD} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
file(GLOB debs ${work}/kelvra_*.deb)
list(LENGTH debs n)
if(NOT rc EQUAL 0 OR NOT n EQUAL 1)
    message(FATAL_ERROR "cpack -G DEB made no package: ${rc} ${out}")
endif()
execute_process(COMMAND dpkg-deb -x ${debs} ${work}/root RESULT_VARIABLE rc)
execute_process(COMMAND dpkg-deb -f ${debs} Package Depends OUTPUT_VARIABLE control)
if(NOT rc EQUAL 0 OR NOT control MATCHES "Package: kelvra\n" OR NOT control MATCHES "libqt6widgets6"
   OR NOT control MATCHES "libqt6printsupport6" OR NOT control MATCHES "libqt6charts6")
    message(FATAL_ERROR "the package does not unpack or does not depend on Debian's Qt: ${control}")
endif()
set(root ${work}/root/usr)
foreach(f bin/kelvra bin/kelvra-calc lib/kelvra/kelvra lib/kelvra/English_lng.ini share/applications/kelvra.desktop
          share/icons/hicolor/scalable/apps/kelvra.svg share/metainfo/kelvra.metainfo.xml
          share/man/man1/kelvra-calc.1.gz share/doc/kelvra/copyright)
    if(NOT EXISTS ${root}/${f})
        message(FATAL_ERROR "not in the package: /usr/${f}")
    endif()
endforeach()
execute_process(COMMAND ${root}/bin/kelvra-calc --decimal . --set h2=50 --boards RESULT_VARIABLE rc
                OUTPUT_VARIABLE out TIMEOUT 30)
if(NOT rc EQUAL 0 OR NOT out MATCHES "Outer Volume: 80 Liter")
    message(FATAL_ERROR "kelvra-calc from the package: ${rc} ${out}")
endif()
find_program(LINTIAN lintian)
if(LINTIAN)
    execute_process(COMMAND ${LINTIAN} --no-cfg --fail-on error ${debs} RESULT_VARIABLE rc OUTPUT_VARIABLE out
                    ERROR_VARIABLE out TIMEOUT 120)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "lintian: ${out}")
    endif()
endif()
file(REMOVE_RECURSE ${work})
