# Helpers shared by every folder of the tree.
include(GoogleTest)

# qpn_add_library(<name> DEPS <targets...>)
# One static library per source folder, made of every .cpp/.h in the folder,
# so adding a file needs no edit here.
function(qpn_add_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  set_target_properties(${name} PROPERTIES LINKER_LANGUAGE CXX)
endfunction()

# qpn_add_test_folder(<name> DEPS <targets...> [GUI])
# Every *_test.cpp of the folder goes into one GoogleTest executable; each test
# case becomes a CTest entry. GUI tests run on the offscreen platform and get a
# main() that creates the QApplication.
function(qpn_add_test_folder name)
  cmake_parse_arguments(ARG "GUI" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp
       ${CMAKE_CURRENT_SOURCE_DIR}/*Fixture*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*Fixture*.h)
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} qpn_testsupport GTest::gtest GTest::gmock)
  if(ARG_GUI)
    target_link_libraries(${name} PRIVATE qpn_testmain_gui)
  else()
    target_link_libraries(${name} PRIVATE qpn_testmain)
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LANG=C.UTF-8;TZ=Asia/Tokyo"
               TIMEOUT 300)
endfunction()
