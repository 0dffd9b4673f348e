# AddressSanitizer and UndefinedBehaviorSanitizer for the whole dev build, so that
# shared libraries and executables share one runtime.
if(VANTREL_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
