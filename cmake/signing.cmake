# Authenticode-signed copies of executables, made with osslsigncode and the
# development code-signing certificate in tests/keys (never a release key).
# The signature carries the signing certificate and its issuer, uses SHA-256
# and has no timestamp (the build has no network).
#
#   tl_signed_copy(<target> INPUT <executable-target> OUTPUT <path>
#                  [CERT <pem> KEY <key> ISSUER <pem>])
#
# CERT, KEY and ISSUER sign with another chain than the development one.
find_program(TL_OSSLSIGNCODE osslsigncode)
set(TL_TEST_KEYS_DIR ${CMAKE_SOURCE_DIR}/tests/keys)
set(TL_TEST_ROOT_CA_PEM ${TL_TEST_KEYS_DIR}/test_root_ca.pem)

function(tl_signed_copy name)
  cmake_parse_arguments(A "" "INPUT;OUTPUT;CERT;KEY;ISSUER" "" ${ARGN})
  if(NOT TL_OSSLSIGNCODE)
    message(WARNING "osslsigncode not found: ${A_OUTPUT} will not be made")
    return()
  endif()
  if(NOT A_CERT)
    set(A_CERT ${TL_TEST_KEYS_DIR}/test_signing.pem)
    set(A_KEY ${TL_TEST_KEYS_DIR}/test_signing.key)
    set(A_ISSUER ${TL_TEST_ROOT_CA_PEM})
  endif()
  set(keys ${A_CERT} ${A_KEY} ${A_ISSUER})
  add_custom_command(OUTPUT ${A_OUTPUT}
    # osslsigncode will not write over an existing file.
    COMMAND ${CMAKE_COMMAND} -E remove -f ${A_OUTPUT}
    COMMAND ${TL_OSSLSIGNCODE} sign
            -certs ${A_CERT} -key ${A_KEY} -ac ${A_ISSUER}
            -h sha256 -n "Tolvar Browser"
            -in $<TARGET_FILE:${A_INPUT}> -out ${A_OUTPUT}
    DEPENDS ${A_INPUT} ${keys}
    COMMENT "Signing ${A_OUTPUT} with the test certificate"
    VERBATIM)
  add_custom_target(${name} ALL DEPENDS ${A_OUTPUT})
endfunction()
