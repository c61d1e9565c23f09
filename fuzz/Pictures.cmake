# libFuzzer targets for the picture readers: the bitmap reader and the JPEG
# wrapper, compiled here with coverage instrumentation and the sanitizers like the
# core library's copy, linked with Qt's Gui library and libjpeg. Their seeds are
# the small files in corpus/bmp and corpus/jpeg.

find_package(Qt6 QUIET COMPONENTS Gui)
find_package(JPEG QUIET)
if(NOT Qt6Gui_FOUND OR NOT JPEG_FOUND)
  message(STATUS "Qt 6 Gui or libjpeg not found: the picture fuzz targets (bmp, jpeg) are skipped")
  return()
endif()

set(PAVILORE_PICTURE_SOURCES ${PROJECT_SOURCE_DIR}/src/platform/qt/Bmp.cpp ${PROJECT_SOURCE_DIR}/src/platform/Jpeg.cpp)
add_library(pavilore_pictures_fuzz STATIC ${PAVILORE_PICTURE_SOURCES})
# Their pixel loops run millions of times for one small file: compares untraced, as the engine's.
set_source_files_properties(${PAVILORE_PICTURE_SOURCES} PROPERTIES COMPILE_OPTIONS "${PAVILORE_FUZZ_UNTRACED}")
target_include_directories(pavilore_pictures_fuzz PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_compile_options(pavilore_pictures_fuzz PRIVATE -fsanitize=fuzzer-no-link ${PAVILORE_FUZZ_SANITIZERS})
target_link_options(pavilore_pictures_fuzz INTERFACE ${PAVILORE_FUZZ_SANITIZERS})
target_link_libraries(pavilore_pictures_fuzz PUBLIC Qt6::Gui JPEG::JPEG)

foreach(name bmp jpeg)
  add_executable(fuzz_${name} fuzz_${name}.cpp)
  target_compile_options(fuzz_${name} PRIVATE -fsanitize=fuzzer ${PAVILORE_FUZZ_SANITIZERS})
  target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(fuzz_${name} PRIVATE pavilore_pictures_fuzz pavilore_core_fuzz)
  add_dependencies(pavilore_fuzz fuzz_${name})
endforeach()
