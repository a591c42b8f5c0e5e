# Raw output to the Braille embosser: plain C++ on the system's own calls,
# no Qt, so it builds for Windows as well. Included from this folder's
# CMakeLists.txt, and by the Windows build without Qt, which tests it too.
set(zw_hier ${CMAKE_CURRENT_LIST_DIR})
add_library(zw_druckport STATIC ${zw_hier}/Druckausgabe.h ${zw_hier}/Druckport.cpp)
target_include_directories(zw_druckport PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_features(zw_druckport PUBLIC cxx_std_20)
target_link_libraries(zw_druckport PUBLIC zw_core)
if(WIN32)
    target_sources(zw_druckport PRIVATE ${zw_hier}/DruckausgabeWindows.cpp)
else()
    find_package(Cups REQUIRED)
    find_package(Threads REQUIRED)
    target_sources(zw_druckport PRIVATE ${zw_hier}/DruckausgabePosix.cpp)
    target_link_libraries(zw_druckport PRIVATE Cups::Cups Threads::Threads)
endif()
