# The program's icons, made at build time from the one drawing
# (app/icon/bottles.xpm) by ImageMagick and icoutils: PNGs for the Linux
# desktop, scaled by whole multiples so that every pixel stays a sharp square,
# and the .ico of the Windows resources.
find_program(BOTTLES_CONVERT convert REQUIRED)
set(bottles_icon_xpm ${PROJECT_SOURCE_DIR}/app/icon/bottles.xpm)

# An RGBA PNG of size x size pixels; -sample scales by nearest neighbour.
function(bottles_icon_png out size)
  get_filename_component(dir ${out} DIRECTORY)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND ${BOTTLES_CONVERT} ${bottles_icon_xpm} -sample ${size}x${size} png32:${out}
    DEPENDS ${bottles_icon_xpm}
    COMMENT "Drawing the ${size}x${size} icon from bottles.xpm"
    VERBATIM)
endfunction()

# The .ico, for every size Windows asks for at 100 % to 200 %: 16, 20, 24,
# 32, 40, 48 and 64 pixels in 16 colours with a mask, as Windows XP draws
# them (the drawing has 15 colours and a clear one), and 256 pixels as a PNG,
# which Windows Vista and later read for their large views (XP passes it by).
# Whole multiples of the 32 x 32 drawing take its pixels (-sample), the rest
# are smoothed (16 x 16 averages its 2 x 2 squares) and brought back to 15
# colours and a clear-or-opaque alpha, so that they too keep the small
# palette; icotool makes the masks from the clear pixels and stores the --raw
# image as it stands. 16 colours and the PNG's strongest compression keep
# bottles.exe under its size budget.
function(bottles_icon_ico out)
  find_program(BOTTLES_ICOTOOL icotool REQUIRED)
  get_filename_component(dir ${out} DIRECTORY)
  set(images)
  foreach(size 16 20 24 32 40 48 64 256)
    set(png ${dir}/ico-${size}.png)
    if(size EQUAL 16)
      set(how -scale 16x16)
    elseif(size EQUAL 32 OR size EQUAL 64 OR size EQUAL 256)
      set(how -sample ${size}x${size})
    else()
      set(how -resize ${size}x${size})
    endif()
    if(size EQUAL 256)
      set(palette -define png:compression-level=9 -define png:compression-filter=0)
      list(APPEND images --raw=${png})
    else()
      set(palette -channel A -threshold 50% +channel +dither -colors 15)
      list(APPEND images ${png})
    endif()
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
      COMMAND ${BOTTLES_CONVERT} ${bottles_icon_xpm} ${how} ${palette} png32:${png}
      DEPENDS ${bottles_icon_xpm}
      COMMENT "Drawing the ${size}x${size} image of bottles.ico"
      VERBATIM)
    list(APPEND pngs ${png})
  endforeach()
  add_custom_command(OUTPUT ${out}
    COMMAND ${BOTTLES_ICOTOOL} --create --bit-depth=4 --output=${out} ${images}
    DEPENDS ${pngs}
    COMMENT "Making bottles.ico"
    VERBATIM)
endfunction()
