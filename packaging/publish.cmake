# What is published beside the packages, once the last of them is made (a post-build script,
# after the zip and the MSI): SHA256SUMS, for `sha256sum -c`, and the winget manifest of the
# installer and the MSI (winget/*.yaml.in), with the version and the packages' SHA-256 filled
# in. Both are written after signing, so they describe the files as published.
if(NOT CPACK_GENERATOR STREQUAL "ZIP")
  return()
endif()
set(version "${CPACK_PACKAGE_VERSION}")
set(out "${CPACK_PACKAGE_DIRECTORY}")
# CPack copies the zip into the packages' folder only after this script.
list(FILTER CPACK_PACKAGE_FILES INCLUDE REGEX "\\.zip$")
set(setup "Tapster-${version}-setup.exe")
set(msi "Tapster-${version}.msi")

set(sums "")
foreach(file IN ITEMS "${CPACK_PACKAGE_FILES}" "${out}/${setup}" "${out}/${msi}")
  if(EXISTS "${file}")
    file(SHA256 "${file}" sha256)
    get_filename_component(name "${file}" NAME)
    string(APPEND sums "${sha256}  ${name}\n")
    string(MAKE_C_IDENTIFIER "${name}" key)
    string(TOUPPER "${sha256}" sha256_${key})
  endif()
endforeach()
file(WRITE "${out}/SHA256SUMS" "${sums}")
message(STATUS "Checksums: ${out}/SHA256SUMS generated.")

string(MAKE_C_IDENTIFIER "${setup}" setup_key)
string(MAKE_C_IDENTIFIER "${msi}" msi_key)
if(NOT DEFINED sha256_${setup_key} OR NOT DEFINED sha256_${msi_key})
  message(WARNING "No winget manifest: it needs both ${setup} and ${msi}")
  return()
endif()

# The values from the configure options go into single-quoted YAML strings.
function(yaml_text out value)
  string(REPLACE "'" "''" value "${value}")
  set(${out} "'${value}'" PARENT_SCOPE)
endfunction()
yaml_text(ID "${CPACK_TAPSTER_WINGET_ID}")
yaml_text(VERSION "${version}")
yaml_text(PUBLISHER "${CPACK_PACKAGE_VENDOR}")
yaml_text(AUTHOR "${CPACK_TAPSTER_AUTHOR}")
yaml_text(PUBLISHER_URL "${CPACK_TAPSTER_ABOUT_URL}")
yaml_text(SUPPORT_URL "${CPACK_TAPSTER_HELP_URL}")
yaml_text(DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION_SUMMARY}")
yaml_text(SETUP_URL "${CPACK_TAPSTER_DOWNLOAD_URL}/${setup}")
yaml_text(MSI_URL "${CPACK_TAPSTER_DOWNLOAD_URL}/${msi}")
set(SETUP_SHA256 "${sha256_${setup_key}}")
set(MSI_SHA256 "${sha256_${msi_key}}")
# As make_msi.cmake makes it.
string(UUID MSI_PRODUCT_CODE NAMESPACE "${CPACK_TAPSTER_MSI_UPGRADE_CODE}"
       NAME "Tapster ${version}" TYPE SHA1 UPPER)
set(MSI_UPGRADE_CODE "${CPACK_TAPSTER_MSI_UPGRADE_CODE}")

set(manifest "${out}/winget")
file(REMOVE_RECURSE "${manifest}")
set(templates "${CPACK_TAPSTER_WINGET_TEMPLATES}")
configure_file("${templates}/version.yaml.in" "${manifest}/${CPACK_TAPSTER_WINGET_ID}.yaml" @ONLY)
configure_file("${templates}/installer.yaml.in"
               "${manifest}/${CPACK_TAPSTER_WINGET_ID}.installer.yaml" @ONLY)
configure_file("${templates}/locale.en-US.yaml.in"
               "${manifest}/${CPACK_TAPSTER_WINGET_ID}.locale.en-US.yaml" @ONLY)
message(STATUS "winget manifest: ${manifest} generated.")
