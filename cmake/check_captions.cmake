# Checks that the help page and the manual pages quote captions as the user reads them,
# without the "&" that marks an access key: "Cost / KWHr", not "C&ost / K&WHr".
# cmake -DFILES=<file;file...> -P check_captions.cmake
set(faults "")
foreach(path IN LISTS FILES)
    file(READ "${path}" text)
    if(path MATCHES "\\.htm$")
        # Written "&amp;", or as a bare "&" that starts no character reference.
        string(REPLACE "&amp;" "&" text "${text}")
        set(access_key "[^ \t\r\n>;]*&[A-Za-z]+[^A-Za-z;]")
    else()
        # "\&" is the manual page's own escape; any other "&" before a letter is a caption's,
        # at the start of a word too.
        set(access_key "(^|[^\\\\ \t\r\n;]*[^\\\\])&[A-Za-z][^ \t\r\n;]*")
    endif()
    string(REGEX MATCHALL "${access_key}" found "${text}")
    foreach(word IN LISTS found)
        string(REGEX REPLACE "[^A-Za-z]$" "" word "${word}")
        string(REGEX REPLACE ".*\n" "" word "${word}")
        string(STRIP "${word}" word)
        list(APPEND faults "${path}: ${word}")
    endforeach()
endforeach()
if(faults)
    list(JOIN faults "\n" report)
    message(FATAL_ERROR "A caption keeps its access-key \"&\":\n${report}")
endif()
