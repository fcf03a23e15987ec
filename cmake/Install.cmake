# The tree a user gets from `cmake --install`; the Windows packages are made
# from it (packaging/). Build-time tools (tools/) are not installed.
#
# Linux: bin/ (FIX.exe, Rostavel with its templates Kelmora/ beside it, as it
# looks for them), lib/ (the server and the platform's libraries), the guides
# and the agreement in share/doc/veltrano/, linked beside the server, where
# its startup panel opens them.
# Windows, one folder as the system's users get it: Veltrano.dll, Rostavel.exe
# and Kelmora\, veltrano-dict.exe, the guides and EULA-EN.txt (component
# Veltrano); FIX.exe and the sample application (component SampleHost) only
# for trying it out.
if(WIN32)
  set(documents_dir ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
else()
  set(documents_dir ${CMAKE_LIBRARY_OUTPUT_DIRECTORY})
endif()
set(VELTRANO_DOCUMENTS
  ${documents_dir}/Veltrano.UserGuide-EN.pdf
  ${documents_dir}/Veltrano.GuidaUtente-IT.pdf
  ${documents_dir}/EULA-EN.txt)
set(kelmora ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Kelmora)
# veltrano-dict when the build has it, wherever it is defined: looked for once
# the whole tree is read.
function(veltrano_install_dict)
  foreach(name veltrano_dict veltrano-dict)
    if(NOT TARGET ${name})
      continue()
    endif()
    if(WIN32)
      install(PROGRAMS $<TARGET_FILE:${name}> DESTINATION . COMPONENT Veltrano)
      if(TARGET packages)
        add_dependencies(packages ${name})
      endif()
    else()
      install(TARGETS ${name} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Veltrano)
    endif()
    return()
  endforeach()
endfunction()
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL veltrano_install_dict)

if(WIN32)
  install(PROGRAMS $<TARGET_FILE:veltrano> $<TARGET_FILE:rostavel> DESTINATION .
    COMPONENT Veltrano)
  install(DIRECTORY ${kelmora} DESTINATION . COMPONENT Veltrano)
  install(FILES ${VELTRANO_DOCUMENTS} DESTINATION . COMPONENT Veltrano)

  install(PROGRAMS $<TARGET_FILE:fix_exe> DESTINATION . COMPONENT SampleHost EXCLUDE_FROM_ALL)
  set(examples ${PROJECT_SOURCE_DIR}/examples)
  install(DIRECTORY ${examples}/pictures ${examples}/forms DESTINATION .
    COMPONENT SampleHost EXCLUDE_FROM_ALL)
  install(FILES ${CMAKE_BINARY_DIR}/sample/Veltrano.xls ${CMAKE_BINARY_DIR}/sample/Veltrano_Alm.xls
    DESTINATION pictures/Veltrano COMPONENT SampleHost EXCLUDE_FROM_ALL)
  install(FILES ${examples}/alarms.csv DESTINATION . COMPONENT SampleHost EXCLUDE_FROM_ALL)
  install(FILES ${examples}/scripts/sample_steps.vbs ${examples}/scripts/run_sample_steps.cmd
    ${examples}/scripts/translate_main.vbs ${examples}/scripts/beside_fix.vbs
    DESTINATION scripts COMPONENT SampleHost EXCLUDE_FROM_ALL)
  return()
endif()

include(GNUInstallDirs)
set(docdir ${CMAKE_INSTALL_DATAROOTDIR}/doc/veltrano)
install(TARGETS fix_exe rostavel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Veltrano)
install(DIRECTORY ${kelmora} DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Veltrano)
install(TARGETS veltrano vtautomation vtsystem vtui vtdata vtworkbook
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Veltrano)
install(FILES ${VELTRANO_DOCUMENTS} DESTINATION ${docdir} COMPONENT Veltrano)
file(RELATIVE_PATH doc_from_lib /${CMAKE_INSTALL_LIBDIR} /${docdir})
foreach(document ${VELTRANO_DOCUMENTS})
  get_filename_component(name ${document} NAME)
  install(CODE "file(CREATE_LINK \"${doc_from_lib}/${name}\"
    \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/${name}\" SYMBOLIC)"
    COMPONENT Veltrano)
endforeach()
