# Flags shared by both builds. Single-precision arithmetic must follow the written order in
# both builds, so contraction into fused multiply-adds is off and fast-math is never used.
add_compile_options(-Wall -Wextra -Werror -ffp-contract=off -fno-fast-math)

if(WIN32)
  # The DLL and the test programs must run without the compiler's runtime DLLs beside them.
  add_link_options(-static -static-libgcc -static-libstdc++)
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX UNICODE _UNICODE)
else()
  # A plug-in library keeps only the code its exported entry points reach; the toolkit's and the
  # host's unused members stay out of what every Linux host loads.
  add_compile_options(-ffunction-sections -fdata-sections)
  add_link_options("$<$<STREQUAL:$<TARGET_PROPERTY:TYPE>,SHARED_LIBRARY>:LINKER:--gc-sections>"
                   "$<$<STREQUAL:$<TARGET_PROPERTY:TYPE>,MODULE_LIBRARY>:LINKER:--gc-sections>")
endif()

if(FERROWIN_SANITIZE)
  add_compile_options(-fsanitize=address,undefined,float-cast-overflow -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined,float-cast-overflow)
endif()

if(FERROWIN_TSAN)
  if(FERROWIN_SANITIZE)
    message(FATAL_ERROR "ThreadSanitizer cannot be combined with AddressSanitizer")
  endif()
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

if(FERROWIN_FUZZ)
  # Coverage for libFuzzer in every library; the fuzzers themselves link its driver.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
