# delay_imports(TARGET LIBRARY...): TARGET loads these system libraries at the first call into
# them instead of at start. Made at configure time from the toolchain's import libraries: one
# delay-import library each, linked before the ordinary ones so that they take every call.
function(delay_imports target)
  set(stem "__imp_")
  set(kill_at "")
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    # 32-bit names carry the calling convention: _Name@bytes, imported as Name.
    set(stem "__imp__")
    set(kill_at "--kill-at")
  endif()
  set(dir "${CMAKE_CURRENT_BINARY_DIR}/delay_imports")
  file(MAKE_DIRECTORY "${dir}")
  set(libraries "")
  foreach(name IN LISTS ARGN)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=lib${name}.a
                    OUTPUT_VARIABLE import OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    execute_process(COMMAND ${CMAKE_NM} -g ${import} OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
    string(REGEX MATCHALL "I ${stem}[^\n]+" entries "${symbols}")
    list(TRANSFORM entries REPLACE "^I ${stem}" "")
    list(REMOVE_DUPLICATES entries)
    list(JOIN entries "\n" exports)
    file(WRITE "${dir}/${name}.def" "LIBRARY ${name}.dll\nEXPORTS\n${exports}\n")
    execute_process(COMMAND ${CMAKE_DLLTOOL} --input-def ${dir}/${name}.def --dllname ${name}.dll
                            ${kill_at} --output-delaylib ${dir}/lib${name}_delay.a
                    COMMAND_ERROR_IS_FATAL ANY)
    list(APPEND libraries "${dir}/lib${name}_delay.a")
  endforeach()
  target_link_libraries(${target} PRIVATE ${libraries} delayimp)
endfunction()
