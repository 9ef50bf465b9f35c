# Puts the page together: the template, the form's markup and style written
# by make_markup (run by Node.js), the icon as a PNG data address (ImageMagick
# draws it from the XPM, coreutils' base64 encodes it), the script, its
# WebAssembly in base64 (coreutils) as a block of data, and the page's own content policy
# with the sha256 of its script and style (Node.js's crypto). Then the folder
# for a web server: the same page as index.html with its manifest, icons of
# 192 and 512 pixels, and the service worker.
# cmake -P with NODE, MARKUP, CONVERT, ICON, TEMPLATE, CSS, SCRIPT, PROGRAM, WORKER, OUTPUT, SITE.
cmake_minimum_required(VERSION 3.25)
get_filename_component(dir ${OUTPUT} DIRECTORY)
set(parts ${dir}/page_parts)
file(MAKE_DIRECTORY ${parts} ${SITE})
execute_process(COMMAND ${NODE} ${MARKUP} ${parts}/caption ${parts}/title ${parts}/style ${parts}/form
  COMMAND_ERROR_IS_FATAL ANY)
foreach(part caption title style form)
  file(READ ${parts}/${part} ${part})
endforeach()
execute_process(COMMAND ${CONVERT} ${ICON} png:- COMMAND base64 -w0
  OUTPUT_VARIABLE icon COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND base64 -w0 ${PROGRAM} OUTPUT_VARIABLE program COMMAND_ERROR_IS_FATAL ANY)

# The style and the script exactly as the page holds them, for their hashes.
file(READ ${CSS} css)
file(WRITE ${parts}/style.css "${css}${style}")
file(READ ${SCRIPT} script)
# Nothing in the script may end the script element early.
string(REPLACE "</script" "<\\/script" script "${script}")
file(WRITE ${parts}/script.js "${script}")
function(sha256 file var)
  execute_process(COMMAND ${NODE} -e "process.stdout.write(require('crypto').createHash('sha256')
    .update(require('fs').readFileSync(process.argv[1])).digest('base64'))" ${file}
    OUTPUT_VARIABLE hash COMMAND_ERROR_IS_FATAL ANY)
  set(${var} "'sha256-${hash}'" PARENT_SCOPE)
endfunction()
sha256(${parts}/script.js script_hash)
sha256(${parts}/style.css style_hash)

# The page fetches nothing and connects nowhere: its script, style and icon
# are in it; the site's copy also names its manifest, its icons and its
# service worker.
set(policy "default-src 'none'; script-src ${script_hash} 'wasm-unsafe-eval'; style-src ${style_hash}; img-src data: 'self'; manifest-src 'self'; worker-src 'self'; base-uri 'none'")
# What a host's header needs to let the page run without 'unsafe-inline'.
set(header "Content-Security-Policy: default-src 'self'; script-src ${script_hash} 'wasm-unsafe-eval'; style-src ${style_hash}; img-src 'self' data:")
file(WRITE ${dir}/content-security-policy.txt "${header}\n")
message(STATUS "A web server's header for the page:\n  ${header}")

file(READ ${TEMPLATE} page)
foreach(name POLICY TITLE ICON FORM PROGRAM)
  string(TOLOWER ${name} var)
  string(REPLACE "@${name}@" "${${var}}" page "${page}")
endforeach()
string(REPLACE "@STYLE@" "${css}${style}" page "${page}")
# Last: the script's text is not searched for the placeholders.
string(FIND "${page}" "@SCRIPT@" at)
string(SUBSTRING "${page}" 0 ${at} head)
math(EXPR at "${at} + 8")
string(SUBSTRING "${page}" ${at} -1 tail)
string(REPLACE "@MANIFEST@" "" single "${head}")
string(REPLACE "@MANIFEST@" "\n<link rel=\"manifest\" href=\"manifest.webmanifest\">" site "${head}")
file(WRITE ${OUTPUT}.part "${single}${script}${tail}")
file(RENAME ${OUTPUT}.part ${OUTPUT})
file(WRITE ${SITE}/index.html "${site}${script}${tail}")

# The manifest of an installable page: the window's caption, its icon, on its
# own as the desktop's window, in Bulgarian.
set(manifest "{}")
string(REPLACE "\\" "\\\\" name "${caption}")
string(REPLACE "\"" "\\\"" name "${name}")
string(JSON manifest SET "${manifest}" name "\"${name}\"")
string(JSON manifest SET "${manifest}" lang "\"bg\"")
string(JSON manifest SET "${manifest}" start_url "\"./\"")
string(JSON manifest SET "${manifest}" scope "\"./\"")
string(JSON manifest SET "${manifest}" display "\"standalone\"")
string(JSON manifest SET "${manifest}" background_color "\"#ffffff\"")
string(JSON manifest SET "${manifest}" icons "[]")
set(i 0)
foreach(size 192 512)
  # Each pixel of the 32 x 32 drawing a square of pixels, as drawn.
  execute_process(COMMAND ${CONVERT} ${ICON} -sample ${size}x${size} ${SITE}/icon-${size}.png COMMAND_ERROR_IS_FATAL ANY)
  string(JSON manifest SET "${manifest}" icons ${i}
    "{\"src\": \"icon-${size}.png\", \"sizes\": \"${size}x${size}\", \"type\": \"image/png\"}")
  math(EXPR i "${i} + 1")
endforeach()
file(WRITE ${SITE}/manifest.webmanifest "${manifest}\n")
# The worker's cache is named by the page's script, so that a new page
# replaces the old one.
file(READ ${WORKER} worker)
string(SHA256 version "${site}${script}")
string(SUBSTRING ${version} 0 16 version)
string(REPLACE "@VERSION@" "${version}" worker "${worker}")
file(WRITE ${SITE}/service-worker.js "${worker}")
