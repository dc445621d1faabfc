# Run by "cmake --install": writes share/applications/tarnix.desktop, whose Exec names the
# installed program by its absolute path. Only the install knows the prefix; DESTDIR changes
# where the file goes, never the path it names. tarnix_launcher_program is the program's path
# below the prefix.

set(prefix "${CMAKE_INSTALL_PREFIX}")
if(NOT IS_ABSOLUTE "${prefix}")
    get_filename_component(prefix "${prefix}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_BINARY_DIR}")
endif()
set(program "${prefix}/${tarnix_launcher_program}")

# A line of the file cannot hold a control character, an Exec key cannot name a program with
# "=", and the program's own paths (Windows style) would turn a "\" into a folder break.
set(refused FALSE)
foreach(code RANGE 1 127)
    if(code LESS 32 OR code EQUAL 127 OR code EQUAL 61 OR code EQUAL 92)  # controls, "=", "\"
        string(ASCII ${code} character)
        string(FIND "${program}" "${character}" at)
        if(NOT at EQUAL -1)
            set(refused TRUE)
        endif()
    endif()
endforeach()
if(refused)
    message(FATAL_ERROR "the install prefix ${prefix} holds \"=\", \"\\\" or a control "
                        "character; the program and its launcher cannot name it")
endif()

# Always quoted (a path may be), with ", ` and $ escaped inside the quotes; then every \
# doubled as in any string value, and % doubled for the field codes.
string(REPLACE "\"" "\\\"" exec "${program}")
string(REPLACE "`" "\\`" exec "${exec}")
string(REPLACE "$" "\\$" exec "${exec}")
string(REPLACE "\\" "\\\\" exec "\"${exec}\"")
string(REPLACE "%" "%%" exec "${exec}")

set(launcher "$ENV{DESTDIR}${prefix}/share/applications/tarnix.desktop")
message(STATUS "Installing: ${launcher}")
file(WRITE "${launcher}"
     "[Desktop Entry]\n"
     "Type=Application\n"
     "Name=TarnixIM\n"
     "Comment=Alerts of the instant-messaging site in the tray\n"
     "Exec=${exec}\n"
     "Icon=tarnix\n"
     "Terminal=false\n"
     "Categories=Network;InstantMessaging;\n")
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${launcher}")
