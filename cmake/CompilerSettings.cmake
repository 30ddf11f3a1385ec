# SPDX-License-Identifier: MIT
# Settings shared by every target of the tree.

# The sidereal arithmetic must round exactly as written: no fused multiply-adds,
# no value-changing optimisations.
add_compile_options(-ffp-contract=off -fno-fast-math)

# Warnings are kept at zero; CI builds with -Werror through VANTORIL_WERROR.
option(VANTORIL_WERROR "Treat compiler warnings as errors" OFF)
add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)
if(VANTORIL_WERROR)
  add_compile_options(-Werror)
endif()

if(VANTORIL_SANITIZE)
  # No recovery: the first report ends the run with a failure.
  set(_vantoril_san -fsanitize=address,undefined,float-cast-overflow -fno-sanitize-recover=all
                    -fno-omit-frame-pointer)
  add_compile_options(${_vantoril_san})
  add_link_options(${_vantoril_san})
endif()

# Hardened as Debian builds its packages: fortified C library calls, stack
# protector, relocations read-only and bound at start-up. Fortify needs an
# optimised build; the sanitizer and fuzz builds instrument instead.
if(NOT VANTORIL_SANITIZE AND NOT VANTORIL_FUZZ)
  add_compile_options("$<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>"
                      -fstack-protector-strong)
  add_link_options(-Wl,-z,relro,-z,now)
endif()
