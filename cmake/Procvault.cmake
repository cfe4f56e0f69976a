# pv_library(NAME DEPS ...): one static library per source folder, built from the
# folder's .cpp files; its headers are included as "<folder>/File.h" from src/.
function(pv_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  if(sources)
    add_library(${name} STATIC ${sources} ${headers})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  else()
    add_library(${name} INTERFACE ${headers})
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# pv_tests(FOLDER DEPS ...): every tests/FOLDER/*_test.cpp becomes one GoogleTest
# executable registered with CTest. GUI tests run on Qt's offscreen platform.
function(pv_tests folder)
  cmake_parse_arguments(ARG "GUI" "" "DEPS" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*_test.cpp)
  foreach(test_source ${tests})
    get_filename_component(stem ${test_source} NAME_WE)
    set(target ${folder}_${stem})
    add_executable(${target} ${test_source})
    target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${target} PRIVATE ${ARG_DEPS} pv_testsupport GTest::gtest GTest::gmock GTest::gtest_main)
    target_compile_definitions(${target} PRIVATE
      PV_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
      PV_BINARY_DIR="${PROJECT_BINARY_DIR}")
    if(ARG_GUI)
      set_target_properties(${target} PROPERTIES AUTOMOC ON)
    endif()
    gtest_discover_tests(${target}
      DISCOVERY_TIMEOUT 60
      PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
      LABELS ${folder})
  endforeach()
endfunction()
