# The libraries Debian packages only for Linux, built for Windows from their Debian sources,
# which scripts/windows.sh fetches into VANTLE_THIRD_PARTY (the SQLite amalgamation made from
# sqlite3's source package, SQLiteCpp's source package, GoogleTest's sources that
# libgtest-dev ships). They make the same targets the Linux build finds installed.
set(VANTLE_THIRD_PARTY "" CACHE PATH "The third-party sources fetched by scripts/windows.sh")
if(NOT EXISTS ${VANTLE_THIRD_PARTY}/sqlite/sqlite3.c)
  message(FATAL_ERROR "No SQLite amalgamation in VANTLE_THIRD_PARTY: run scripts/windows.sh")
endif()
enable_language(C)

add_library(sqlite3 STATIC ${VANTLE_THIRD_PARTY}/sqlite/sqlite3.c)
target_include_directories(sqlite3 SYSTEM PUBLIC ${VANTLE_THIRD_PARTY}/sqlite)
# As Debian builds it: threads safe, the features the journal's checks use.
target_compile_definitions(sqlite3 PUBLIC SQLITE_THREADSAFE=1 SQLITE_ENABLE_DBSTAT_VTAB
                                          SQLITE_ENABLE_COLUMN_METADATA SQLITE_DEFAULT_FOREIGN_KEYS=0)
target_compile_options(sqlite3 PRIVATE -w)

file(GLOB vantle_sqlitecpp_sources ${VANTLE_THIRD_PARTY}/sqlitecpp/src/*.cpp)
add_library(SQLiteCpp STATIC ${vantle_sqlitecpp_sources})
target_include_directories(SQLiteCpp SYSTEM PUBLIC ${VANTLE_THIRD_PARTY}/sqlitecpp/include)
target_link_libraries(SQLiteCpp PUBLIC sqlite3)
target_compile_options(SQLiteCpp PRIVATE -w)

if(VANTLE_TESTS OR VANTLE_BENCH)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  # GoogleTest's own build names its targets GTest::gtest and so on, as the installed one does.
  foreach(lib gtest gtest_main gmock gmock_main)
    target_compile_options(${lib} PRIVATE -w)
  endforeach()
endif()
