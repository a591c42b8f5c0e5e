# GoogleTest for the Windows cross build, compiled from the source that
# Debian's googletest package puts into /usr/src/googletest. Provides the
# targets GTest::gtest and GTest::gtest_main like the system's package.
set(ZW_GTEST_QUELLE /usr/src/googletest CACHE PATH "GoogleTest source for the cross build")

if(NOT TARGET GTest::gtest)
    if(NOT EXISTS ${ZW_GTEST_QUELLE}/CMakeLists.txt)
        message(FATAL_ERROR "GoogleTest-Quellen fehlen in ${ZW_GTEST_QUELLE} (Paket googletest)")
    endif()
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    # GoogleTest's own warnings are not this project's.
    add_subdirectory(${ZW_GTEST_QUELLE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
    foreach(ziel gtest gtest_main)
        target_compile_options(${ziel} PRIVATE -Wno-error)
    endforeach()
endif()
set(GTest_FOUND TRUE)
set(GTEST_FOUND TRUE)
