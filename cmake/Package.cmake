# The Debian package, built by scripts/package.sh with CPack from the install rules above.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ravnobor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "Ravnobor developers <rb@example.org>")
set(CPACK_STRIP_FILES TRUE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${CPACK_PACKAGE_CONTACT})
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PROJECT_HOMEPAGE_URL})
# The dependencies are those of the libraries the program actually links.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
# The short description, then the long one (a lone "." keeps a blank line between paragraphs).
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "раздел совместно нажитого имущества двух сторон")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Равнобор помогает юристу разделить совместно нажитое имущество двух сторон
спора. В программе ведётся список имущества с ценами, которые называет каждая
сторона, и согласованной ценой; каждый предмет кладётся к стороне 1, к стороне 2
или остаётся нераспределённым, а программа сразу показывает доли сторон и сумму
доплаты до равенства долей.
.
Каждое дело хранится в одном файле .rvb. Для дела можно вести два варианта
раздела, получить предложение раздела под установленную долю и составить
документы: общий список имущества, списки долей сторон и отчёт о варианте
раздела.")
include(CPack)
