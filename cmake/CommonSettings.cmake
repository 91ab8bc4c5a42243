# One interface target that carries the language level and warnings for every target we build.
add_library(quorvane_settings INTERFACE)
target_compile_features(quorvane_settings INTERFACE cxx_std_20)
target_compile_options(quorvane_settings INTERFACE -Wall -Wextra -Wpedantic)
target_compile_definitions(quorvane_settings INTERFACE _FILE_OFFSET_BITS=64)

find_package(Threads REQUIRED)
find_package(ICU 72 REQUIRED COMPONENTS uc i18n)

if(QUORVANE_BUILD_GUI)
    find_package(Qt6 6.4 REQUIRED COMPONENTS Core Gui Widgets PrintSupport DBus Network Svg Test)
    # Qt strictness for the front end: no silent conversions from 8-bit strings, every connect
    # names its context object.
    add_library(quorvane_qt_settings INTERFACE)
    target_link_libraries(quorvane_qt_settings INTERFACE quorvane_settings)
    target_compile_definitions(quorvane_qt_settings INTERFACE QT_NO_CAST_FROM_ASCII
                               QT_NO_CAST_TO_ASCII QT_NO_CONTEXTLESS_CONNECT QT_NO_URL_CAST_FROM_STRING)
endif()
