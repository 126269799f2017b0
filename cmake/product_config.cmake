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


# Service hosts the installer talks to (scheme and host, no trailing slash).
# Development values: the end-to-end build routes all of them to a loopback
# test server (base/endpoints.h).
set(TL_DOWNLOAD_CDN_HOST "https://download.tolvar.example")
set(TL_LEGAL_HOST "https://legal.tolvar.example")
set(TL_BROWSER_API_HOST "https://api.browser.tolvar.example")
set(TL_WEBNTP_HOST "https://ntp.tolvar.example")
set(TL_STATS_HOST "https://stat.tolvar.example")
set(TL_REPORT_HOST "https://report.tolvar.example")
set(TL_CRASH_HOST "https://crash.tolvar.example")
# The five regional download sites of the landing page.
set(TL_SITE1_HOST "https://browser.tolvar.example")
set(TL_SITE2_HOST "https://by.browser.tolvar.example")
set(TL_SITE3_HOST "https://int.browser.tolvar.example")
set(TL_SITE4_HOST "https://tb.browser.tolvar.example")
set(TL_SITE5_HOST "https://ua.browser.tolvar.example")
# The browser site of the error dialogs, in its four regional variants.
set(TL_BROWSER_SITE_HOST "https://www.tolvar.example")
set(TL_BROWSER_SITE_TR_HOST "https://tr.tolvar.example")
set(TL_BROWSER_SITE_INT_HOST "https://int.tolvar.example")
set(TL_BROWSER_SITE_UA_HOST "https://ua.tolvar.example")

# The ten RSA keys that sign trust documents (TRUSTED.JSON) of modules.
include(${CMAKE_CURRENT_LIST_DIR}/trust_keys.cmake)

configure_file(${CMAKE_CURRENT_LIST_DIR}/product_config.h.in
               ${CMAKE_BINARY_DIR}/generated/product_config.h @ONLY)
