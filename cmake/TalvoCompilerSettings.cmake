# Compiler flags shared by every target of the project. (No -Wshadow and no
# -Wnull-dereference: the
# QML compiler's generated code trips both.)

add_library(talvo_compiler_flags INTERFACE)
target_compile_options(talvo_compiler_flags INTERFACE
    -Wall -Wextra -Wpedantic -Wnon-virtual-dtor -Woverloaded-virtual
    -Wcast-align -Wformat=2 -Wimplicit-fallthrough)
target_compile_definitions(talvo_compiler_flags INTERFACE
    QT_NO_URL_CAST_FROM_STRING QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_DISABLE_DEPRECATED_BEFORE=0x060400)

if(TALVO_WERROR)
    target_compile_options(talvo_compiler_flags INTERFACE -Werror)
endif()

if(TALVO_SANITIZE)
    set(_talvo_san -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_compile_options(talvo_compiler_flags INTERFACE ${_talvo_san})
    target_link_options(talvo_compiler_flags INTERFACE ${_talvo_san})
endif()
