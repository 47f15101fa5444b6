# cmake -DCHECK=<check_layers.cmake> -DWORK=<scratch folder> -P check_test.cmake
# The layer check on small made-up trees: each row is a tree of a few files and whether the
# check must pass it or name the fault.
set(layers [=[
src/text   lib_text  :
src/ui     lib_ui    : src/text
src/books  lib_books : src/text
src/shell  lib_shell : src/ui src/books
src/qt     lib_qt    : src/ui Qt
src/win32  lib_win32 : src/ui Win32
]=])

# row: NAME, EXPECTED ("" to pass, or a text the failure names), then FILE=CONTENT pairs.
function(check_tree name expected)
  set(root ${WORK}/${name})
  file(REMOVE_RECURSE ${root})
  file(WRITE ${root}/layers.txt "${layers}")
  file(WRITE ${root}/src/text/text.h "#pragma once\n")
  file(WRITE ${root}/src/ui/control.h "#include \"text/text.h\"\n")
  file(WRITE ${root}/src/books/loader.h "#include <string>\n")
  file(WRITE ${root}/src/shell/shell.h "#include \"ui/control.h\"\n#include \"books/loader.h\"\n")
  foreach(pair IN LISTS ARGN)
    string(REGEX MATCH "^([^=]+)=(.*)$" _ "${pair}")
    file(WRITE ${root}/${CMAKE_MATCH_1} "${CMAKE_MATCH_2}\n")
  endforeach()
  execute_process(COMMAND ${CMAKE_COMMAND} -DROOT=${root} -P ${CHECK} RESULT_VARIABLE status
                  OUTPUT_VARIABLE out ERROR_VARIABLE out)
  string(REGEX REPLACE "[ \t\n]+" " " out "${out}")
  if(expected STREQUAL "")
    if(NOT status EQUAL 0)
      message(SEND_ERROR "${name}: the check failed a sound tree: ${out}")
    endif()
  elseif(status EQUAL 0)
    message(SEND_ERROR "${name}: the check passed a tree where ${expected}")
  elseif(NOT out MATCHES "${expected}")
    message(SEND_ERROR "${name}: the check failed without naming \"${expected}\": ${out}")
  endif()
endfunction()

check_tree(sound "")
check_tree(looking_two_layers_down "" "src/shell/game.cpp=#include \"text/text.h\"")
check_tree(beside_the_file "" "src/shell/game.cpp=#include \"shell.h\"")
check_tree(qt_in_the_binding "" "src/qt/widgets.cpp=#include <QWidget>\n#include \"ui/control.h\"")
check_tree(books_looking_up "src/books/loader.cpp: includes src/shell/shell.h"
           "src/books/loader.cpp=#include \"shell/shell.h\"")
check_tree(books_looking_sideways "src/books/gbk.cpp: includes src/ui/control.h"
           "src/books/gbk.cpp=#include \"ui/control.h\"")
check_tree(qt_in_a_layer_below "src/ui/window.h: includes Qt"
           "src/ui/window.h=#include <QtCore/QString>")
check_tree(windows_in_its_binding "" "src/win32/window.cpp=#include <windows.h>\n#include \"ui/control.h\"")
check_tree(windows_in_a_system_file "" "src/books/open_win32.cpp=#include <Windows.h>")
check_tree(windows_in_a_layer_below "src/books/loader.cpp: includes a Windows header"
           "src/books/loader.cpp=#include <shlobj.h>")
check_tree(unlisted_folder "src/extra/x.cpp: in no folder" "src/extra/x.cpp=// anything")
check_tree(missing_header "cannot find \"ui/gone.h\"" "src/shell/game.cpp=#include \"ui/gone.h\"")
