# A module's trust document and its signature, made at build time by
# trust_tool and compiled into a Windows target as the resources
# "TRUSTED.JSON" (type "TRUSTED_JSON") and "SIGNATURE.DAT" (type
# "SIGNATURE_DAT").
#
#   tl_add_trust_resources(<target> KEY_NUMBER <n> KEY <trust_key_n.pem>
#                          SIGNER <cert.pem> ISSUER <cert.pem>
#                          [NO_PUB_KEY] [APPEND <trusted.json>] [JSON <trusted.json>])
#
# The document lists SIGNER (issued by ISSUER) with the SHA-256 of its public
# key, or without it given NO_PUB_KEY; APPEND puts the certificates of an
# existing document before that entry. JSON takes the given document as it
# is instead (SIGNER and ISSUER are then not needed). KEY signs it as key
# number KEY_NUMBER. Call it in the directory that defines <target>.
function(tl_add_trust_resources target)
  cmake_parse_arguments(A "NO_PUB_KEY" "KEY_NUMBER;KEY;SIGNER;ISSUER;JSON;APPEND" "" ${ARGN})
  if(NOT WIN32)
    message(FATAL_ERROR "tl_add_trust_resources(${target}): resources need a Windows build")
  endif()
  if(A_KEY_NUMBER STREQUAL "" OR NOT A_KEY)
    message(FATAL_ERROR "tl_add_trust_resources(${target}): KEY_NUMBER and KEY are required")
  endif()
  if(NOT A_JSON AND (NOT A_SIGNER OR NOT A_ISSUER))
    message(FATAL_ERROR "tl_add_trust_resources(${target}): SIGNER and ISSUER, or JSON")
  endif()
  tl_host_tool_path(tool trust_tool)
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/${target}_trust)
  set(json ${dir}/TRUSTED.JSON)
  set(signature ${dir}/SIGNATURE.DAT)

  if(A_JSON)
    add_custom_command(OUTPUT ${json}
      COMMAND ${CMAKE_COMMAND} -E copy ${A_JSON} ${json}
      DEPENDS ${A_JSON}
      VERBATIM)
  else()
    set(options)
    if(A_NO_PUB_KEY)
      list(APPEND options --no-pub-key)
    endif()
    if(A_APPEND)
      list(APPEND options --append ${A_APPEND})
    endif()
    add_custom_command(OUTPUT ${json}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
      COMMAND ${tool} json --signer ${A_SIGNER} --issuer ${A_ISSUER} ${options} --out ${json}
      DEPENDS ${A_SIGNER} ${A_ISSUER} ${A_APPEND} ${TL_HOST_TOOLS_TARGET}
      COMMENT "Trust document of ${target}"
      VERBATIM)
  endif()
  add_custom_command(OUTPUT ${signature}
    COMMAND ${tool} sign --key-number ${A_KEY_NUMBER} --key ${A_KEY} --in ${json}
            --out ${signature}
    DEPENDS ${json} ${A_KEY} ${TL_HOST_TOOLS_TARGET}
    COMMENT "Signing the trust document of ${target} with key ${A_KEY_NUMBER}"
    VERBATIM)
  add_custom_target(${target}_trust_files DEPENDS ${json} ${signature})

  set(rc ${dir}/trust_resources.rc)
  # Unquoted names: windres joins a quoted name to the file name before it.
  file(CONFIGURE OUTPUT ${rc} CONTENT
       "TRUSTED.JSON TRUSTED_JSON \"${json}\"\nSIGNATURE.DAT SIGNATURE_DAT \"${signature}\"\n")
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${json};${signature}")
  target_sources(${target} PRIVATE ${rc})
  add_dependencies(${target} ${target}_trust_files)
endfunction()
