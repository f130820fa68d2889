# Compiler settings shared by every target of the project.
add_library(utq_settings INTERFACE)
target_compile_options(utq_settings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion
  -Wno-missing-field-initializers -Wnon-virtual-dtor -Woverloaded-virtual -Wold-style-cast -Wcast-qual)
target_compile_definitions(utq_settings INTERFACE
  QT_NO_CAST_TO_ASCII QT_NO_NARROWING_CONVERSIONS_IN_CONNECT)
if(UTQ_WERROR)
  target_compile_options(utq_settings INTERFACE -Werror)
endif()
if(UTQ_FUZZ)
  # Coverage for libFuzzer in every library the fuzzers link, and the sanitizers.
  target_compile_options(utq_settings INTERFACE -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  target_link_options(utq_settings INTERFACE -fsanitize=address,undefined)
endif()
if(UTQ_SANITIZE)
  target_compile_options(utq_settings INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(utq_settings INTERFACE -fsanitize=address,undefined)
endif()
