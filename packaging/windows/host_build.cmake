# cmake -DSOURCE=<tree> -DHOST=<folder> -P host_build.cmake: makes the sample word books, the
# pictures and the icon PNGs in a native build of the tree (configured first when new), with
# the host's compilers: the cross build's environment must not leak in.
find_program(ccache ccache)
set(launcher)
if(ccache)
  set(launcher -DCMAKE_CXX_COMPILER_LAUNCHER=${ccache} -DCMAKE_C_COMPILER_LAUNCHER=${ccache})
endif()
if(NOT EXISTS ${HOST}/CMakeCache.txt)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env --unset=CC --unset=CXX --unset=RC
            ${CMAKE_COMMAND} -S ${SOURCE} -B ${HOST} -G Ninja -DCMAKE_BUILD_TYPE=Release
            -DVANTLE_WITH_QT=ON -DVANTLE_TESTS=OFF -DVANTLE_BENCH=OFF
            ${launcher}
    COMMAND_ERROR_IS_FATAL ANY)
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${HOST} -j2 --target vantle_sample_books
                        vantle_pictures vantle_icon
                COMMAND_ERROR_IS_FATAL ANY)
