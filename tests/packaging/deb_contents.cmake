# cmake -DDEB=<package> -P deb_contents.cmake: fails unless the package holds the program, its
# books and pictures, the menu entry, the icon and the manual pages, depends on Qt and on a
# CJK font, and is filed under education.
execute_process(COMMAND dpkg-deb --contents ${DEB} OUTPUT_VARIABLE contents
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "dpkg-deb --contents ${DEB} failed")
endif()
set(wanted
    " ./usr/lib/vantle/vantle$"
    " ./usr/lib/vantle/vantle-book$"
    " ./usr/bin/vantle -> ../lib/vantle/vantle$"
    " ./usr/bin/vantle-book -> ../lib/vantle/vantle-book$"
    " ./usr/lib/vantle/《My词库》.txt$"
    " ./usr/lib/vantle/Study/《小学英语》\\(第一册\\)\\(91\\)$"
    " ./usr/lib/vantle/Study/《成语大全》.txt$"
    " ./usr/lib/vantle/Pic/0.jpg$"
    " ./usr/lib/vantle/Pic/19.jpg$"
    " ./usr/share/applications/org.vantle.Vantle.desktop$"
    " ./usr/share/metainfo/org.vantle.Vantle.metainfo.xml$"
    " ./usr/share/icons/hicolor/scalable/apps/org.vantle.Vantle.svg$"
    " ./usr/share/icons/hicolor/48x48/apps/org.vantle.Vantle.png$"
    " ./usr/share/icons/hicolor/128x128/apps/org.vantle.Vantle.png$"
    " ./usr/share/icons/hicolor/256x256/apps/org.vantle.Vantle.png$"
    " ./usr/share/man/man6/vantle.6.gz$"
    " ./usr/share/man/man1/vantle-book.1.gz$"
    " ./usr/share/doc/vantle/copyright$"
    " ./usr/share/doc/vantle/changelog.gz$")
string(REPLACE "\n" ";" lines "${contents}")
foreach(pattern IN LISTS wanted)
  set(found FALSE)
  foreach(line IN LISTS lines)
    if(line MATCHES "${pattern}")
      set(found TRUE)
      break()
    endif()
  endforeach()
  if(NOT found)
    message(SEND_ERROR "the package holds nothing matching \"${pattern}\"")
  endif()
endforeach()

foreach(field_value "Depends=libqt6widgets6" "Depends=libqt6texttospeech6" "Depends=libsqlite3-0"
                    "Depends=fonts-noto-cjk" "Depends=fonts-liberation"
                    "Recommends=speech-dispatcher-espeak-ng"
                    "Recommends=qt6-speech-speechd-plugin" "Section=education"
                    "Package=vantle" "Version=3.6.0")
  string(REPLACE "=" ";" pair "${field_value}")
  list(GET pair 0 field)
  list(GET pair 1 value)
  execute_process(COMMAND dpkg-deb --field ${DEB} ${field} OUTPUT_VARIABLE got)
  string(FIND "${got}" "${value}" at)
  if(at LESS 0)
    message(SEND_ERROR "${field}: \"${got}\" holds no ${value}")
  endif()
endforeach()
