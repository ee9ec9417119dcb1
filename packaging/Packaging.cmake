# The Debian packages made by `make package` (CPack, DEB generator):
#   tavimor          everything installed without a component of its own
#                    (CMAKE_INSTALL_DEFAULT_COMPONENT_NAME): the programs, the
#                    desktop files, the icons, the manual and the man pages;
#   tavimor-preview  the QtWebEngine page preview, when the build installs it
#                    as the component `preview`; tavimor then recommends it.
# Library dependencies come from the binaries themselves (dpkg-shlibdeps).
get_cmake_property(install_components COMPONENTS)
foreach(component IN LISTS install_components)
  if(NOT component MATCHES "^(tavimor|preview)$")
    message(FATAL_ERROR "The install component '${component}' belongs to no package: "
                        "give it one in packaging/Packaging.cmake")
  endif()
endforeach()
set(tavimor_has_preview FALSE)
if("preview" IN_LIST install_components)
  set(tavimor_has_preview TRUE)
  # Every Debian package carries its own copyright file and change log.
  install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/copyright ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tavimor-preview COMPONENT preview)
endif()

set(CPACK_GENERATOR DEB)
# The descriptions hold quotes; CPack writes every value as it is.
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_PACKAGE_NAME tavimor)
set(CPACK_PACKAGE_VENDOR "The Tavimor developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${TAVIMOR_MAINTAINER})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
# Debian packages live in /usr whatever prefix the build was configured for.
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL ${install_components})

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${TAVIMOR_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(CPACK_DEBIAN_TAVIMOR_PACKAGE_NAME tavimor)
# The Qt platform plugins are loaded at run time, so dpkg-shlibdeps cannot
# see them; the French Qt texts and xdg-open serve the dialogs and "Aide".
# libzip is loaded when a SCORM package is first written, so the shared
# library dependencies found in the programs do not name it: Debian names its
# package after the shared-object name (libzip.so.4: libzip4).
string(REGEX REPLACE "^libzip\\.so\\.([0-9]+)$" "libzip\\1" libzip_package "${TAVIMOR_LIBZIP_SONAME}")
set(CPACK_DEBIAN_TAVIMOR_PACKAGE_DEPENDS "qt6-qpa-plugins, ${libzip_package}")
set(tavimor_recommends "qt6-translations-l10n, xdg-utils")
if(tavimor_has_preview)
  string(APPEND tavimor_recommends ", tavimor-preview")
endif()
set(CPACK_DEBIAN_TAVIMOR_PACKAGE_RECOMMENDS ${tavimor_recommends})
set(CPACK_DEBIAN_TAVIMOR_DESCRIPTION
  "editor of multiple-choice quizzes published as web pages
Tavimor lets a teacher write a multiple-choice quiz (standard, true/false
and cloze questions, feedback for right, wrong and missing answers, page
texts, a style sheet), save it as a .kwz document and publish it as a small
web site, a self-contained page, a printable exam or files for learning
platforms. Its interface is in French. The package holds the editor, the
command tavimor-cli and the French user manual.

Tavimor permet d'écrire un questionnaire à choix multiples (questions
standard, vrai ou faux et à compléter, messages de retour pour les bonnes,
les mauvaises et les absences de réponse, textes des pages, feuille de
style), de l'enregistrer dans un document .kwz et de le publier en petit
site web, en page autonome, en examen imprimable ou en fichiers pour les
plateformes d'apprentissage. Le paquet contient l'éditeur, la commande
tavimor-cli et le manuel d'utilisation.")

set(CPACK_DEBIAN_PREVIEW_PACKAGE_NAME tavimor-preview)
set(CPACK_DEBIAN_PREVIEW_PACKAGE_DEPENDS "tavimor (= ${PROJECT_VERSION})")
set(CPACK_DEBIAN_PREVIEW_DESCRIPTION
  "page preview of the Tavimor quiz editor
The preview of the editor's \"Mise en page\" tab, which shows the produced
quiz pages in an embedded web view (QtWebEngine). Without it the tab shows
the source of the pages, and \"Appeler navigateur\" opens them in the
system browser.

L'aperçu de l'onglet « Mise en page » de l'éditeur, qui montre les pages
produites dans une vue web intégrée (QtWebEngine). Sans lui, l'onglet
montre le source des pages, et « Appeler navigateur » les ouvre dans le
navigateur du système.")

include(CPack)
