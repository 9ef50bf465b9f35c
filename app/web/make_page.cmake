# Puts the page together: the template, the icon as a PNG data address
# (ImageMagick draws it from the XPM, coreutils' base64 encodes it), and the
# script with its WebAssembly, which Emscripten inlined.
# cmake -P with CONVERT, ICON, TEMPLATE, SCRIPT, OUTPUT.
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${CONVERT} ${ICON} png:- COMMAND base64 -w0
  OUTPUT_VARIABLE icon COMMAND_ERROR_IS_FATAL ANY)
file(READ ${SCRIPT} script)
# Nothing in the script may end the script element early.
string(REPLACE "</script" "<\\/script" script "${script}")
file(READ ${TEMPLATE} page)
string(REPLACE "@ICON@" "${icon}" page "${page}")
string(REPLACE "@SCRIPT@" "${script}" page "${page}")
file(WRITE ${OUTPUT}.part "${page}")
file(RENAME ${OUTPUT}.part ${OUTPUT})
