# The program's icons, made at build time from the one drawing
# (app/icon/bottles.xpm) by ImageMagick and icoutils: PNGs for the Linux
# desktop, scaled by whole multiples so that every pixel stays a sharp square,
# and the .ico of the Windows resources, 16, 32 and 48 pixels square in 256
# colours with a mask.
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

# The .ico: the 32 x 32 drawing, and 16 x 16 (its 2 x 2 squares averaged)
# and 48 x 48 (nearest pixel) beside it for the small caption icon and large
# views; icotool keeps 8 bits a pixel with a palette where an image has at
# most 256 colours (not the averaged 16 x 16), and makes the transparency
# masks from the clear pixels.
function(bottles_icon_ico out)
  find_program(BOTTLES_ICOTOOL icotool REQUIRED)
  get_filename_component(dir ${out} DIRECTORY)
  bottles_icon_png(${dir}/bottles-32.png 32)
  add_custom_command(OUTPUT ${dir}/ico-16.png ${dir}/ico-48.png
    COMMAND ${BOTTLES_CONVERT} ${bottles_icon_xpm} -scale 16x16 png32:${dir}/ico-16.png
    COMMAND ${BOTTLES_CONVERT} ${bottles_icon_xpm} -sample 48x48 png32:${dir}/ico-48.png
    DEPENDS ${bottles_icon_xpm}
    COMMENT "Drawing the 16x16 and 48x48 icons of bottles.ico"
    VERBATIM)
  add_custom_command(OUTPUT ${out}
    COMMAND ${BOTTLES_ICOTOOL} --create --bit-depth=8 --output=${out}
            ${dir}/ico-16.png ${dir}/bottles-32.png ${dir}/ico-48.png
    DEPENDS ${dir}/bottles-32.png ${dir}/ico-16.png ${dir}/ico-48.png
    COMMENT "Making bottles.ico"
    VERBATIM)
endfunction()
