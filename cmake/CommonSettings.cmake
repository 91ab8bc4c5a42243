# One interface target that carries the language level and warnings for every target we build.
add_library(quorvane_settings INTERFACE)
target_compile_features(quorvane_settings INTERFACE cxx_std_20)
target_compile_options(quorvane_settings INTERFACE -Wall -Wextra -Wpedantic)
target_compile_definitions(quorvane_settings INTERFACE _FILE_OFFSET_BITS=64)

find_package(Threads REQUIRED)
find_package(ICU 72 REQUIRED COMPONENTS uc i18n)
