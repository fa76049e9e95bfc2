# Packages, built by `cpack` in a build folder (see `make package`):
#   Linux   -> a Debian package, amostra_<version>_<arch>.deb (amd64, arm64):
#              the program in /usr/bin and its manual page;
#   Windows -> a zip, amostra-<version>-windows-x86_64.zip: amostra.exe and
#              LEIA-ME.txt (how to start it; the console's code page 850).
set(CPACK_PACKAGE_NAME amostra)
set(CPACK_PACKAGE_VERSION 1.0.0)
set(CPACK_PACKAGE_VENDOR "amostra")
set(CPACK_PACKAGE_CONTACT "Equipe do amostra <amostra@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "programa de bioestatística para o ensino e o trabalho de campo")
set(CPACK_STRIP_FILES TRUE)

if(WIN32)
  install(TARGETS amostra RUNTIME DESTINATION .)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/windows/LEIA-ME.txt DESTINATION .)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME "amostra-${CPACK_PACKAGE_VERSION}-windows-x86_64")
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)  # "Extract all" makes the folder
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  # The architecture of the build's target, not of the machine that builds it.
  if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(aarch64|arm64|ARM64)$")
    set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE arm64)
  elseif(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|amd64)$")
    set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
  endif()
  set(CPACK_DEBIAN_PACKAGE_SECTION science)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  # The program is linked statically: it needs no shared library.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)
  # The synopsis is the summary above; CPack indents these lines itself and
  # marks the empty line as a paragraph break.
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
      "O amostra é um programa de console para o ensino de bioestatística.
O usuário escolhe uma de dezessete aplicações num menu numerado
(dimensionamento de amostras, teste t de Student, teste t pareado,
análise de variância, correlação e regressão, teste de sequências,
qui-quadrado, Kolmogorov-Smirnov, teste Z, Wilcoxon, Mann-Whitney,
Spearman, Kruskal-Wallis e o potencial agregativo ou discriminativo
de um caráter taxonômico), digita os dados e lê os resultados.

O diálogo é em português, na página de código 850, com registros
terminados em CR LF; num terminal UTF-8, use-o através do luit.")
endif()

include(CPack)
