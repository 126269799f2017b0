# Product configuration compiled into the installer. Everything that the
# installer calls a configured default lives here and nowhere else.
set(TL_VERSION_MAJOR 26)
set(TL_VERSION_MINOR 12)
set(TL_VERSION_BUILD 0)
set(TL_VERSION_PATCH 1)
set(TL_VERSION "${TL_VERSION_MAJOR}.${TL_VERSION_MINOR}.${TL_VERSION_BUILD}.${TL_VERSION_PATCH}")

# Where slow one-time work (MinGW libcrypto builds, Wine prefix template) is
# cached on this machine, outside the clone.
set(TL_CACHE_DIR "/var/cache/tolvar-lite" CACHE PATH "Machine-wide build cache")

configure_file(${CMAKE_CURRENT_LIST_DIR}/product_config.h.in
               ${CMAKE_BINARY_DIR}/generated/product_config.h @ONLY)
