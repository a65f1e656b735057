# The shared C++ runtime of the MinGW cross compiler.
#
# korvel.dll and the programs that use it link libstdc++ and libgcc as DLLs so
# that both sides share one heap for C++ objects and one unwinder: on i686 the
# compiler uses DWARF-2 unwinding, and an exception thrown inside korvel.dll can
# be caught in the application only when both load the same libgcc_s_dw2-1.dll.
#
# korvel_find_runtime_dlls(<out-var>) sets <out-var> to the absolute paths of
# the runtime DLLs: libstdc++-6.dll, the libgcc DLL of the target
# (libgcc_s_seh-1.dll on x86_64, libgcc_s_dw2-1.dll or libgcc_s_sjlj-1.dll on
# i686) and libwinpthread-1.dll when one of the others imports it (the "posix"
# thread-model compilers).

function(_korvel_print_file_name name out_var)
    execute_process(
        COMMAND "${CMAKE_CXX_COMPILER}" -print-file-name=${name}
        OUTPUT_VARIABLE path
        OUTPUT_STRIP_TRAILING_WHITESPACE
        RESULT_VARIABLE rc)
    # An unknown file is echoed back without a directory.
    if(rc EQUAL 0 AND IS_ABSOLUTE "${path}" AND EXISTS "${path}")
        get_filename_component(path "${path}" REALPATH)
        set(${out_var} "${path}" PARENT_SCOPE)
    else()
        set(${out_var} "" PARENT_SCOPE)
    endif()
endfunction()

function(_korvel_dll_imports dll out_var)
    set(imports "")
    if(CMAKE_OBJDUMP)
        execute_process(
            COMMAND "${CMAKE_OBJDUMP}" -p "${dll}"
            OUTPUT_VARIABLE dump
            ERROR_QUIET
            RESULT_VARIABLE rc)
        if(rc EQUAL 0)
            string(REGEX MATCHALL "DLL Name: [^\r\n]+" lines "${dump}")
            foreach(line IN LISTS lines)
                string(REGEX REPLACE "^DLL Name: *" "" name "${line}")
                string(TOLOWER "${name}" name)
                list(APPEND imports "${name}")
            endforeach()
        endif()
    endif()
    set(${out_var} "${imports}" PARENT_SCOPE)
endfunction()

function(korvel_find_runtime_dlls out_var)
    _korvel_print_file_name(libstdc++-6.dll stdcxx)
    if(NOT stdcxx)
        message(FATAL_ERROR
            "libstdc++-6.dll not found by ${CMAKE_CXX_COMPILER} -print-file-name")
    endif()
    set(dlls "${stdcxx}")

    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
        set(gcc_candidates libgcc_s_seh-1.dll)
    else()
        set(gcc_candidates libgcc_s_dw2-1.dll libgcc_s_sjlj-1.dll)
    endif()
    set(gcc_dll "")
    foreach(name IN LISTS gcc_candidates)
        _korvel_print_file_name(${name} gcc_dll)
        if(gcc_dll)
            break()
        endif()
    endforeach()
    if(NOT gcc_dll)
        message(FATAL_ERROR
            "none of ${gcc_candidates} found by ${CMAKE_CXX_COMPILER} -print-file-name")
    endif()
    list(APPEND dlls "${gcc_dll}")

    set(need_winpthread FALSE)
    foreach(dll IN LISTS dlls)
        _korvel_dll_imports("${dll}" imports)
        if("libwinpthread-1.dll" IN_LIST imports)
            set(need_winpthread TRUE)
        endif()
    endforeach()
    if(need_winpthread)
        _korvel_print_file_name(libwinpthread-1.dll winpthread)
        if(NOT winpthread)
            message(FATAL_ERROR "the C++ runtime needs libwinpthread-1.dll, which was not found")
        endif()
        list(APPEND dlls "${winpthread}")
    endif()

    set(${out_var} "${dlls}" PARENT_SCOPE)
endfunction()

# korvel_copy_runtime_dlls(<target-name> <dir> <dll>...) adds a target that
# keeps copies of the given DLLs in <dir>, up to date with their sources.
function(korvel_copy_runtime_dlls target dir)
    set(outputs "")
    foreach(dll IN LISTS ARGN)
        get_filename_component(name "${dll}" NAME)
        add_custom_command(
            OUTPUT "${dir}/${name}"
            COMMAND "${CMAKE_COMMAND}" -E make_directory "${dir}"
            COMMAND "${CMAKE_COMMAND}" -E copy_if_different "${dll}" "${dir}/${name}"
            DEPENDS "${dll}"
            COMMENT "Copying ${name} to ${dir}"
            VERBATIM)
        list(APPEND outputs "${dir}/${name}")
    endforeach()
    add_custom_target(${target} ALL DEPENDS ${outputs})
endfunction()
