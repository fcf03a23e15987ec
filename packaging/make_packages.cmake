# cmake -D BUILD_DIR=... -D OUT=... -D VERSION=... -D ARCH=x64|x86 -D BITS=64|32
#   -D WIXL=... -D MSIBUILD=... -D WINDRES=... -D PRINT_REGISTRATION=...
#   -D MANUFACTURER=... -P make_packages.cmake
# Installs the build's two components into OUT/stage, writes the WiX source
# of the installed tree (OUT/wix/Veltrano.wxs: the files named relative to the
# tree's folder, where wixl runs, and the version left as the variable
# Version, so that another version of the same tree can be made from it),
# makes the packages, and gives the package's programs the file versions of
# their version resources (wixl leaves them empty; Windows Installer compares
# them when it replaces a file).
set(stage ${OUT}/stage)
set(wix ${OUT}/wix)
set(name Veltrano-${VERSION}-${ARCH})
file(REMOVE_RECURSE ${stage} ${wix})
file(MAKE_DIRECTORY ${wix})

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    list(JOIN ARGN " " command)
    message(FATAL_ERROR "failed (${status}): ${command}")
  endif()
endfunction()

run(${CMAKE_COMMAND} --install ${BUILD_DIR} --component Veltrano --prefix ${stage}/Veltrano)
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --component SampleHost
  --prefix ${stage}/Veltrano-samplehost)
run(${PRINT_REGISTRATION} ${BITS} VeltranoDll ${wix}/registration.wxi)

# One component a file, its id made from its path (the two the package names
# elsewhere have fixed ids); folders nest as in the tree.
function(id_of path prefix out)
  string(MAKE_C_IDENTIFIER "${path}" id)
  set(${out} "${prefix}_${id}" PARENT_SCOPE)
endfunction()
if(ARCH STREQUAL "x64")
  set(win64 yes)
  set(program_files ProgramFiles64Folder)
  set(upgrade_code 2B384418-FD81-4F67-AF67-B21E40613FE1)
  set(product_name "Veltrano (64-bit)")
else()
  set(win64 no)
  set(program_files ProgramFilesFolder)
  set(upgrade_code 79E6E2DB-067C-4473-8E0A-4314B88D5FCE)
  set(product_name "Veltrano (32-bit)")
endif()
# The installed programs' list shows the size from ARPSIZE (kilobytes), where
# the installer does not count it itself.
file(GLOB_RECURSE installed_files ${stage}/Veltrano/*)
set(installed_bytes 0)
foreach(installed ${installed_files})
  file(SIZE ${installed} bytes)
  math(EXPR installed_bytes "${installed_bytes} + ${bytes}")
endforeach()
math(EXPR installed_kilobytes "(${installed_bytes} + 1023) / 1024")
set(components "")
set(refs "")
function(add_folder folder indent)
  file(GLOB entries RELATIVE ${stage}/Veltrano ${stage}/Veltrano/${folder}*)
  list(SORT entries)
  foreach(entry ${entries})
    if(IS_DIRECTORY ${stage}/Veltrano/${entry})
      id_of(${entry} d directory)
      get_filename_component(leaf ${entry} NAME)
      string(APPEND components "${indent}<Directory Id=\"${directory}\" Name=\"${leaf}\">\n")
      add_folder(${entry}/ "${indent}  ")
      string(APPEND components "${indent}</Directory>\n")
      continue()
    endif()
    id_of(${entry} c component)
    id_of(${entry} f file)
    set(extra "")
    if(entry STREQUAL "Veltrano.dll")
      set(file VeltranoDll)
      set(extra "${indent}  <?include registration.wxi ?>\n")
    elseif(entry STREQUAL "Rostavel.exe")
      set(file RostavelExe)
      set(extra "${indent}  <Shortcut Id=\"RostavelShortcut\" Directory=\"ProgramMenuFolder\" Name=\"Rostavel\" Description=\"Prepares an iFix application for Veltrano\" Target=\"[#RostavelExe]\" WorkingDirectory=\"INSTALLDIR\" />\n")
    endif()
    if(entry MATCHES "\\.(dll|exe)$")
      list(APPEND programs "${file}=${entry}")
    endif()
    string(APPEND components
      "${indent}<Component Id=\"${component}\" Guid=\"*\" Win64=\"${win64}\">\n"
      "${indent}  <File Id=\"${file}\" KeyPath=\"yes\" Source=\"${entry}\" />\n"
      "${extra}${indent}</Component>\n")
    string(APPEND refs "      <ComponentRef Id=\"${component}\" />\n")
  endforeach()
  set(components "${components}" PARENT_SCOPE)
  set(refs "${refs}" PARENT_SCOPE)
  set(programs "${programs}" PARENT_SCOPE)
endfunction()
set(programs "")
add_folder("" "          ")

file(WRITE ${wix}/Veltrano.wxs "<?xml version=\"1.0\" encoding=\"utf-8\"?>
<!-- Made by make_packages.cmake from the installed tree. -->
<Wix xmlns=\"http://schemas.microsoft.com/wix/2006/wi\">
  <Product Id=\"*\" Name=\"${product_name}\" Language=\"1033\" Version=\"$(var.Version)\"
           Manufacturer=\"${MANUFACTURER}\" UpgradeCode=\"${upgrade_code}\">
    <Package InstallerVersion=\"200\" Compressed=\"yes\" InstallScope=\"perMachine\"
             Description=\"Veltrano $(var.Version) (${ARCH})\" Manufacturer=\"${MANUFACTURER}\" />
    <MajorUpgrade DowngradeErrorMessage=\"A newer version of Veltrano is already installed.\" />
    <Media Id=\"1\" Cabinet=\"veltrano.cab\" EmbedCab=\"yes\" />
    <Property Id=\"ARPSIZE\" Value=\"${installed_kilobytes}\" />
    <!-- The install folder in the installed programs' list, once costing has
         resolved it; wixl places After= actions last, hence the number. -->
    <CustomAction Id=\"SetInstallLocation\" Property=\"ARPINSTALLLOCATION\" Value=\"[INSTALLDIR]\" />
    <InstallExecuteSequence>
      <Custom Action=\"SetInstallLocation\" Sequence=\"1001\" />
    </InstallExecuteSequence>
    <Directory Id=\"TARGETDIR\" Name=\"SourceDir\">
      <Directory Id=\"${program_files}\">
        <Directory Id=\"INSTALLDIR\" Name=\"Veltrano\">
${components}        </Directory>
      </Directory>
      <Directory Id=\"ProgramMenuFolder\" />
    </Directory>
    <Feature Id=\"Veltrano\" Level=\"1\">
${refs}    </Feature>
  </Product>
</Wix>
")

run(${CMAKE_COMMAND} -E chdir ${stage}/Veltrano
  ${WIXL} -a ${ARCH} -D Version=${VERSION} -I ${wix} -o ${OUT}/${name}.msi ${wix}/Veltrano.wxs)
foreach(pair ${programs})
  string(REPLACE "=" ";" pair "${pair}")
  list(GET pair 0 file)
  list(GET pair 1 program)
  execute_process(COMMAND ${WINDRES} -i ${stage}/Veltrano/${program} -O rc
    OUTPUT_VARIABLE resources RESULT_VARIABLE status ERROR_QUIET)
  if(NOT status EQUAL 0 OR NOT resources MATCHES "FILEVERSION ([0-9]+), ([0-9]+), ([0-9]+), ([0-9]+)")
    message(FATAL_ERROR "${program} carries no version resource")
  endif()
  set(version "${CMAKE_MATCH_1}.${CMAKE_MATCH_2}.${CMAKE_MATCH_3}.${CMAKE_MATCH_4}")
  run(${MSIBUILD} ${OUT}/${name}.msi -q
    "UPDATE `File` SET `Version` = '${version}' WHERE `File` = '${file}'")
endforeach()
# The zips hold the folder itself, so they unpack to it.
file(REMOVE ${OUT}/${name}.zip ${OUT}/Veltrano-${VERSION}-samplehost-${ARCH}.zip)
run(${CMAKE_COMMAND} -E chdir ${stage} ${CMAKE_COMMAND} -E tar cf ${OUT}/${name}.zip --format=zip
  Veltrano)
run(${CMAKE_COMMAND} -E chdir ${stage} ${CMAKE_COMMAND} -E tar cf
  ${OUT}/Veltrano-${VERSION}-samplehost-${ARCH}.zip --format=zip Veltrano-samplehost)
