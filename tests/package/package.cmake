# The Debian package, unpacked and checked, and its program run from there by
# a user who cannot write its folder. Left out where Debian's tools are
# missing, and in sanitizer builds, which are never shipped.
set(missing "")
foreach(tool dpkg-deb dpkg-shlibdeps lintian desktop-file-validate appstreamcli setpriv)
  string(MAKE_C_IDENTIFIER "DURMIVELA_${tool}" variable)
  find_program(${variable} ${tool})
  if(NOT ${variable})
    list(APPEND missing ${tool})
  endif()
endforeach()
if(missing)
  message(STATUS "${missing} not found (Debian packages dpkg-dev, lintian, desktop-file-utils, appstream, util-linux): the package's test is left out")
elseif(CMAKE_CXX_FLAGS MATCHES "-fsanitize")
  message(STATUS "A sanitizer build: the package's test is left out")
else()
  add_test(NAME package_deb COMMAND ${CMAKE_CURRENT_LIST_DIR}/deb.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(package_deb PROPERTIES TIMEOUT 300 RUN_SERIAL ON)
endif()
