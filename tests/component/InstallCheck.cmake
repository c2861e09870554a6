# Installs the build into a fresh prefix, then builds and runs a C host project against it
# through find_package and through pkg-config, and, when QT_CONSUMER_DIR is given, a Qt host
# that embeds the control widget (on Qt's offscreen platform).
# cmake -DBUILD_DIR=... -DWORK_DIR=... -DCONSUMER_DIR=... -DLIBDIR=... -DINCLUDEDIR=...
#       [-DQT_CONSUMER_DIR=...] -P InstallCheck.cmake
foreach(variable BUILD_DIR WORK_DIR CONSUMER_DIR LIBDIR INCLUDEDIR)
  if(NOT ${variable})
    message(FATAL_ERROR "${variable} is not set")
  endif()
endforeach()

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE output
                  ERROR_VARIABLE output TIMEOUT 600)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${ARGN} failed (${status}):\n${output}")
  endif()
endfunction()

set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${WORK_DIR})
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
foreach(installed ${INCLUDEDIR}/tarvine/tarvine_order_pick.h
        ${LIBDIR}/cmake/TarvineOrderPick/TarvineOrderPickConfig.cmake
        ${LIBDIR}/pkgconfig/tarvine-order-pick.pc ${LIBDIR}/libtarvine_order_pick.so
        bin/tarvine share/man/man1/tarvine.1.gz)
  if(NOT EXISTS ${prefix}/${installed})
    message(FATAL_ERROR "cmake --install did not put ${installed} in place")
  endif()
endforeach()

set(ENV{PKG_CONFIG_PATH} ${prefix}/${LIBDIR}/pkgconfig)
run(${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${WORK_DIR}/consumer -DCMAKE_PREFIX_PATH=${prefix}
    -DCMAKE_BUILD_TYPE=Release)
run(${CMAKE_COMMAND} --build ${WORK_DIR}/consumer)
run(${WORK_DIR}/consumer/consumer_cmake)
run(${WORK_DIR}/consumer/consumer_pkgconfig)

if(QT_CONSUMER_DIR)
  run(${CMAKE_COMMAND} -S ${QT_CONSUMER_DIR} -B ${WORK_DIR}/consumer_qt
      -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_BUILD_TYPE=Release)
  run(${CMAKE_COMMAND} --build ${WORK_DIR}/consumer_qt)
  run(${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${WORK_DIR}/consumer_qt/consumer_qt)
endif()
file(REMOVE_RECURSE ${WORK_DIR})
