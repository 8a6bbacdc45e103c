# Included by CMakeLists.txt when CITYSIZE_PYTHON is on. The package is assembled in
# build/python/citysize, so `PYTHONPATH=build/python python3 -c "import citysize"` works
# from the build folder; `cmake --install` puts it in the prefix's Python folder.
set(PYTHON_PACKAGE_DIR ${CMAKE_BINARY_DIR}/python/citysize)
pybind11_add_module(_citysize MODULE NO_EXTRAS src/python/Module.cpp src/python/PictureBytes.cpp)
target_link_libraries(_citysize PRIVATE citysize_session)
set_target_properties(_citysize PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${PYTHON_PACKAGE_DIR})

# The package's Python files, copied at build time so edits reach the build folder.
file(GLOB PYTHON_PACKAGE_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/python/citysize/*.py)
set(PYTHON_PACKAGE_COPIES)
foreach(file ${PYTHON_PACKAGE_FILES})
  get_filename_component(name ${file} NAME)
  add_custom_command(OUTPUT ${PYTHON_PACKAGE_DIR}/${name}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${file} ${PYTHON_PACKAGE_DIR}/${name}
    DEPENDS ${file})
  list(APPEND PYTHON_PACKAGE_COPIES ${PYTHON_PACKAGE_DIR}/${name})
endforeach()
add_custom_target(citysize_python ALL DEPENDS _citysize ${PYTHON_PACKAGE_COPIES})

# Where the package finds USData.csv and the outlines: the source tree's data/ in the build
# folder; the installed data folder, relative to the package, once installed (the package
# sits four folders below the prefix both in lib/python3/dist-packages and in
# lib/python3.X/site-packages).
set(CITYSIZE_PY_DATA "${CMAKE_SOURCE_DIR}/data")
set(CITYSIZE_PY_DATA_RELATIVE OFF)
configure_file(src/python/paths.py.in ${PYTHON_PACKAGE_DIR}/_paths.py @ONLY)
set(CITYSIZE_PY_DATA "../../../../${CITYSIZE_DATA_INSTALL_DIR}")
set(CITYSIZE_PY_DATA_RELATIVE ON)
configure_file(src/python/paths.py.in ${CMAKE_BINARY_DIR}/python-install/_paths.py @ONLY)

# Debian's python3 reads /usr/lib/python3/dist-packages (the .deb's prefix is /usr); other
# prefixes get the usual lib/python3.X/site-packages. Chosen when installing, as the prefix
# of `cmake --install --prefix` and of cpack is only known then.
set(PY_SITE_VERSIONED "lib/python${Python3_VERSION_MAJOR}.${Python3_VERSION_MINOR}/site-packages")
install(CODE "
  if(CMAKE_INSTALL_PREFIX STREQUAL \"/usr\")
    set(py_dir \"\${CMAKE_INSTALL_PREFIX}/lib/python3/dist-packages/citysize\")
  else()
    set(py_dir \"\${CMAKE_INSTALL_PREFIX}/${PY_SITE_VERSIONED}/citysize\")
  endif()
  file(GLOB py_files \"${CMAKE_SOURCE_DIR}/src/python/citysize/*.py\")
  file(INSTALL DESTINATION \"\${py_dir}\" TYPE FILE FILES \${py_files} \"${CMAKE_BINARY_DIR}/python-install/_paths.py\")
  file(INSTALL DESTINATION \"\${py_dir}\" TYPE MODULE FILES \"$<TARGET_FILE:_citysize>\")
  if(CMAKE_INSTALL_DO_STRIP AND EXISTS \"${CMAKE_STRIP}\")
    execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-unneeded \"\$ENV{DESTDIR}\${py_dir}/$<TARGET_FILE_NAME:_citysize>\")
  endif()
")

# The module's tests (pytest), the command line the reference they compare with.
add_test(NAME python_module
  COMMAND ${Python3_EXECUTABLE} -m pytest -q -p no:cacheprovider ${CMAKE_SOURCE_DIR}/tests/python)
set_tests_properties(python_module PROPERTIES TIMEOUT 900 ENVIRONMENT
  "PYTHONPATH=${CMAKE_BINARY_DIR}/python;CITYSIZE_MODULE_BUILT=1;CITYSIZE_BINARY=$<TARGET_FILE:citysize>;CITYSIZE_BUILD_DIR=${CMAKE_BINARY_DIR};CITYSIZE_REAL_DATA=${CMAKE_SOURCE_DIR}/data;QT_QPA_PLATFORM=offscreen")
# The tour notebook, run headless as a reader would run it; any failing cell fails it.
find_program(JUPYTER_NBCONVERT jupyter-nbconvert)
if(JUPYTER_NBCONVERT)
  add_test(NAME python_notebook_tour
    COMMAND ${JUPYTER_NBCONVERT} --to notebook --execute --ExecutePreprocessor.timeout=600
      --output-dir ${CMAKE_BINARY_DIR}/notebooks ${CMAKE_SOURCE_DIR}/docs/notebooks/tour.ipynb)
  set_tests_properties(python_notebook_tour PROPERTIES TIMEOUT 900 ENVIRONMENT
    "PYTHONPATH=${CMAKE_BINARY_DIR}/python;QT_QPA_PLATFORM=offscreen")
endif()
