# The layers as the compiler sees them. Every #include names its layer
# ("core/X.h", "platform/X.h"), but the repository root is no include folder:
# each target gets an include root in the build tree that holds a link named
# after its own layer only, and sees the roots of what it links. A core source
# that reaches for a platform header, or a platform source for a window's,
# finds nothing and does not compile.
#
# zw_schicht(<ziel> <PUBLIC|PRIVATE> <schicht> [DATEIEN <header>...])
# links the whole layer folder, or with DATEIEN only those headers of it (for
# a small target that lives in a layer's folder, such as the printer-port
# writer, whose users must not see the rest of that layer).
function(zw_schicht ziel art schicht)
    cmake_parse_arguments(PARSE_ARGV 3 zw "" "" "DATEIEN")
    set(wurzel ${CMAKE_BINARY_DIR}/schichten/${ziel})
    if(zw_DATEIEN)
        file(MAKE_DIRECTORY ${wurzel}/${schicht})
        foreach(datei IN LISTS zw_DATEIEN)
            file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${schicht}/${datei} ${wurzel}/${schicht}/${datei}
                 SYMBOLIC)
        endforeach()
    else()
        file(MAKE_DIRECTORY ${wurzel})
        file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${schicht} ${wurzel}/${schicht} SYMBOLIC)
    endif()
    target_include_directories(${ziel} ${art} ${wurzel})
endfunction()
