# The Debian package, built from this build and unpacked into a temporary root.
# Sanitizer builds are not packaged.
if(NOT TALVO_SANITIZE)
    add_test(NAME tst_package COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/package/check-package.sh ${CMAKE_BINARY_DIR})
    set_tests_properties(tst_package PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE)
endif()
